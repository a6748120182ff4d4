#pragma once

#include <bit>
#include <cstdint>

// The layout of a Jedi Knight colormap file; integers are little-endian.
//   0     4  magic "CMP "
//   4     4  version, 30
//   8     4  1 when a transparency table follows, else 0
//   12   52  reserved, zero
//   64  768  palette: red, green, blue for entries 0 to 255
//   832 16384 light levels: 64 tables of 256 indices, darkest first
//   17216 65536 transparency: 256 rows of 256 indices (optional)
// A file is 17216 bytes long without the transparency table, 82752 with it.
namespace cmp_format {

inline constexpr char kMagic[] = "CMP "; // compared without letter case
inline constexpr std::int32_t kVersion = 30;
inline constexpr int kReservedSize = 52;
inline constexpr int kPaletteOffset = 64;
inline constexpr int kLightLevelCount = 64;

// Indices below this map to themselves at every light level.
inline constexpr int kFixedIndexCount = 32;

// The double nearest to 1/63. A level's scale is level × this, never level / 63:
// the two differ in the last bit at several levels, and so do the bytes.
inline constexpr double kLevelStep = std::bit_cast<double>(std::uint64_t{0x3F90410410410410});
static_assert(kLevelStep == 1.0 / 63.0);

} // namespace cmp_format
