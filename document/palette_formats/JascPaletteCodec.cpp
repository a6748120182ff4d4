#include "document/palette_formats/JascPaletteCodec.h"

#include "document/PaletteExchangeFormats.h"
#include "document/palette_formats/TextLines.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace palette_formats {

namespace {

constexpr std::string_view kSignature = "JASC-PAL";
constexpr std::string_view kVersion = "0100";

// The count line: a whole number of one or more. Very long numbers are
// simply large.
std::optional<std::size_t> ParseCount(std::string_view line)
{
    const std::vector<std::string_view> words = SplitWords(line);
    if (words.empty())
        return std::nullopt;
    const std::string_view digits = words[0];
    if (digits.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    std::size_t count = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
    if (error == std::errc::result_out_of_range)
        return SIZE_MAX;
    if (error != std::errc() || count == 0)
        return std::nullopt;
    return count;
}

} // namespace

Recognition JascPaletteCodec::Recognize(std::span<const std::uint8_t> bytes) const
{
    return StartsWithWord(AsText(bytes), kSignature) ? Recognition::certain : Recognition::none;
}

PaletteRead JascPaletteCodec::Read(std::span<const std::uint8_t> bytes) const
{
    TextLines lines(AsText(bytes));
    if (lines.Next() != kSignature)
        return PaletteRead::Failure(lines.Problem("expected \"JASC-PAL\""));
    const auto version = lines.Next();
    if (!version || SplitWords(*version).empty() || SplitWords(*version)[0] != kVersion)
        return PaletteRead::Failure(lines.Problem("expected the version \"0100\""));
    const auto countLine = lines.Next();
    const auto count = countLine ? ParseCount(*countLine) : std::nullopt;
    if (!count)
        return PaletteRead::Failure(lines.Problem("expected a colour count of 1 or more"));

    PaletteRead read;
    read.count = *count;
    const std::size_t kept = std::min(*count, kMaxColors);
    read.colors.reserve(kept);
    while (read.colors.size() < kept) {
        const auto line = lines.Next();
        const auto color = line ? ParseDecimalColor(SplitWords(*line)) : std::nullopt;
        if (!color) {
            if (!line)
                return PaletteRead::Failure("line " + std::to_string(lines.Number() + 1) + ": " +
                                            std::string(kExpectedThreeNumbers) +
                                            ", found the end of the file");
            return PaletteRead::Failure(lines.Problem(kExpectedThreeNumbers));
        }
        read.colors.push_back(*color);
    }
    return read;
}

std::string JascPaletteCodec::Write(std::span<const ColorTriple> colors, std::string_view) const
{
    std::string text = "JASC-PAL\r\n0100\r\n" + std::to_string(colors.size()) + "\r\n";
    for (const ColorTriple& entry : colors) {
        char line[16];
        const int length = std::snprintf(line, sizeof line, jasc_format::kEntryFormat, entry.red,
                                         entry.green, entry.blue);
        text.append(line, static_cast<std::size_t>(length));
    }
    return text;
}

} // namespace palette_formats
