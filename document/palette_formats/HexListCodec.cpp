#include "document/palette_formats/HexListCodec.h"

#include "document/palette_formats/TextLines.h"

namespace palette_formats {

namespace {

constexpr std::string_view kExpectedColor =
    " is not a colour: expected #RRGGBB, RRGGBB, 0xRRGGBB or three numbers from 0 to 255";

bool IsComment(std::string_view line)
{
    return line.starts_with(';') || line == "#" || line.starts_with("# ") ||
           line.starts_with("#\t");
}

std::optional<ColorTriple> ParseHexColor(std::string_view word)
{
    if (word.starts_with('#'))
        word.remove_prefix(1);
    else if (word.starts_with("0x") || word.starts_with("0X"))
        word.remove_prefix(2);
    const auto value = ParseHex(word, 6);
    return value ? std::optional(FromRgbValue(*value)) : std::nullopt;
}

// "word" quoted for a message, cut short when long.
std::string Quoted(std::string_view word)
{
    constexpr std::size_t kShown = 24;
    return "\"" + std::string(word.substr(0, kShown)) + (word.size() > kShown ? "...\"" : "\"");
}

// Reads the colours of one line onto `read`; the reason when one is not.
std::optional<std::string> ReadLine(std::string_view line, PaletteRead& read)
{
    std::vector<std::uint8_t> components; // decimal numbers not yet three
    for (const std::string_view word : SplitWords(line, ",")) {
        std::optional<ColorTriple> color;
        if (const auto hex = ParseHexColor(word))
            color = hex;
        else if (const auto component = ParseComponent(word); component) {
            components.push_back(*component);
            if (components.size() == 3) {
                color = ColorTriple(components[0], components[1], components[2]);
                components.clear();
            }
        } else {
            return Quoted(word) + std::string(kExpectedColor);
        }
        if (color) {
            if (read.colors.size() < kMaxColors)
                read.colors.push_back(*color);
            ++read.count;
        }
    }
    if (!components.empty())
        return std::string(kExpectedThreeNumbers);
    return std::nullopt;
}

} // namespace

Recognition HexListCodec::Recognize(std::span<const std::uint8_t> bytes) const
{
    // The first line that is not a comment decides.
    TextLines lines(AsText(bytes));
    while (const auto line = lines.Next()) {
        if (line->empty() || IsComment(*line))
            continue;
        PaletteRead first;
        return ReadLine(*line, first) ? Recognition::none : Recognition::likely;
    }
    return Recognition::none;
}

PaletteRead HexListCodec::Read(std::span<const std::uint8_t> bytes) const
{
    TextLines lines(AsText(bytes));
    PaletteRead read;
    while (const auto line = lines.Next()) {
        if (line->empty() || IsComment(*line))
            continue;
        if (const auto problem = ReadLine(*line, read))
            return PaletteRead::Failure(lines.Problem(*problem));
    }
    if (read.count == 0)
        return PaletteRead::Failure(std::string(kNoColor));
    return read;
}

std::string HexListCodec::Write(std::span<const ColorTriple> colors, std::string_view) const
{
    std::string text;
    for (const ColorTriple& entry : colors)
        text += HexDigits(entry) + "\n";
    return text;
}

} // namespace palette_formats
