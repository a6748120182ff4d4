#include "palette_images/ImagePaletteColors.h"

#include "document/palette_formats/PaletteCodec.h"
#include "palette_images/SwatchImage.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>

namespace palette_images {

namespace {

ColorTriple TripleOf(QRgb color)
{
    return ColorTriple(static_cast<std::uint8_t>(qRed(color)),
                       static_cast<std::uint8_t>(qGreen(color)),
                       static_cast<std::uint8_t>(qBlue(color)));
}

bool IsIndexed(const QImage& image)
{
    return image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono ||
           image.format() == QImage::Format_MonoLSB;
}

} // namespace

std::vector<ColorTriple> QuantizedColors(const QImage& image)
{
    // Alpha is not part of a palette colour. Without dithering each colour
    // of the image falls in one group.
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const QImage indexed = rgb.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);

    // Every pixel as its group and colour, sorted, so that equal colours
    // lie together and are counted without a table of every colour.
    std::vector<std::uint64_t> pixels;
    pixels.reserve(static_cast<std::size_t>(rgb.width()) * static_cast<std::size_t>(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* colors = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        const uchar* indices = indexed.constScanLine(y);
        for (int x = 0; x < rgb.width(); ++x)
            pixels.push_back(std::uint64_t(indices[x]) << 24 | (colors[x] & 0xFFFFFF));
    }
    std::sort(pixels.begin(), pixels.end());

    // Each group gives its most frequent colour and ranks by its pixels.
    struct Group {
        std::uint64_t pixels = 0;
        std::uint64_t colorPixels = 0;
        QRgb color = 0;
    };
    std::array<Group, 256> groups;
    for (std::size_t at = 0; at < pixels.size();) {
        std::size_t end = at;
        while (end < pixels.size() && pixels[end] == pixels[at])
            ++end;
        Group& group = groups[pixels[at] >> 24];
        group.pixels += end - at;
        if (end - at > group.colorPixels) {
            group.colorPixels = end - at;
            group.color = static_cast<QRgb>(pixels[at] & 0xFFFFFF);
        }
        at = end;
    }
    std::array<int, 256> order;
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return groups[a].pixels > groups[b].pixels; });
    std::vector<ColorTriple> colors;
    for (const int index : order)
        if (groups[index].pixels > 0)
            colors.push_back(TripleOf(groups[index].color));
    return colors;
}

std::vector<ColorTriple> ImagePaletteColors(const QImage& image)
{
    if (IsIndexed(image)) {
        std::vector<ColorTriple> colors;
        const QList<QRgb> table = image.colorTable();
        for (qsizetype i = 0; i < table.size() && i < qsizetype(palette_formats::kMaxColors); ++i)
            colors.push_back(TripleOf(table[i]));
        if (!colors.empty())
            return colors;
    }
    if (auto cells = SwatchColors(image))
        return std::move(*cells);
    return QuantizedColors(image);
}

} // namespace palette_images
