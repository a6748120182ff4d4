#include "document/ColormapTables.h"

#include "document/CmpFormat.h"
#include "document/NearestColorSearch.h"

namespace colormap_tables {

namespace {

std::uint8_t ScaleComponent(std::uint8_t value, double scale)
{
    return static_cast<std::uint8_t>(static_cast<int>(value * scale));
}

// The colours looked up and their answers, kept from one save to the next:
// fresh memory of this size would come from the system a page at a time on
// every save, which costs about as much as the lookups themselves.
struct Lookups {
    std::vector<ColorTriple> colours;
    std::vector<std::uint8_t> nearest;
};

} // namespace

Tables Compute(const Palette& palette, bool withTransparency)
{
    thread_local Lookups lookups;
    std::vector<ColorTriple>& colours = lookups.colours;
    const int size = static_cast<int>(palette.size());
    const int levelColours = cmp_format::kLightLevelCount * (size - cmp_format::kFixedIndexCount);
    const int mixes = withTransparency ? size * (size + 1) / 2 : 0;
    colours.clear();
    colours.reserve(static_cast<std::size_t>(levelColours + mixes));

    for (int level = 0; level < cmp_format::kLightLevelCount; ++level) {
        const double scale = level * cmp_format::kLevelStep;
        for (int j = cmp_format::kFixedIndexCount; j < size; ++j) {
            const ColorTriple& entry = palette[j];
            colours.emplace_back(ScaleComponent(entry.red, scale),
                                 ScaleComponent(entry.green, scale),
                                 ScaleComponent(entry.blue, scale));
        }
    }
    if (withTransparency) {
        for (int a = 0; a < size; ++a) {
            for (int b = a; b < size; ++b) {
                const ColorTriple& first = palette[a];
                const ColorTriple& second = palette[b];
                colours.emplace_back(static_cast<std::uint8_t>((first.red + second.red) >> 1),
                                     static_cast<std::uint8_t>((first.green + second.green) >> 1),
                                     static_cast<std::uint8_t>((first.blue + second.blue) >> 1));
            }
        }
    }
    NearestColorSearch(palette).FindAll(colours, lookups.nearest);
    const std::uint8_t* nearest = lookups.nearest.data();

    Tables tables;
    tables.lightLevels.reserve(static_cast<std::size_t>(cmp_format::kLightLevelCount) * size);
    for (int level = 0; level < cmp_format::kLightLevelCount; ++level) {
        for (int j = 0; j < size; ++j)
            tables.lightLevels.push_back(
                j < cmp_format::kFixedIndexCount ? static_cast<std::uint8_t>(j) : *nearest++);
    }
    if (withTransparency) {
        tables.transparency.resize(static_cast<std::size_t>(size) * size);
        for (int a = 0; a < size; ++a) {
            for (int b = a; b < size; ++b, ++nearest) {
                tables.transparency[a * size + b] = *nearest;
                tables.transparency[b * size + a] = *nearest;
            }
        }
    }
    return tables;
}

} // namespace colormap_tables
