#pragma once

#include "document/ColorTriple.h"

#include <QImage>

#include <optional>
#include <span>
#include <vector>

// The swatch image of a palette: 16 by 16 cells of 16 by 16 pixels, one
// cell per palette entry, row by row from the top left.
namespace palette_images {

inline constexpr int kSwatchCellsPerSide = 16;
inline constexpr int kSwatchCellSize = 16;

// Cells without a colour (a palette of fewer than 256) are black.
QImage SwatchImage(std::span<const ColorTriple> colors);

// The colours of a swatch image, from any square image whose side is a
// multiple of 16 and whose 256 cells are each one colour (a frame of an
// eighth of a cell round each cell is not looked at, so grid lines are
// allowed). Nothing for any other image.
std::optional<std::vector<ColorTriple>> SwatchColors(const QImage& image);

} // namespace palette_images
