// CPalvaneDoc's texture import command. It lives beside the model reader it
// drives rather than with the colormap code.
#include "opt/XwaTextureImport.h"

#include "document/CPalvaneDoc.h"
#include "framework/CFile.h"
#include "framework/CFileDialog.h"
#include "framework/CommandErrors.h"
#include "framework/FrameworkMessages.h"
#include "opt/COptReader.h"
#include "opt/CSelectTextureDlg.h"
#include "opt/OptColor.h"

#include <array>
#include <cstdint>
#include <new>

bool xwa_import::ReadModel(COptReader& reader, const std::string& path, COptReader::Scope scope)
{
    reader.m_nBase = 0;
    reader.m_nChoice = 0;
    reader.m_nLevelCount = 1;
    reader.m_nPaletteBias = kPaletteBias;
    try {
        if (reader.Read(path, scope))
            return true;
    } catch (const CFileException& error) {
        AfxReportCommandError(error);
        return false;
    } catch (const std::bad_alloc&) {
        // A model can claim more data than this machine can hold at once.
        AfxMessageBox(framework_messages::kOutOfMemory, MB_ICONEXCLAMATION);
        return false;
    }
    AfxMessageBox(kUnableToRead, MB_OK);
    return false;
}

void CPalvaneDoc::OnFileImportXwa()
{
    CFileDialog fileDialog(true, xwa_import::kDefaultExtension, nullptr,
                           OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, xwa_import::kFilter);
    if (fileDialog.DoModal() != IDOK)
        return;
    const std::string path = fileDialog.GetPathName();

    COptReader reader;
    if (!xwa_import::ReadModel(reader, path, COptReader::Scope::textureList))
        return;

    CSelectTextureDlg dialog;
    for (const OptTexture& texture : reader.m_textures)
        dialog.m_textureNames.push_back(texture.name);
    if (dialog.DoModal() != IDOK)
        return;
    // A model without textures lists none, so OK names nothing to import.
    const int selected = dialog.m_nSelected;
    if (selected < 0 || static_cast<std::size_t>(selected) >= reader.m_textures.size())
        return;

    // The palette is read again from the file itself, all of it before any
    // entry changes, so a palette past the end of the file changes nothing.
    std::array<std::uint8_t, 2 * kPaletteSize> colors;
    try {
        CFile file(path, CFile::modeRead | CFile::shareDenyNone);
        const std::int64_t palettePos =
            std::int64_t{reader.m_textures[static_cast<std::size_t>(selected)].palettePos} +
            reader.m_nPaletteBias;
        file.Seek(palettePos, CFile::begin);
        if (file.Read(colors.data(), colors.size()) != colors.size())
            throw CFileException(CFileException::endOfFile, -1, path);
        file.Abort(); // the palette is read: a failing close loses nothing
    } catch (const CException& error) {
        AfxReportCommandError(error);
        return;
    }
    for (std::size_t j = 0; j < m_palette.size(); ++j)
        m_palette[j] = ConvertOptColor(colors.data() + 2 * j);
    NotifyPaletteChanged("Import X-Wing Alliance Texture");
}
