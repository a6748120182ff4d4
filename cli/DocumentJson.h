#pragma once

#include <string>

#include "document/ColorTriple.h"

#include <array>

class CPalvaneDoc;

// A 256-colour palette as 1536 lowercase hex digits: red, green and blue of
// each entry in order.
std::string PaletteToHex(const std::array<ColorTriple, 256>& palette);

// The tables the document's file holds, as JSON: null when it holds none,
// otherwise whether it holds a translucency table, how many light and
// translucency entries a save changes (null for a table it does not hold),
// and whether they were made from the palette stored with them.
std::string StoredTablesToJson(const CPalvaneDoc& document);

// The document as one line of JSON: the palette as 1536 lowercase hex digits
// (red, green, blue per entry), the selection, the modified flag, the title,
// the path and the stored tables.
std::string DocumentToJson(const CPalvaneDoc& document);

// `text` as a JSON string literal, quotes included. Bytes that are not valid
// UTF-8 become U+FFFD.
std::string JsonString(const std::string& text);
