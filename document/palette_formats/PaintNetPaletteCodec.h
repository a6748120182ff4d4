#pragma once

#include "document/palette_formats/PaletteCodec.h"

namespace palette_formats {

// Paint.NET palette (.txt): ";" comment lines and one colour per line as
// eight hexadecimal digits AARRGGBB. Alpha is ignored on reading and written
// as FF (opaque). Paint.NET itself shows only the first 96 colours.
class PaintNetPaletteCodec : public PaletteCodec {
public:
    static constexpr std::size_t kColorsShown = 96;

    std::string_view Name() const override { return "Paint.NET palette"; }
    std::string_view Extension() const override { return "txt"; }
    Recognition Recognize(std::span<const std::uint8_t> bytes) const override;
    PaletteRead Read(std::span<const std::uint8_t> bytes) const override;
    std::string Write(std::span<const ColorTriple> colors, std::string_view title) const override;
    std::string NoteOnWriting(std::size_t count) const override;
};

} // namespace palette_formats
