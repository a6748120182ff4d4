#pragma once

#include "document/palette_formats/PaletteCodec.h"

namespace palette_formats {

// GIMP palette (.gpl), as GIMP and Inkscape keep them: "GIMP Palette", then
// optional "Name:" and "Columns:" lines, "#" comments and blank lines among
// "R G B [name]" lines. Written with the title as its name, 16 columns and
// LF line ends.
class GimpPaletteCodec : public PaletteCodec {
public:
    std::string_view Name() const override { return "GIMP palette"; }
    std::string_view Extension() const override { return "gpl"; }
    Recognition Recognize(std::span<const std::uint8_t> bytes) const override;
    PaletteRead Read(std::span<const std::uint8_t> bytes) const override;
    std::string Write(std::span<const ColorTriple> colors, std::string_view title) const override;
};

} // namespace palette_formats
