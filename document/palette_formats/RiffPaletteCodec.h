#pragma once

#include "document/palette_formats/PaletteCodec.h"

namespace palette_formats {

// RIFF palette (.pal), the Windows palette file: "RIFF", the length of what
// follows, "PAL ", then chunks; the "data" chunk holds the version 0x0300, a
// count and four bytes per colour (red, green, blue, flags). Other chunks are
// skipped; the flags are written 0 and ignored on reading. Numbers are
// little-endian.
class RiffPaletteCodec : public PaletteCodec {
public:
    std::string_view Name() const override { return "RIFF palette"; }
    std::string_view Extension() const override { return "pal"; }
    Recognition Recognize(std::span<const std::uint8_t> bytes) const override;
    PaletteRead Read(std::span<const std::uint8_t> bytes) const override;
    std::string Write(std::span<const ColorTriple> colors, std::string_view title) const override;
};

} // namespace palette_formats
