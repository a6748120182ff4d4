#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// Fixed-width numbers in the binary palette formats, and where they go wrong.
namespace palette_formats {

inline std::uint16_t LittleEndian16(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}
inline std::uint32_t LittleEndian32(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(LittleEndian16(bytes, at)) |
           static_cast<std::uint32_t>(LittleEndian16(bytes, at + 2)) << 16;
}
inline std::uint16_t BigEndian16(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

inline void AppendLittleEndian16(std::string& out, std::uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
}
inline void AppendLittleEndian32(std::string& out, std::uint32_t value)
{
    AppendLittleEndian16(out, value & 0xFFFF);
    AppendLittleEndian16(out, value >> 16);
}
inline void AppendBigEndian16(std::string& out, std::uint32_t value)
{
    out += static_cast<char>(value >> 8 & 0xFF);
    out += static_cast<char>(value & 0xFF);
}

// "byte N: what", N counted from 0.
inline std::string ByteProblem(std::size_t offset, const std::string& what)
{
    return "byte " + std::to_string(offset) + ": " + what;
}

} // namespace palette_formats
