#include "document/palette_formats/PastedText.h"

#include "document/palette_formats/GimpPaletteCodec.h"
#include "document/palette_formats/HexListCodec.h"
#include "document/palette_formats/JascPaletteCodec.h"
#include "document/palette_formats/PaintNetPaletteCodec.h"
#include "document/palette_formats/TextLines.h"

#include <array>

namespace palette_formats {

TextColors ReadPastedText(std::string_view text)
{
    static const JascPaletteCodec jasc;
    static const GimpPaletteCodec gimp;
    static const PaintNetPaletteCodec paintNet;
    static const HexListCodec list;
    // A palette's signature decides first; text that is no palette file is
    // read as a list, which says what is wrong with it.
    const PaletteCodec* codec = &list;
    for (const PaletteCodec* candidate :
         std::array<const PaletteCodec*, 3>{&jasc, &gimp, &paintNet})
        if (candidate->Recognize(AsBytes(text)) != Recognition::none) {
            codec = candidate;
            break;
        }
    PaletteRead read = codec->Read(AsBytes(text));
    TextColors result;
    if (!read.Succeeded()) {
        result.message = "Nothing pasted: " + read.error;
        return result;
    }
    if (read.count > read.colors.size())
        result.message = "The text holds " + std::to_string(read.count) +
                         " colours; only the first " + std::to_string(read.colors.size()) +
                         " are pasted";
    result.colors = std::move(read.colors);
    return result;
}

std::string WriteColorLines(std::span<const ColorTriple> colors)
{
    std::string text;
    text.reserve(colors.size() * 8);
    for (const ColorTriple& color : colors)
        text += "#" + HexDigits(color) + "\n";
    return text;
}

} // namespace palette_formats
