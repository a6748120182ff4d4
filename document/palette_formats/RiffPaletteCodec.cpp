#include "document/palette_formats/RiffPaletteCodec.h"

#include "document/palette_formats/ByteFields.h"

#include <algorithm>
#include <cstring>

namespace palette_formats {

namespace {

constexpr std::size_t kHeaderSize = 12; // "RIFF", length, "PAL "
constexpr std::size_t kChunkHeader = 8; // identifier, size
constexpr std::size_t kDataHeader = 4;  // version, count
constexpr std::uint16_t kVersion = 0x0300;

bool HasAt(std::span<const std::uint8_t> bytes, std::size_t at, const char (&tag)[5])
{
    return bytes.size() >= at + 4 && std::memcmp(bytes.data() + at, tag, 4) == 0;
}

} // namespace

Recognition RiffPaletteCodec::Recognize(std::span<const std::uint8_t> bytes) const
{
    return HasAt(bytes, 0, "RIFF") && HasAt(bytes, 8, "PAL ") ? Recognition::certain
                                                              : Recognition::none;
}

PaletteRead RiffPaletteCodec::Read(std::span<const std::uint8_t> bytes) const
{
    if (!HasAt(bytes, 0, "RIFF") || !HasAt(bytes, 8, "PAL "))
        return PaletteRead::Failure(ByteProblem(0, "expected \"RIFF\" and \"PAL \""));
    // The chunks end where the header says, or earlier with the file.
    const std::size_t end = static_cast<std::size_t>(
        std::min<std::uint64_t>(bytes.size(), 8ull + LittleEndian32(bytes, 4)));
    std::size_t at = kHeaderSize;
    while (at + kChunkHeader <= end) {
        const std::uint64_t size = LittleEndian32(bytes, at + 4);
        const std::size_t body = at + kChunkHeader;
        if (!HasAt(bytes, at, "data")) {
            at = static_cast<std::size_t>(std::min<std::uint64_t>(end, body + size + (size & 1)));
            continue;
        }
        if (size < kDataHeader || body + kDataHeader > end)
            return PaletteRead::Failure(ByteProblem(at + 4, "the \"data\" chunk is too short"));
        if (LittleEndian16(bytes, body) != kVersion)
            return PaletteRead::Failure(ByteProblem(body, "expected the version 0x0300"));
        const std::size_t count = LittleEndian16(bytes, body + 2);
        if (count == 0)
            return PaletteRead::Failure(ByteProblem(body + 2, "the palette holds no colour"));
        const std::uint64_t room = (std::min<std::uint64_t>(size, end - body) - kDataHeader) / 4;
        if (count > room)
            return PaletteRead::Failure(ByteProblem(
                body + 2, "the count says " + std::to_string(count) +
                              " colours, but the chunk has room for " + std::to_string(room)));
        PaletteRead read;
        read.count = count;
        const std::size_t kept = std::min(count, kMaxColors);
        read.colors.reserve(kept);
        for (std::size_t i = 0; i < kept; ++i) {
            const std::size_t entry = body + kDataHeader + 4 * i;
            read.colors.emplace_back(bytes[entry], bytes[entry + 1], bytes[entry + 2]);
        }
        return read;
    }
    return PaletteRead::Failure(ByteProblem(at, "expected a \"data\" chunk"));
}

std::string RiffPaletteCodec::Write(std::span<const ColorTriple> colors, std::string_view) const
{
    const auto count = static_cast<std::uint32_t>(colors.size());
    const std::uint32_t dataSize = kDataHeader + 4 * count;
    std::string bytes = "RIFF";
    AppendLittleEndian32(bytes, 4 + kChunkHeader + dataSize);
    bytes += "PAL data";
    AppendLittleEndian32(bytes, dataSize);
    AppendLittleEndian16(bytes, kVersion);
    AppendLittleEndian16(bytes, count);
    for (const ColorTriple& entry : colors) {
        bytes += static_cast<char>(entry.red);
        bytes += static_cast<char>(entry.green);
        bytes += static_cast<char>(entry.blue);
        bytes += '\0';
    }
    return bytes;
}

} // namespace palette_formats
