#include "cli/OptSteps.h"

#include "cli/CliArguments.h"
#include "cli/OptJson.h"
#include "document/CPalvaneDoc.h"
#include "framework/ScriptedUserInterface.h"
#include "opt/COptReader.h"
#include "opt/XwaTextureImport.h"

#include <ostream>

bool RunImportOptStep(CPalvaneDoc& document, ScriptedUserInterface& ui, const CliStep& step)
{
    const std::size_t askedBefore = ui.Asked().size();
    ui.QueueFile(step.file);
    ui.QueueTexture(step.textureRow);
    document.OnFileImportXwa();
    for (std::size_t i = askedBefore; i < ui.Asked().size(); ++i) {
        const std::vector<std::string>& rows = ui.Asked()[i].textureNames;
        if (ui.Asked()[i].kind == ScriptedUserInterface::Kind::texture &&
            static_cast<std::size_t>(step.textureRow) >= rows.size()) {
            ui.ShowMessageBox(step.file + " has no texture row " + std::to_string(step.textureRow) +
                                  " (it has " + std::to_string(rows.size()) + ")",
                              MB_OK);
            return false;
        }
    }
    return true;
}

bool RunOptInfoStep(const std::string& path, std::ostream& out)
{
    COptReader reader;
    if (!xwa_import::ReadModel(reader, path, COptReader::Scope::everything))
        return false;
    WriteOptReaderJson(reader, out);
    out << '\n';
    return true;
}
