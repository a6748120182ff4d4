// Writes the bundled sample colormap: make-sample-colormap OUTPUT.cmp

#include "document/CPalvaneDoc.h"
#include "framework/ScriptedUserInterface.h"
#include "tools/SamplePalette.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make-sample-colormap OUTPUT.cmp\n";
        return 2;
    }
    ScriptedUserInterface ui;
    ui.SetStandingAnswer(CPalvaneDoc::kTransparencyQuestion, IDYES);
    const ScopedUserInterface installed(ui);
    CPalvaneDoc document;
    document.m_palette = MakeSamplePalette();
    if (!document.OnSaveDocument(argv[1])) {
        for (const std::string& message : ui.MessagesShown())
            std::cerr << "make-sample-colormap: " << message << '\n';
        return 1;
    }
    return 0;
}
