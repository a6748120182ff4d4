#include "document/palette_formats/PaletteFormats.h"

#include "document/palette_formats/AdobeColorTableCodec.h"
#include "document/palette_formats/GimpPaletteCodec.h"
#include "document/palette_formats/HexListCodec.h"
#include "document/palette_formats/JascPaletteCodec.h"
#include "document/palette_formats/PaintNetPaletteCodec.h"
#include "document/palette_formats/PlainPaletteCodecs.h"
#include "document/palette_formats/RiffPaletteCodec.h"

#include <algorithm>
#include <cctype>

namespace palette_formats {

namespace {

bool SameExtension(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string WithArticle(std::string_view name)
{
    const bool vowel = std::string_view("AEIOUaeiou").find(name.front()) != std::string_view::npos;
    return (vowel ? "an " : "a ") + std::string(name);
}

} // namespace

const PaletteCodec& CodecFor(PaletteFormat format)
{
    static const JascPaletteCodec jasc;
    static const GimpPaletteCodec gimp;
    static const RiffPaletteCodec riff;
    static const AdobeColorTableCodec adobe;
    static const PaintNetPaletteCodec paintNet;
    static const HexListCodec hexList;
    static const DarkForcesPaletteCodec darkForces;
    static const RawRgbPaletteCodec rawRgb;
    switch (format) {
    case PaletteFormat::jasc:
        return jasc;
    case PaletteFormat::gimp:
        return gimp;
    case PaletteFormat::riff:
        return riff;
    case PaletteFormat::adobeColorTable:
        return adobe;
    case PaletteFormat::paintNet:
        return paintNet;
    case PaletteFormat::hexList:
        return hexList;
    case PaletteFormat::darkForces:
        return darkForces;
    case PaletteFormat::rawRgb:
        break;
    }
    return rawRgb;
}

const CodecList& CorePaletteCodecs()
{
    // The plain 768-byte palette last: it takes any bytes of that size.
    static const CodecList codecs = [] {
        CodecList list;
        for (const PaletteFormat format :
             {PaletteFormat::jasc, PaletteFormat::gimp, PaletteFormat::riff,
              PaletteFormat::adobeColorTable, PaletteFormat::paintNet, PaletteFormat::hexList,
              PaletteFormat::darkForces, PaletteFormat::rawRgb})
            list.push_back(&CodecFor(format));
        return list;
    }();
    return codecs;
}

const PaletteCodec* DetectPaletteCodec(std::span<const std::uint8_t> bytes,
                                       std::string_view extension, const CodecList& codecs)
{
    const PaletteCodec* best = nullptr;
    Recognition bestRecognition = Recognition::none;
    bool bestHasExtension = false;
    for (const PaletteCodec* codec : codecs) {
        const Recognition recognition = codec->Recognize(bytes);
        if (recognition == Recognition::none)
            continue;
        const bool hasExtension = SameExtension(codec->Extension(), extension);
        if (recognition > bestRecognition ||
            (recognition == bestRecognition && hasExtension && !bestHasExtension)) {
            best = codec;
            bestRecognition = recognition;
            bestHasExtension = hasExtension;
        }
    }
    return best;
}

std::string ExpectedFormats(const CodecList& codecs)
{
    std::string text;
    for (std::size_t i = 0; i < codecs.size(); ++i) {
        if (i > 0)
            text += i + 1 == codecs.size() ? " or " : ", ";
        text += WithArticle(codecs[i]->Name());
    }
    return text;
}

} // namespace palette_formats
