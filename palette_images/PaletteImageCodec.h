#pragma once

#include "document/palette_formats/PaletteFormats.h"

#include <cstdint>

// Images as palette files: read, a PNG, GIF, BMP or JPEG image gives its
// palette (ImagePaletteColors; a GIF its colour table); written, the
// palette's swatch image as PNG.
namespace palette_images {

class PaletteImageCodec : public palette_formats::PaletteCodec {
public:
    // Larger images are refused before they are decoded.
    static constexpr std::int64_t kMaxPixels = 4096 * 4096;

    std::string_view Name() const override { return "PNG, GIF, BMP or JPEG image"; }
    std::string_view Extension() const override { return "png"; }
    palette_formats::Recognition Recognize(std::span<const std::uint8_t> bytes) const override;
    palette_formats::PaletteRead Read(std::span<const std::uint8_t> bytes) const override;
    std::string Write(std::span<const ColorTriple> colors, std::string_view title) const override;
};

const palette_formats::PaletteCodec& SwatchImageCodec();

// The core's palette formats and images.
const palette_formats::CodecList& PaletteCodecsWithImages();

} // namespace palette_images
