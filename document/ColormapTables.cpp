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

Lookups& ReusedLookups()
{
    thread_local Lookups lookups;
    lookups.colours.clear();
    return lookups;
}

} // namespace

std::vector<std::uint8_t> LightLevels(const Palette& palette, NearestColorSearch& search)
{
    const int size = static_cast<int>(palette.size());
    const int remapped = size - cmp_format::kFixedIndexCount;
    Lookups& lookups = ReusedLookups();
    std::vector<ColorTriple>& darkened = lookups.colours;
    for (int level = 0; level < cmp_format::kLightLevelCount; ++level) {
        const double scale = level * cmp_format::kLevelStep;
        for (int j = cmp_format::kFixedIndexCount; j < size; ++j) {
            const ColorTriple& entry = palette[j];
            darkened.emplace_back(ScaleComponent(entry.red, scale),
                                  ScaleComponent(entry.green, scale),
                                  ScaleComponent(entry.blue, scale));
        }
    }
    const std::vector<std::uint8_t>& nearest = lookups.nearest;
    search.FindAll(darkened, lookups.nearest);

    std::vector<std::uint8_t> tables;
    tables.reserve(static_cast<std::size_t>(cmp_format::kLightLevelCount) * size);
    for (int level = 0; level < cmp_format::kLightLevelCount; ++level) {
        for (int j = 0; j < cmp_format::kFixedIndexCount; ++j)
            tables.push_back(static_cast<std::uint8_t>(j));
        const auto first = nearest.begin() + static_cast<std::ptrdiff_t>(level) * remapped;
        tables.insert(tables.end(), first, first + remapped);
    }
    return tables;
}

std::vector<std::uint8_t> Transparency(const Palette& palette, NearestColorSearch& search)
{
    const int size = static_cast<int>(palette.size());
    Lookups& lookups = ReusedLookups();
    std::vector<ColorTriple>& mixes = lookups.colours;
    for (int a = 0; a < size; ++a) {
        for (int b = a; b < size; ++b) {
            const ColorTriple& first = palette[a];
            const ColorTriple& second = palette[b];
            mixes.emplace_back(static_cast<std::uint8_t>((first.red + second.red) >> 1),
                               static_cast<std::uint8_t>((first.green + second.green) >> 1),
                               static_cast<std::uint8_t>((first.blue + second.blue) >> 1));
        }
    }
    const std::vector<std::uint8_t>& nearest = lookups.nearest;
    search.FindAll(mixes, lookups.nearest);

    std::vector<std::uint8_t> table(static_cast<std::size_t>(size) * size);
    std::size_t k = 0;
    for (int a = 0; a < size; ++a) {
        for (int b = a; b < size; ++b, ++k) {
            table[a * size + b] = nearest[k];
            table[b * size + a] = nearest[k];
        }
    }
    return table;
}

} // namespace colormap_tables
