#include "document/ColormapTables.h"

#include "document/CmpFormat.h"
#include "document/NearestColorSearch.h"

#include <algorithm>

namespace colormap_tables {

namespace {

constexpr int kSize = 256;
constexpr int kLevels = cmp_format::kLightLevelCount;
constexpr int kFixed = cmp_format::kFixedIndexCount;

// With more changed entries than this the tables are computed afresh: every
// answer kept is measured against each changed entry, and beyond a few dozen
// entries that costs more than the search itself.
constexpr int kUpdateAtMost = 32;

// Component value v at light level L becomes v × (L × the nearest double to
// 1/63), truncated: the same for every palette, so worked out once.
using ScaledComponents = std::array<std::array<std::uint8_t, 256>, kLevels>;

const ScaledComponents& Scaled()
{
    static const ScaledComponents scaled = [] {
        ScaledComponents table{};
        for (int level = 0; level < kLevels; ++level) {
            const double scale = level * cmp_format::kLevelStep;
            for (int value = 0; value < 256; ++value)
                table[level][value] = static_cast<std::uint8_t>(static_cast<int>(value * scale));
        }
        return table;
    }();
    return scaled;
}

ColorTriple Darkened(const ScaledComponents& scaled, int level, const ColorTriple& entry)
{
    const std::array<std::uint8_t, 256>& row = scaled[level];
    return ColorTriple(row[entry.red], row[entry.green], row[entry.blue]);
}

ColorTriple Mix(const ColorTriple& first, const ColorTriple& second)
{
    return ColorTriple(static_cast<std::uint8_t>((first.red + second.red) >> 1),
                       static_cast<std::uint8_t>((first.green + second.green) >> 1),
                       static_cast<std::uint8_t>((first.blue + second.blue) >> 1));
}

// The colours looked up, their answers and where the answers go, kept from
// one computation to the next: fresh memory of this size would come from
// the system a page at a time every time, which costs about as much as the
// lookups themselves.
struct Lookups {
    std::vector<ColorTriple> colours;
    std::vector<std::uint8_t> nearest;
    std::vector<std::uint32_t> places;
};

Lookups& ThreadLookups()
{
    thread_local Lookups lookups;
    return lookups;
}

int CountChanged(const Palette& before, const Palette& after)
{
    int count = 0;
    for (int i = 0; i < kSize; ++i)
        count += before[i] == after[i] ? 0 : 1;
    return count;
}

} // namespace

Tables Compute(const Palette& palette, bool withTransparency)
{
    Lookups& lookups = ThreadLookups();
    std::vector<ColorTriple>& colours = lookups.colours;
    const int levelColours = kLevels * (kSize - kFixed);
    const int mixes = withTransparency ? kSize * (kSize + 1) / 2 : 0;
    colours.clear();
    colours.reserve(static_cast<std::size_t>(levelColours + mixes));

    const ScaledComponents& scaled = Scaled();
    for (int level = 0; level < kLevels; ++level)
        for (int j = kFixed; j < kSize; ++j)
            colours.push_back(Darkened(scaled, level, palette[j]));
    if (withTransparency) {
        for (int a = 0; a < kSize; ++a)
            for (int b = a; b < kSize; ++b)
                colours.push_back(Mix(palette[a], palette[b]));
    }
    NearestColorSearch(palette).FindAll(colours, lookups.nearest);
    const std::uint8_t* nearest = lookups.nearest.data();

    Tables tables;
    tables.palette = palette;
    tables.lightLevels.reserve(kLightLevelBytes);
    for (int level = 0; level < kLevels; ++level) {
        for (int j = 0; j < kSize; ++j)
            tables.lightLevels.push_back(j < kFixed ? static_cast<std::uint8_t>(j) : *nearest++);
    }
    if (withTransparency) {
        tables.transparency.resize(kTransparencyBytes);
        for (int a = 0; a < kSize; ++a) {
            for (int b = a; b < kSize; ++b, ++nearest) {
                tables.transparency[a * kSize + b] = *nearest;
                tables.transparency[b * kSize + a] = *nearest;
            }
        }
    }
    return tables;
}

bool CanUpdate(const Tables& previous, const Palette& palette)
{
    return previous.lightLevels.size() == kLightLevelBytes &&
           CountChanged(previous.palette, palette) <= kUpdateAtMost;
}

Tables Update(const Tables& previous, const Palette& palette, bool withTransparency)
{
    if (!CanUpdate(previous, palette))
        return Compute(palette, withTransparency);

    std::array<bool, kSize> isChanged{};
    struct Entry {
        int red, green, blue, index;
    };
    std::vector<Entry> changed;
    for (int i = 0; i < kSize; ++i) {
        if (previous.palette[i] != palette[i]) {
            isChanged[i] = true;
            changed.push_back({palette[i].red, palette[i].green, palette[i].blue, i});
        }
    }

    Tables tables;
    tables.palette = palette;
    tables.lightLevels = previous.lightLevels;
    const bool keepMixes = withTransparency && previous.HasTransparency();
    if (keepMixes)
        tables.transparency = previous.transparency;
    else if (withTransparency)
        tables.transparency.resize(kTransparencyBytes);

    // The answer that was kept, unless a changed entry is nearer or as near
    // with a lower index. The unchanged entries cannot beat it: it was the
    // nearest of them all before, and they are where they were.
    auto nearestOfKeptAndChanged = [&changed, &palette](const ColorTriple& target, int kept) {
        int best = SquaredDistance(palette[kept], target) << 8 | kept;
        for (const Entry& entry : changed) {
            const int dr = entry.red - target.red, dg = entry.green - target.green,
                      db = entry.blue - target.blue;
            best = std::min(best, (dr * dr + dg * dg + db * db) << 8 | entry.index);
        }
        return static_cast<std::uint8_t>(best & 0xFF);
    };

    // What is looked up again: colours of changed entries, and colours whose
    // answer was a changed entry, since the nearest of the others is unknown.
    Lookups& lookups = ThreadLookups();
    lookups.colours.clear();
    lookups.places.clear();
    const ScaledComponents& scaled = Scaled();
    for (int level = 0; level < kLevels; ++level) {
        for (int j = kFixed; j < kSize; ++j) {
            const std::uint32_t place = static_cast<std::uint32_t>(level * kSize + j);
            const ColorTriple target = Darkened(scaled, level, palette[j]);
            const int kept = tables.lightLevels[place];
            if (isChanged[j] || isChanged[kept]) {
                lookups.colours.push_back(target);
                lookups.places.push_back(place);
            } else {
                tables.lightLevels[place] = nearestOfKeptAndChanged(target, kept);
            }
        }
    }
    const std::size_t levelLookups = lookups.colours.size();
    if (withTransparency) {
        for (int a = 0; a < kSize; ++a) {
            for (int b = a; b < kSize; ++b) {
                const std::uint32_t place = static_cast<std::uint32_t>(a * kSize + b);
                const ColorTriple target = Mix(palette[a], palette[b]);
                const int kept = tables.transparency[place];
                if (!keepMixes || isChanged[a] || isChanged[b] || isChanged[kept]) {
                    lookups.colours.push_back(target);
                    lookups.places.push_back(place);
                } else {
                    const std::uint8_t nearest = nearestOfKeptAndChanged(target, kept);
                    tables.transparency[place] = nearest;
                    tables.transparency[b * kSize + a] = nearest;
                }
            }
        }
    }
    if (lookups.colours.empty())
        return tables;

    NearestColorSearch(palette).FindAll(lookups.colours, lookups.nearest);
    for (std::size_t k = 0; k < levelLookups; ++k)
        tables.lightLevels[lookups.places[k]] = lookups.nearest[k];
    for (std::size_t k = levelLookups; k < lookups.colours.size(); ++k) {
        const std::uint32_t place = lookups.places[k];
        tables.transparency[place] = lookups.nearest[k];
        tables.transparency[place % kSize * kSize + place / kSize] = lookups.nearest[k];
    }
    return tables;
}

} // namespace colormap_tables
