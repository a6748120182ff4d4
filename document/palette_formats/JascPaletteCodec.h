#pragma once

#include "document/palette_formats/PaletteCodec.h"

namespace palette_formats {

// JASC-PAL text palette: "JASC-PAL", "0100", a count, then that many
// "R G B" lines in decimal. Written with CR LF after every line, the way
// the colormap editor has always exported it; read with LF or CR LF, blanks
// around the numbers and extra words after them. A count above 256 keeps
// the first 256 entries.
class JascPaletteCodec : public PaletteCodec {
public:
    std::string_view Name() const override { return "JASC-PAL palette"; }
    std::string_view Extension() const override { return "pal"; }
    Recognition Recognize(std::span<const std::uint8_t> bytes) const override;
    PaletteRead Read(std::span<const std::uint8_t> bytes) const override;
    std::string Write(std::span<const ColorTriple> colors, std::string_view title) const override;
};

} // namespace palette_formats
