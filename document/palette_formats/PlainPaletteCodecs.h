#pragma once

#include "document/palette_formats/PaletteCodec.h"

namespace palette_formats {

// The two palettes of exactly 768 bytes, three per colour, with nothing else
// to tell them by but their values.

// Dark Forces palette: 6-bit components 0 to 63, converted the way the Dark
// Forces import converts them. Every value 63 or less says it is one.
class DarkForcesPaletteCodec : public PaletteCodec {
public:
    std::string_view Name() const override { return "Dark Forces palette"; }
    std::string_view Extension() const override { return "pal"; }
    Recognition Recognize(std::span<const std::uint8_t> bytes) const override;
    PaletteRead Read(std::span<const std::uint8_t> bytes) const override;
    std::string Write(std::span<const ColorTriple> colors, std::string_view title) const override;
};

// Plain 8-bit palette: the components as they are.
class RawRgbPaletteCodec : public PaletteCodec {
public:
    std::string_view Name() const override { return "768-byte RGB palette"; }
    std::string_view Extension() const override { return "pal"; }
    Recognition Recognize(std::span<const std::uint8_t> bytes) const override;
    PaletteRead Read(std::span<const std::uint8_t> bytes) const override;
    std::string Write(std::span<const ColorTriple> colors, std::string_view title) const override;
};

} // namespace palette_formats
