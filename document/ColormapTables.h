#pragma once

#include "document/ColorTriple.h"

#include <array>
#include <cstdint>
#include <vector>

class NearestColorSearch;

// The lookup tables a colormap file stores after its palette, computed from
// the palette, each byte the nearest palette index to a colour derived from it.
namespace colormap_tables {

using Palette = std::array<ColorTriple, 256>;

// 64 tables of 256 indices, darkest first: entry j of level L is the index
// nearest to entry j's colour scaled by L × the nearest double to 1/63; entries
// below 32 map to themselves.
std::vector<std::uint8_t> LightLevels(const Palette& palette, NearestColorSearch& search);

// 256 rows of 256 indices: row a, column b is the index nearest to the even
// mix of entries a and b (each component summed and halved, rounding down).
// The mix does not depend on the order of a and b, so each pair is looked up
// once and the table filled on both sides of the diagonal.
std::vector<std::uint8_t> Transparency(const Palette& palette, NearestColorSearch& search);

} // namespace colormap_tables
