#pragma once

#include <string>

#include "document/ColorTriple.h"

#include <array>

class CPalvaneDoc;

// A 256-colour palette as 1536 lowercase hex digits: red, green and blue of
// each entry in order.
std::string PaletteToHex(const std::array<ColorTriple, 256>& palette);

// The document as one line of JSON: the palette as 1536 lowercase hex digits
// (red, green, blue per entry), the selection, the modified flag, the title
// and the path.
std::string DocumentToJson(const CPalvaneDoc& document);

// `text` as a JSON string literal, quotes included. Bytes that are not valid
// UTF-8 become U+FFFD.
std::string JsonString(const std::string& text);
