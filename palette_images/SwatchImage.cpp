#include "palette_images/SwatchImage.h"

#include "document/palette_formats/PaletteCodec.h"

#include <QPainter>

namespace palette_images {

QImage SwatchImage(std::span<const ColorTriple> colors)
{
    constexpr int kSide = kSwatchCellsPerSide * kSwatchCellSize;
    QImage image(kSide, kSide, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    for (std::size_t i = 0; i < colors.size() && i < palette_formats::kMaxColors; ++i) {
        const int column = static_cast<int>(i) % kSwatchCellsPerSide;
        const int row = static_cast<int>(i) / kSwatchCellsPerSide;
        painter.fillRect(column * kSwatchCellSize, row * kSwatchCellSize, kSwatchCellSize,
                         kSwatchCellSize, QColor(colors[i].red, colors[i].green, colors[i].blue));
    }
    painter.end();
    return image;
}

std::optional<std::vector<ColorTriple>> SwatchColors(const QImage& source)
{
    if (source.width() != source.height() || source.width() % kSwatchCellsPerSide != 0 ||
        source.isNull())
        return std::nullopt;
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int cell = image.width() / kSwatchCellsPerSide;
    const int frame = cell / 8;
    std::vector<ColorTriple> colors;
    colors.reserve(palette_formats::kMaxColors);
    for (int row = 0; row < kSwatchCellsPerSide; ++row) {
        for (int column = 0; column < kSwatchCellsPerSide; ++column) {
            const int left = column * cell + frame;
            const int top = row * cell + frame;
            const QRgb color = image.pixel(left, top);
            for (int y = top; y < (row + 1) * cell - frame; ++y) {
                const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
                for (int x = left; x < (column + 1) * cell - frame; ++x)
                    if (line[x] != color)
                        return std::nullopt;
            }
            colors.emplace_back(qRed(color), qGreen(color), qBlue(color));
        }
    }
    return colors;
}

} // namespace palette_images
