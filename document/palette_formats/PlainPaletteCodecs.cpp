#include "document/palette_formats/PlainPaletteCodecs.h"

#include "document/PaletteExchangeFormats.h"

#include <algorithm>

namespace palette_formats {

namespace {

constexpr std::size_t kSize = dfpal_format::kFileSize;
static_assert(kSize == 3 * kMaxColors);

bool AllSixBit(std::span<const std::uint8_t> bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t value) { return value <= 63; });
}

PaletteRead ReadPlain(std::span<const std::uint8_t> bytes, std::uint8_t (*convert)(std::uint8_t))
{
    if (bytes.size() != kSize)
        return PaletteRead::Failure("expected 768 bytes, found " + std::to_string(bytes.size()));
    PaletteRead read;
    read.count = kMaxColors;
    read.colors.reserve(kMaxColors);
    for (std::size_t at = 0; at < kSize; at += 3)
        read.colors.emplace_back(convert(bytes[at]), convert(bytes[at + 1]),
                                 convert(bytes[at + 2]));
    return read;
}

// 768 bytes; entries the palette does not have are 0.
std::string WritePlain(std::span<const ColorTriple> colors, std::uint8_t (*convert)(std::uint8_t))
{
    std::string bytes(kSize, '\0');
    for (std::size_t i = 0; i < std::min(colors.size(), kMaxColors); ++i) {
        bytes[3 * i] = static_cast<char>(convert(colors[i].red));
        bytes[3 * i + 1] = static_cast<char>(convert(colors[i].green));
        bytes[3 * i + 2] = static_cast<char>(convert(colors[i].blue));
    }
    return bytes;
}

std::uint8_t Unchanged(std::uint8_t value)
{
    return value;
}

} // namespace

Recognition DarkForcesPaletteCodec::Recognize(std::span<const std::uint8_t> bytes) const
{
    return bytes.size() == kSize && AllSixBit(bytes) ? Recognition::likely : Recognition::none;
}

PaletteRead DarkForcesPaletteCodec::Read(std::span<const std::uint8_t> bytes) const
{
    return ReadPlain(bytes, dfpal_format::FromFileValue);
}

std::string DarkForcesPaletteCodec::Write(std::span<const ColorTriple> colors,
                                          std::string_view) const
{
    return WritePlain(colors, dfpal_format::ToFileValue);
}

Recognition RawRgbPaletteCodec::Recognize(std::span<const std::uint8_t> bytes) const
{
    return bytes.size() == kSize ? Recognition::possible : Recognition::none;
}

PaletteRead RawRgbPaletteCodec::Read(std::span<const std::uint8_t> bytes) const
{
    return ReadPlain(bytes, Unchanged);
}

std::string RawRgbPaletteCodec::Write(std::span<const ColorTriple> colors, std::string_view) const
{
    return WritePlain(colors, Unchanged);
}

} // namespace palette_formats
