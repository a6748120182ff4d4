#pragma once

#include "cli/CliArguments.h"
#include "document/CPalvaneDoc.h"
#include "framework/CDocTemplate.h"
#include "framework/ScriptedUserInterface.h"

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

// Runs palvane-cli's steps on one document, answering the document's
// questions from the arguments. A step fails when its command fails or when
// it shows a message (a question answered from the arguments is not one).
class CliSession {
public:
    CliSession(std::ostream& out, std::ostream& err);

    // Runs the steps in order and stops at the first that fails, printing
    // its messages. Returns the exit status: 0, or 1 after a failure.
    int Run(const std::vector<CliStep>& steps);

private:
    bool RunStep(const CliStep& step);
    // Selects the step's run as a click and a Shift-click would.
    void SelectRun(const CliStep& step);
    bool NewDocument();
    bool OpenDocument(const std::string& path);
    // Imports a file that does not look like a Dark Forces palette all the
    // same, with a warning that names it as given.
    bool ImportDarkForcesPalette(const std::string& path);
    // Runs a palette file import or export; prints what it reports, as a
    // warning for an export. An error is shown as the editor shows it.
    bool ImportPaletteFile(const std::string& path);
    bool ExportPaletteFile(const std::string& path, CliStep::Kind kind);
    // Saves, telling when the save replaced tables that were not made from
    // the palette, or why it did not.
    bool SaveDocument(const std::string& path);

    std::ostream& m_out;
    std::ostream& m_err;
    ScriptedUserInterface m_ui;
    CDocTemplate m_docTemplate;
    std::unique_ptr<CPalvaneDoc> m_document;
    // The step that failed has said why.
    bool m_bFailureTold = false;
};

// palvane-cli's whole run: parses the arguments, then runs them. Returns the
// exit status: 0 success, 1 a step failed, 2 a usage error.
int RunPalvaneCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
