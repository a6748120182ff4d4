#pragma once

#include "document/ColorTriple.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// The lookup tables a colormap file stores after its palette, computed from
// the palette; each byte is the index of the palette entry nearest to a
// colour derived from the palette.
namespace colormap_tables {

using Palette = std::array<ColorTriple, 256>;

inline constexpr std::size_t kLightLevelBytes = 64 * 256;
inline constexpr std::size_t kTransparencyBytes = 256 * 256;

struct Tables {
    // The palette the tables were made from.
    Palette palette{};
    // 64 tables of 256 indices, darkest first: entry j of level L is the
    // index nearest to entry j's colour scaled by L × the nearest double to
    // 1/63; entries below 32 map to themselves.
    std::vector<std::uint8_t> lightLevels;
    // 256 rows of 256 indices: row a, column b is the index nearest to the
    // even mix of entries a and b (each component summed and halved, rounding
    // down). Empty unless asked for.
    std::vector<std::uint8_t> transparency;

    bool HasTransparency() const { return transparency.size() == kTransparencyBytes; }
};

// All the colours of both tables are looked up in one batch, each unordered
// pair of entries once, since their mix does not depend on the order.
Tables Compute(const Palette& palette, bool withTransparency);

// Whether Update makes the tables of `palette` from `previous` by looking up
// only what the changed entries touch (few entries changed), rather than
// computing them afresh.
bool CanUpdate(const Tables& previous, const Palette& palette);

// The tables of `palette`, made from those of another palette: the same
// bytes Compute gives. A colour looked up before keeps its answer unless its
// own entry changed, the entry that answered it changed, or a changed entry
// is now at least as near (and wins the tie); only the first two are looked
// up again, the last is found by measuring the changed entries alone.
Tables Update(const Tables& previous, const Palette& palette, bool withTransparency);

} // namespace colormap_tables
