#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

// Whether a file looks like a Dark Forces palette: exactly 768 bytes, each a
// 6-bit intensity 0 to 63. The import takes any file, but any other file
// would fill the palette with noise, so the user is asked first.
namespace dfpal_format {

// What gives a file away: its length, or, at the right length, its first
// byte above 63.
struct Mismatch {
    std::uint64_t length = 0; // the file's length in bytes
    std::size_t offset = 0;   // the byte above 63, counted from 0
    std::uint8_t value = 0;   // its value
};

// Judges a file of `length` bytes by `head`, its first bytes (all of them up
// to 768). Nothing when it looks like a Dark Forces palette.
std::optional<Mismatch> FindMismatch(std::uint64_t length, std::span<const std::uint8_t> head);

// "it is N bytes long" or "byte K holds V, above 63".
std::string ReasonFor(const Mismatch& mismatch);
// "PATH does not look like a Dark Forces palette (REASON)".
std::string NotAPaletteStatement(const std::string& path, const std::string& reason);
// The reason a statement gives; empty when `statement` gives none.
std::string ReasonIn(const std::string& statement);
// What the import asks after the statement; No is its default answer.
inline constexpr const char* kImportAnyway = ". Import it anyway?";

} // namespace dfpal_format
