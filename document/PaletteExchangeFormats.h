#pragma once

#include <cstdint>

// Palette files of other programs that the document exchanges its palette with.

// Dark Forces palette: 768 bytes, red, green and blue for entries 0 to 255,
// each a 6-bit intensity 0 to 63. No header, no trailer.
namespace dfpal_format {

inline constexpr int kFileSize = 768;
inline constexpr const char* kFilter = "Dark Forces Palette (*.pal)|*.pal||";

// The low two bits of a component are dropped.
constexpr std::uint8_t ToFileValue(std::uint8_t component)
{
    return static_cast<std::uint8_t>(component >> 2);
}
// Computed in a byte: values above 63 lose their top bits (64 gives 0).
constexpr std::uint8_t FromFileValue(std::uint8_t value)
{
    return static_cast<std::uint8_t>(value * 4);
}

} // namespace dfpal_format

// JASC-PAL text palette: three header lines, then one "R G B" line per entry
// in decimal. Every line, the last included, ends in CR LF.
namespace jasc_format {

inline constexpr const char* kHeader = "JASC-PAL\r\n0100\r\n256\r\n";
inline constexpr const char* kEntryFormat = "%d %d %d\r\n";
inline constexpr const char* kFilter = "JASC Palette (*.pal)|*.pal||";
inline constexpr const char* kProtectQuestion =
    "Would you like to protect the usage of the first 32 colors by making them all black?";
// Entries written as black when the user protects them; the game keeps them
// for its own use.
inline constexpr int kProtectedCount = 32;

} // namespace jasc_format

// Both kinds of palette file carry this extension.
inline constexpr const char* kPaletteFileExtension = "pal";
