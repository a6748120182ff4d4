#include "document/TablePictures.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr int kEntries = 256;

// A picture of `width` × `height` whose pixel (x, y) is the colour of palette
// entry `indices[y * width + x]`.
RgbPicture FromIndices(const table_pictures::Palette& palette, const std::uint8_t* indices,
                       int width, int height)
{
    RgbPicture picture{width, height, {}};
    picture.rgb.resize(static_cast<std::size_t>(width) * height * 3);
    std::uint8_t* out = picture.rgb.data();
    for (int i = 0; i < width * height; ++i) {
        const ColorTriple& colour = palette[indices[i]];
        *out++ = colour.red;
        *out++ = colour.green;
        *out++ = colour.blue;
    }
    return picture;
}

} // namespace

ColorTriple RgbPicture::Pixel(int x, int y) const
{
    const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
    return ColorTriple(rgb[at], rgb[at + 1], rgb[at + 2]);
}

namespace table_pictures {

RgbPicture LightLevels(const Palette& palette, const std::vector<std::uint8_t>& lightLevels)
{
    return FromIndices(palette, lightLevels.data(), kEntries,
                       static_cast<int>(lightLevels.size() / kEntries));
}

RgbPicture Translucency(const Palette& palette, const std::vector<std::uint8_t>& transparency)
{
    return FromIndices(palette, transparency.data(), kEntries,
                       static_cast<int>(transparency.size() / kEntries));
}

RgbPicture GridAtLevel(const Palette& palette, const std::vector<std::uint8_t>& lightLevels,
                       int level, int cellSize)
{
    const RgbPicture cells =
        FromIndices(palette, lightLevels.data() + static_cast<std::size_t>(level) * kEntries,
                    kGridColumns, kEntries / kGridColumns);
    const int side = kGridColumns * cellSize;
    RgbPicture picture{side, side, {}};
    picture.rgb.resize(static_cast<std::size_t>(side) * side * 3);
    const std::size_t rowBytes = static_cast<std::size_t>(side) * 3;
    for (int row = 0; row < cells.height; ++row) {
        // The first pixel row of a row of cells, then copies of it.
        std::uint8_t* first =
            picture.rgb.data() + static_cast<std::size_t>(row) * cellSize * rowBytes;
        std::uint8_t* out = first;
        for (int column = 0; column < cells.width; ++column) {
            const ColorTriple colour = cells.Pixel(column, row);
            for (int x = 0; x < cellSize; ++x) {
                *out++ = colour.red;
                *out++ = colour.green;
                *out++ = colour.blue;
            }
        }
        for (int y = 1; y < cellSize; ++y)
            std::copy_n(first, rowBytes, first + y * rowBytes);
    }
    return picture;
}

} // namespace table_pictures
