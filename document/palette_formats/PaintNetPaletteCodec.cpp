#include "document/palette_formats/PaintNetPaletteCodec.h"

#include "document/palette_formats/TextLines.h"

#include <algorithm>
#include <cctype>

namespace palette_formats {

namespace {

constexpr std::string_view kExpectedColor =
    "expected a colour as eight hexadecimal digits AARRGGBB";

std::optional<ColorTriple> ParseColorLine(std::string_view line)
{
    const std::vector<std::string_view> words = SplitWords(line);
    const auto value = words.size() == 1 ? ParseHex(words[0], 8) : std::nullopt;
    return value ? std::optional(FromRgbValue(*value & 0xFFFFFF)) : std::nullopt;
}

bool NamesPaintNet(std::string_view comment)
{
    std::string lower(comment);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find("paint.net") != std::string::npos;
}

} // namespace

Recognition PaintNetPaletteCodec::Recognize(std::span<const std::uint8_t> bytes) const
{
    // A comment naming the program, or a first colour line of its kind.
    TextLines lines(AsText(bytes));
    while (const auto line = lines.Next()) {
        if (line->starts_with(';')) {
            if (NamesPaintNet(*line))
                return Recognition::likely;
            continue;
        }
        if (line->empty())
            continue;
        return ParseColorLine(*line) ? Recognition::likely : Recognition::none;
    }
    return Recognition::none;
}

PaletteRead PaintNetPaletteCodec::Read(std::span<const std::uint8_t> bytes) const
{
    TextLines lines(AsText(bytes));
    PaletteRead read;
    while (const auto line = lines.Next()) {
        if (line->empty() || line->starts_with(';'))
            continue;
        const auto color = ParseColorLine(*line);
        if (!color)
            return PaletteRead::Failure(lines.Problem(kExpectedColor));
        if (read.colors.size() < kMaxColors)
            read.colors.push_back(*color);
        ++read.count;
    }
    if (read.count == 0)
        return PaletteRead::Failure(std::string(kNoColor));
    return read;
}

std::string PaintNetPaletteCodec::Write(std::span<const ColorTriple> colors, std::string_view) const
{
    std::string text = "; paint.net Palette File\r\n"
                       "; Colors are written as 8-digit hexadecimal numbers: aarrggbb\r\n";
    for (const ColorTriple& entry : colors)
        text += "FF" + HexDigits(entry) + "\r\n";
    return text;
}

std::string PaintNetPaletteCodec::NoteOnWriting(std::size_t count) const
{
    if (count <= kColorsShown)
        return {};
    return "Paint.NET shows only the first " + std::to_string(kColorsShown) + " of the " +
           std::to_string(count) + " colours";
}

} // namespace palette_formats
