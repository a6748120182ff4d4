#include "palette_images/GifColorTable.h"

namespace palette_images {

namespace {

constexpr std::size_t kScreenDescriptorEnd = 13; // "GIF89a", then 7 bytes
constexpr std::size_t kImageDescriptorSize = 10; // 0x2C and 9 bytes
constexpr std::uint8_t kExtension = 0x21;
constexpr std::uint8_t kImage = 0x2C;

// The table that a packed field announces, starting at `at`.
std::optional<std::vector<ColorTriple>> TableAt(std::span<const std::uint8_t> bytes, std::size_t at,
                                                std::uint8_t packed)
{
    const std::size_t count = std::size_t(1) << ((packed & 7) + 1);
    if (at + 3 * count > bytes.size())
        return std::nullopt;
    std::vector<ColorTriple> colors;
    colors.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        colors.emplace_back(bytes[at + 3 * i], bytes[at + 3 * i + 1], bytes[at + 3 * i + 2]);
    return colors;
}

} // namespace

std::optional<std::vector<ColorTriple>> GifColorTable(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kScreenDescriptorEnd)
        return std::nullopt;
    const std::uint8_t screenPacked = bytes[10];
    if (screenPacked & 0x80)
        return TableAt(bytes, kScreenDescriptorEnd, screenPacked);
    std::size_t at = kScreenDescriptorEnd;
    while (at < bytes.size() && bytes[at] == kExtension) {
        at += 2; // introducer and label, then sub-blocks up to an empty one
        while (at < bytes.size() && bytes[at] != 0)
            at += bytes[at] + 1;
        ++at;
    }
    if (at + kImageDescriptorSize > bytes.size() || bytes[at] != kImage)
        return std::nullopt;
    const std::uint8_t imagePacked = bytes[at + 9];
    if (!(imagePacked & 0x80))
        return std::nullopt;
    return TableAt(bytes, at + kImageDescriptorSize, imagePacked);
}

} // namespace palette_images
