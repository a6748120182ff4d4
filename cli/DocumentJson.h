#pragma once

#include <string>

class CPalvaneDoc;

// The document as one line of JSON: the palette as 1536 lowercase hex digits
// (red, green, blue per entry), the selection, the modified flag, the title
// and the path.
std::string DocumentToJson(const CPalvaneDoc& document);

// `text` as a JSON string literal, quotes included. Bytes that are not valid
// UTF-8 become U+FFFD.
std::string JsonString(const std::string& text);
