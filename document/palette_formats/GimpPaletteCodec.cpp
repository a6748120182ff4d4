#include "document/palette_formats/GimpPaletteCodec.h"

#include "document/palette_formats/TextLines.h"

#include <cstdio>

namespace palette_formats {

namespace {

constexpr std::string_view kSignature = "GIMP Palette";

bool IsHeaderField(std::string_view line)
{
    return line.starts_with("Name:") || line.starts_with("Columns:");
}

} // namespace

Recognition GimpPaletteCodec::Recognize(std::span<const std::uint8_t> bytes) const
{
    return StartsWithWord(AsText(bytes), kSignature) ? Recognition::certain : Recognition::none;
}

PaletteRead GimpPaletteCodec::Read(std::span<const std::uint8_t> bytes) const
{
    TextLines lines(AsText(bytes));
    if (lines.Next() != kSignature)
        return PaletteRead::Failure(lines.Problem("expected \"GIMP Palette\""));
    PaletteRead read;
    while (const auto line = lines.Next()) {
        if (line->empty() || line->starts_with('#') || IsHeaderField(*line))
            continue;
        const auto color = ParseDecimalColor(SplitWords(*line));
        if (!color)
            return PaletteRead::Failure(lines.Problem(kExpectedThreeNumbers));
        if (read.colors.size() < kMaxColors)
            read.colors.push_back(*color);
        ++read.count;
    }
    if (read.count == 0)
        return PaletteRead::Failure(std::string(kNoColor));
    return read;
}

std::string GimpPaletteCodec::Write(std::span<const ColorTriple> colors,
                                    std::string_view title) const
{
    // A name is one line.
    std::string name(title.empty() ? "Palette" : title);
    for (char& c : name)
        if (c == '\n' || c == '\r')
            c = ' ';
    std::string text = std::string(kSignature) + "\nName: " + name + "\nColumns: 16\n#\n";
    int index = 0;
    for (const ColorTriple& entry : colors) {
        char line[40];
        const int length = std::snprintf(line, sizeof line, "%3d %3d %3d\tIndex %d\n", entry.red,
                                         entry.green, entry.blue, index++);
        text.append(line, static_cast<std::size_t>(length));
    }
    return text;
}

} // namespace palette_formats
