#include "document/palette_formats/AdobeColorTableCodec.h"

#include "document/palette_formats/ByteFields.h"

namespace palette_formats {

namespace {

constexpr std::uint16_t kNoTransparentIndex = 0xFFFF;

} // namespace

Recognition AdobeColorTableCodec::Recognize(std::span<const std::uint8_t> bytes) const
{
    // At 768 bytes it is one of several plain palettes; at 772 it is this.
    if (bytes.size() == kFileSize)
        return Recognition::likely;
    return bytes.size() == kTableSize ? Recognition::possible : Recognition::none;
}

PaletteRead AdobeColorTableCodec::Read(std::span<const std::uint8_t> bytes) const
{
    if (bytes.size() != kTableSize && bytes.size() != kFileSize)
        return PaletteRead::Failure("expected 768 or 772 bytes, found " +
                                    std::to_string(bytes.size()));
    std::size_t count = kMaxColors;
    if (bytes.size() == kFileSize) {
        count = BigEndian16(bytes, kTableSize);
        if (count == 0 || count > kMaxColors)
            return PaletteRead::Failure(
                ByteProblem(kTableSize, "expected a colour count from 1 to 256, found " +
                                            std::to_string(count)));
    }
    PaletteRead read;
    read.count = count;
    read.colors.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        read.colors.emplace_back(bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]);
    return read;
}

std::string AdobeColorTableCodec::Write(std::span<const ColorTriple> colors, std::string_view) const
{
    std::string bytes(kTableSize, '\0');
    for (std::size_t i = 0; i < colors.size(); ++i) {
        bytes[3 * i] = static_cast<char>(colors[i].red);
        bytes[3 * i + 1] = static_cast<char>(colors[i].green);
        bytes[3 * i + 2] = static_cast<char>(colors[i].blue);
    }
    AppendBigEndian16(bytes, static_cast<std::uint32_t>(colors.size()));
    AppendBigEndian16(bytes, kNoTransparentIndex);
    return bytes;
}

} // namespace palette_formats
