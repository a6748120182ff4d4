#pragma once

#include "document/ColorTriple.h"

#include <array>
#include <cstdint>
#include <vector>

// Pictures of a colormap's tables: each pixel is the palette colour of one
// table entry, so a picture shows what the table does to the palette.
struct RgbPicture {
    int width = 0;
    int height = 0;
    // Red, green and blue of each pixel, rows from the top, each row left to
    // right, with nothing between rows.
    std::vector<std::uint8_t> rgb;

    ColorTriple Pixel(int x, int y) const;
};

namespace table_pictures {

using Palette = std::array<ColorTriple, 256>;

inline constexpr int kGridColumns = 16;

// 256 × 64: column j of row L is the colour of entry `lightLevels[L][j]`,
// level 0 (the darkest) on the top row as the file stores it.
RgbPicture LightLevels(const Palette& palette, const std::vector<std::uint8_t>& lightLevels);

// 256 × 256: column b of row a is the colour of `transparency[a][b]`, the
// index nearest to entry a mixed with entry b.
RgbPicture Translucency(const Palette& palette, const std::vector<std::uint8_t>& transparency);

// The palette as it looks at light level `level` (0 to 63): 16 × 16 cells
// of `cellSize` pixels, cell i (row i / 16, column i % 16) in the colour of
// `lightLevels[level][i]`.
RgbPicture GridAtLevel(const Palette& palette, const std::vector<std::uint8_t>& lightLevels,
                       int level, int cellSize);

} // namespace table_pictures
