#pragma once

#include "document/ColorTriple.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One texture of a model file: its name, where its pixels and palettes lie,
// and the palette and pixels the reader took from there.
struct OptTexture {
    static constexpr std::size_t kNameBytes = 9;
    static constexpr int kPaletteEntries = 256;

    std::string name;               // the name bytes up to the first NUL, at most 9
    std::int32_t pixelPos = 0;      // the texture header's position + 24
    std::int32_t palettePos = 0;    // the first palette of the series
    std::int32_t headerValue16 = 0; // the texture header's values at +16 and +20,
    std::int32_t headerValue20 = 0; // kept as read and never used
    std::int32_t pixelSize = 0;     // the pixel byte count as read
    std::vector<std::uint8_t> pixels;
    std::array<ColorTriple, kPaletteEntries> palette{};
};
