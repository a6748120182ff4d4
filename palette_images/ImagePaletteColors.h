#pragma once

#include "document/ColorTriple.h"

#include <QImage>

#include <vector>

// The palette an image gives.
namespace palette_images {

// An indexed image's colour table, exactly and in order; the cells of a
// swatch image (SwatchColors); for any other image up to 256 of its colours
// (QuantizedColors).
std::vector<ColorTriple> ImagePaletteColors(const QImage& image);

// Up to 256 colours that stand for an image's colours, most frequent first,
// each a colour the image has. Qt's conversion to an 8-bit indexed image
// groups the pixels (exactly, when the image has 256 colours or fewer); each
// group gives the most frequent colour of its pixels.
std::vector<ColorTriple> QuantizedColors(const QImage& image);

} // namespace palette_images
