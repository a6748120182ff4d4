#pragma once

#include "document/palette_formats/PaletteCodec.h"

namespace palette_formats {

// A list of colours as web tools and text editors keep them (.hex): one
// "RRGGBB" per line when written. Read more freely: colours separated by
// line ends, blanks or commas, each "RRGGBB", "#RRGGBB", "0xRRGGBB" or three
// decimal numbers 0 to 255 on one line; blank lines and lines that start
// with ";", or with "#" and a blank, are comments.
class HexListCodec : public PaletteCodec {
public:
    std::string_view Name() const override { return "hex colour list"; }
    std::string_view Extension() const override { return "hex"; }
    Recognition Recognize(std::span<const std::uint8_t> bytes) const override;
    PaletteRead Read(std::span<const std::uint8_t> bytes) const override;
    std::string Write(std::span<const ColorTriple> colors, std::string_view title) const override;
};

} // namespace palette_formats
