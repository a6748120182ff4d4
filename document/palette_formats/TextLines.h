#pragma once

#include "document/ColorTriple.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the text palette formats share: lines, blanks and numbers.
namespace palette_formats {

// The lines of a text, numbered from 1. A line ends at LF; a CR before it,
// and blanks (spaces and tabs) at either end, are not part of it. A UTF-8
// byte-order mark before the first line is skipped.
class TextLines {
public:
    explicit TextLines(std::string_view text);

    // The next line, or nothing at the end of the text.
    std::optional<std::string_view> Next();
    // The number of the line Next last returned (0 before the first).
    int Number() const { return m_number; }
    // "line N: what", for the line Next last returned.
    std::string Problem(std::string_view what) const;

private:
    std::string_view m_rest;
    bool m_ended = false;
    int m_number = 0;
};

// The words of a line, split at blanks and at the characters in `separators`.
std::vector<std::string_view> SplitWords(std::string_view line, std::string_view separators = {});

// A line's first characters without blanks around them: "JASC-PAL".
bool StartsWithWord(std::string_view text, std::string_view word);

// A decimal number 0 to 255, without sign.
std::optional<std::uint8_t> ParseComponent(std::string_view word);
// Three such numbers, the first three of `words`.
std::optional<ColorTriple> ParseDecimalColor(const std::vector<std::string_view>& words);
// Exactly `digits` hexadecimal digits, either case.
std::optional<std::uint32_t> ParseHex(std::string_view word, std::size_t digits);

// "RRGGBB": six upper-case hexadecimal digits.
std::string HexDigits(const ColorTriple& color);
// The colour of a 24-bit value 0xRRGGBB.
constexpr ColorTriple FromRgbValue(std::uint32_t value)
{
    return ColorTriple(static_cast<std::uint8_t>(value >> 16),
                       static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value));
}

// The messages of the decimal text formats.
inline constexpr std::string_view kExpectedThreeNumbers = "expected three numbers from 0 to 255";
inline constexpr std::string_view kNoColor = "no colour found";

} // namespace palette_formats
