// Reading and writing colormap files, and the tables computed from the palette.

#include "document/CPalvaneDoc.h"
#include "document/CmpFormat.h"
#include "framework/CArchive.h"
#include "framework/UserInterface.h"

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

std::uint8_t ScaleComponent(std::uint8_t value, double scale)
{
    return static_cast<std::uint8_t>(static_cast<int>(value * scale));
}

} // namespace

void CPalvaneDoc::ReadColormap(CArchive& archive)
{
    char magic[5] = {};
    archive.Read(magic, 4);
    if (!IsColormapMagic(magic)) {
        AfxMessageBox(kNotACmpFile, MB_OK);
        return;
    }
    archive.SeekFromStart(cmp_format::kPaletteOffset);
    for (ColorTriple& entry : m_palette) {
        entry.red = archive.ReadByte();
        entry.green = archive.ReadByte();
        entry.blue = archive.ReadByte();
    }
}

void CPalvaneDoc::WriteColormap(CArchive& archive) const
{
    const bool transparency =
        AfxMessageBox(kTransparencyQuestion, MB_YESNO | MB_ICONQUESTION) == IDYES;
    archive.Write(cmp_format::kMagic, 4);
    archive.WriteInt32(cmp_format::kVersion);
    archive.WriteInt32(transparency ? 1 : 0);
    const std::uint8_t reserved[cmp_format::kReservedSize] = {};
    archive.Write(reserved, sizeof reserved);
    for (const ColorTriple& entry : m_palette) {
        archive.WriteByte(entry.red);
        archive.WriteByte(entry.green);
        archive.WriteByte(entry.blue);
    }
    WriteLightLevelTables(archive);
    if (transparency)
        WriteTransparencyTable(archive);
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
    for (int level = 0; level < cmp_format::kLightLevelCount; ++level) {
        const double scale = level * cmp_format::kLevelStep;
        for (int j = 0; j < kPaletteSize; ++j) {
            if (j < cmp_format::kFixedIndexCount) {
                archive.WriteByte(static_cast<std::uint8_t>(j));
                continue;
            }
            const ColorTriple& entry = m_palette[j];
            const ColorTriple darkened(ScaleComponent(entry.red, scale),
                                       ScaleComponent(entry.green, scale),
                                       ScaleComponent(entry.blue, scale));
            archive.WriteByte(static_cast<std::uint8_t>(FindNearestColor(darkened)));
        }
    }
}

void CPalvaneDoc::WriteTransparencyTable(CArchive& archive) const
{
    for (int a = 0; a < kPaletteSize; ++a) {
        for (int b = 0; b < kPaletteSize; ++b) {
            const ColorTriple& first = m_palette[a];
            const ColorTriple& second = m_palette[b];
            const ColorTriple mix(static_cast<std::uint8_t>((first.red + second.red) >> 1),
                                  static_cast<std::uint8_t>((first.green + second.green) >> 1),
                                  static_cast<std::uint8_t>((first.blue + second.blue) >> 1));
            archive.WriteByte(static_cast<std::uint8_t>(FindNearestColor(mix)));
        }
    }
}
