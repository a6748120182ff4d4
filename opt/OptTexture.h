#pragma once

#include "document/ColorTriple.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One texture of a model file: its name, where its pixels and palettes lie,
// and the palette and pixels the reader took from there.
//
// Records read from the same bytes share them: a texture node that the tree
// lists several times keeps its pixels and palette once. Neither is ever
// null; until the texture pass fills them they are empty and black.
struct OptTexture {
    static constexpr std::size_t kNameBytes = 9;
    static constexpr int kPaletteEntries = 256;
    using Pixels = std::vector<std::uint8_t>;
    using Palette = std::array<ColorTriple, kPaletteEntries>;

    static std::shared_ptr<const Pixels> NoPixels()
    {
        static const Pixels none;
        return std::shared_ptr<const Pixels>(std::shared_ptr<const Pixels>(), &none);
    }
    static std::shared_ptr<const Palette> BlackPalette()
    {
        static const Palette black{};
        return std::shared_ptr<const Palette>(std::shared_ptr<const Palette>(), &black);
    }

    std::string name;               // the name bytes up to the first NUL, at most 9
    std::int32_t pixelPos = 0;      // the texture header's position + 24
    std::int32_t palettePos = 0;    // the first palette of the series
    std::int32_t headerValue16 = 0; // the texture header's values at +16 and +20,
    std::int32_t headerValue20 = 0; // kept as read and never used
    std::int32_t pixelSize = 0;     // the pixel byte count as read
    std::shared_ptr<const Pixels> pixels = NoPixels();
    std::shared_ptr<const Palette> palette = BlackPalette();
};
