#include "cli/PictureSteps.h"

#include "cli/CliArguments.h"
#include "cli/PngPicture.h"
#include "document/CPalvaneDoc.h"
#include "document/TablePictures.h"
#include "framework/AtomicReplaceFile.h"
#include "framework/CFileException.h"
#include "framework/UserInterface.h"

namespace {

// A grid cell of the picture is this many pixels wide and high.
constexpr int kGridCellSize = 16;

RgbPicture PictureFor(const CPalvaneDoc& document, const CliStep& step)
{
    const bool translucency = step.kind == CliStep::Kind::renderTranslucency;
    const DocumentTables::TablesPtr tables =
        document.GetTables().Maker()->Make(document.m_palette, translucency);
    switch (step.kind) {
    case CliStep::Kind::renderTranslucency:
        return table_pictures::Translucency(tables->palette, tables->transparency);
    case CliStep::Kind::renderGrid:
        return table_pictures::GridAtLevel(tables->palette, tables->lightLevels, step.level,
                                           kGridCellSize);
    default:
        return table_pictures::LightLevels(tables->palette, tables->lightLevels);
    }
}

} // namespace

bool RunRenderStep(const CPalvaneDoc& document, const CliStep& step)
{
    const std::vector<std::uint8_t> png = EncodePng(PictureFor(document, step));
    if (png.empty()) {
        AfxMessageBox(step.file + ": the picture could not be encoded as PNG");
        return false;
    }
    try {
        AtomicReplaceFile file;
        CFileException error;
        if (!file.Open(step.file, CFile::modeCreate | CFile::modeWrite, &error))
            throw error;
        file.Write(png.data(), png.size());
        file.Close();
    } catch (const CFileException& error) {
        CFileException named = error;
        if (named.m_strFileName.empty())
            named.m_strFileName = step.file;
        std::string message;
        named.GetErrorMessage(message);
        AfxMessageBox(message);
        return false;
    }
    return true;
}
