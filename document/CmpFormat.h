#pragma once

#include <bit>
#include <cstdint>

// The layout of a Jedi Knight colormap file. Integers are little-endian.
namespace cmp_format {

inline constexpr char kMagic[] = "CMP "; // compared without letter case
inline constexpr std::int32_t kVersion = 30;
inline constexpr int kHeaderSize = 64;
inline constexpr int kReservedSize = 52;
inline constexpr int kPaletteOffset = 64;
inline constexpr int kPaletteBytes = 768;
inline constexpr int kLightLevelsOffset = kPaletteOffset + kPaletteBytes; // 832
inline constexpr int kLightLevelCount = 64;
inline constexpr int kTableWidth = 256;
inline constexpr int kTransparencyOffset = kLightLevelsOffset + kLightLevelCount * kTableWidth;
inline constexpr int kFileSizeWithoutTransparency = kTransparencyOffset;          // 17216
inline constexpr int kFileSizeWithTransparency = kTransparencyOffset + 256 * 256; // 82752

// Indices below this map to themselves at every light level.
inline constexpr int kFixedIndexCount = 32;

// The double nearest to 1/63. A level's scale is level × this, never level / 63:
// the two differ in the last bit at several levels, and so do the bytes.
inline constexpr double kLevelStep = std::bit_cast<double>(std::uint64_t{0x3F90410410410410});
static_assert(kLevelStep == 1.0 / 63.0);

} // namespace cmp_format
