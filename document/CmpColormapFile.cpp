// Reading and writing colormap files, and the tables computed from the palette.

#include "document/CPalvaneDoc.h"
#include "document/CmpFormat.h"
#include "document/PaletteChangeListener.h"
#include "framework/CArchive.h"
#include "framework/FileFormatException.h"
#include "framework/UserInterface.h"

#include <vector>

namespace {

// Compares a zero-terminated string with the magic, letter case of A to Z ignored.
bool IsColormapMagic(const char* text)
{
    auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    const char* magic = cmp_format::kMagic;
    while (*text != '\0' && lower(*text) == lower(*magic)) {
        ++text;
        ++magic;
    }
    return lower(*text) == lower(*magic);
}

} // namespace

void CPalvaneDoc::ReadColormap(CArchive& archive)
{
    char magic[5] = {};
    archive.Read(magic, 4);
    if (!IsColormapMagic(magic))
        throw FileFormatException(kNotACmpFile);
    // The version and the flags, of which bit 0 says that a transparency
    // table follows; a file may end anywhere in them.
    std::uint8_t versionAndFlags[8] = {};
    archive.Read(versionAndFlags, sizeof versionAndFlags);
    archive.SeekFromStart(cmp_format::kPaletteOffset);
    for (ColorTriple& entry : m_palette) {
        entry.red = archive.ReadByte();
        entry.green = archive.ReadByte();
        entry.blue = archive.ReadByte();
    }
    m_tables.ReadStored(archive, m_palette, (versionAndFlags[4] & 1) != 0);
}

void CPalvaneDoc::WriteColormap(CArchive& archive)
{
    const bool transparency =
        AfxMessageBox(kTransparencyQuestion, MB_YESNO | MB_ICONQUESTION) == IDYES;
    m_tables.SetTransparencyAnswer(transparency ? IDYES : IDNO);
    WriteHeaderAndPalette(archive, transparency);
    const DocumentTables::TablesPtr tables = m_tables.Maker()->Make(m_palette, transparency);
    archive.Write(tables->lightLevels.data(), tables->lightLevels.size());
    if (transparency)
        archive.Write(tables->transparency.data(), tables->transparency.size());
    m_tables.Wrote(tables, transparency);
}

bool CPalvaneDoc::OnSaveDocument(const std::string& path)
{
    if (!ConfirmReplacingForeignTables())
        return false;
    const bool saved = CDocument::OnSaveDocument(path);
    m_tables.SaveEnded(saved);
    if (saved && m_pChangeListener != nullptr)
        m_pChangeListener->OnPaletteSaved(*this);
    return saved;
}

bool CPalvaneDoc::ConfirmReplacingForeignTables()
{
    if (m_tables.ReplaceConfirmed() || !m_tables.StoredAreForeign())
        return true;
    if (AfxMessageBox(kReplaceForeignTablesQuestion, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) !=
        IDYES)
        return false;
    m_tables.ConfirmReplace();
    return true;
}

void CPalvaneDoc::WriteHeaderAndPalette(CArchive& archive, bool withTransparency) const
{
    archive.Write(cmp_format::kMagic, 4);
    archive.WriteInt32(cmp_format::kVersion);
    archive.WriteInt32(withTransparency ? 1 : 0);
    const std::uint8_t reserved[cmp_format::kReservedSize] = {};
    archive.Write(reserved, sizeof reserved);
    for (const ColorTriple& entry : m_palette) {
        archive.WriteByte(entry.red);
        archive.WriteByte(entry.green);
        archive.WriteByte(entry.blue);
    }
}

int CPalvaneDoc::FindNearestColor(const ColorTriple& color) const
{
    int best = 0;
    int bestDistance = SquaredDistance(m_palette[0], color);
    for (int i = 1; i < kPaletteSize; ++i) {
        const int distance = SquaredDistance(m_palette[i], color);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void CPalvaneDoc::WriteLightLevelTables(CArchive& archive) const
{
    const DocumentTables::TablesPtr tables = m_tables.Maker()->Make(m_palette, false);
    archive.Write(tables->lightLevels.data(), tables->lightLevels.size());
}

void CPalvaneDoc::WriteTransparencyTable(CArchive& archive) const
{
    const DocumentTables::TablesPtr tables = m_tables.Maker()->Make(m_palette, true);
    archive.Write(tables->transparency.data(), tables->transparency.size());
}
