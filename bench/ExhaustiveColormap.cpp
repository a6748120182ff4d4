#include "bench/ExhaustiveColormap.h"

#include "document/CmpFormat.h"
#include "framework/CArchive.h"

std::vector<std::uint8_t> ExhaustiveTables(const CPalvaneDoc& document, bool withTransparency)
{
    std::vector<std::uint8_t> out;
    out.reserve(64 * 256 + 65536);
    const auto& pal = document.m_palette;
    for (int level = 0; level < 64; ++level) {
        const double s = level * cmp_format::kLevelStep;
        for (int j = 0; j < 256; ++j) {
            const ColorTriple& c = pal[j];
            const ColorTriple darkened(static_cast<std::uint8_t>(static_cast<int>(c.red * s)),
                                       static_cast<std::uint8_t>(static_cast<int>(c.green * s)),
                                       static_cast<std::uint8_t>(static_cast<int>(c.blue * s)));
            out.push_back(
                static_cast<std::uint8_t>(j < 32 ? j : document.FindNearestColor(darkened)));
        }
    }
    if (!withTransparency)
        return out;
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b)
            out.push_back(static_cast<std::uint8_t>(document.FindNearestColor(
                ColorTriple(static_cast<std::uint8_t>((pal[a].red + pal[b].red) >> 1),
                            static_cast<std::uint8_t>((pal[a].green + pal[b].green) >> 1),
                            static_cast<std::uint8_t>((pal[a].blue + pal[b].blue) >> 1)))));
    return out;
}

void ExhaustiveSaveDoc::Serialize(CArchive& archive)
{
    if (archive.IsLoading()) {
        CPalvaneDoc::Serialize(archive);
        return;
    }
    WriteHeaderAndPalette(archive, m_withTransparency);
    const std::vector<std::uint8_t> tables = ExhaustiveTables(*this, m_withTransparency);
    archive.Write(tables.data(), tables.size());
}
