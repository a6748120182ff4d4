#pragma once

#include "document/palette_formats/PaletteCodec.h"

namespace palette_formats {

// Adobe colour table (.act): 256 colours of three bytes, 768 bytes, which
// may be followed by a big-endian colour count and transparent index (772
// bytes). Written at 772 bytes, unused entries 0 and no transparent index, so
// that its size tells it from a plain 768-byte palette.
class AdobeColorTableCodec : public PaletteCodec {
public:
    static constexpr std::size_t kTableSize = 768;
    static constexpr std::size_t kFileSize = 772;

    std::string_view Name() const override { return "Adobe colour table"; }
    std::string_view Extension() const override { return "act"; }
    Recognition Recognize(std::span<const std::uint8_t> bytes) const override;
    PaletteRead Read(std::span<const std::uint8_t> bytes) const override;
    std::string Write(std::span<const ColorTriple> colors, std::string_view title) const override;
};

} // namespace palette_formats
