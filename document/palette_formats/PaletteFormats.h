#pragma once

#include "document/palette_formats/PaletteCodec.h"

#include <string>
#include <string_view>
#include <vector>

// The palette formats the core reads and writes, and how a file's format is
// found from its content.
namespace palette_formats {

enum class PaletteFormat {
    jasc,
    gimp,
    riff,
    adobeColorTable,
    paintNet,
    hexList,
    darkForces,
    rawRgb
};

const PaletteCodec& CodecFor(PaletteFormat format);

using CodecList = std::vector<const PaletteCodec*>;

// Every format of the core, in the order that settles what content and
// extension leave open.
const CodecList& CorePaletteCodecs();

// The codec of `codecs` that recognises `bytes` most surely. Between equally
// sure ones the one for `extension` (without the dot, any case) wins, then
// the first listed. Nullptr when none recognises them.
const PaletteCodec* DetectPaletteCodec(std::span<const std::uint8_t> bytes,
                                       std::string_view extension, const CodecList& codecs);

// The formats of `codecs` for a message: "a JASC-PAL palette, a GIMP palette
// or a hex colour list".
std::string ExpectedFormats(const CodecList& codecs);

} // namespace palette_formats
