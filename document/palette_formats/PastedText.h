#pragma once

#include "document/ColorTriple.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

// Colours as text on the clipboard: what Copy puts there and Paste reads.
namespace palette_formats {

// The colours of a text, or why there are none.
struct TextColors {
    std::vector<ColorTriple> colors; // in text order, at most 256
    std::string message;             // why, when colors is empty; otherwise a warning or empty
};

// Reads colours as people paste them: a list of colours (one per line, or
// separated by blanks or commas; "#RRGGBB", "RRGGBB", "0xRRGGBB" or three
// numbers 0 to 255; comments and blank lines skipped), or a whole JASC-PAL,
// GIMP or Paint.NET palette. Text with a line that is none of these gives
// no colours, and the message names that line.
TextColors ReadPastedText(std::string_view text);

// "#RRGGBB\n" for each colour, in order, in upper case.
std::string WriteColorLines(std::span<const ColorTriple> colors);

} // namespace palette_formats
