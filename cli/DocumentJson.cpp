#include "cli/DocumentJson.h"

#include "document/CPalvaneDoc.h"
#include "document/TableComparison.h"

#include <cstdio>
#include <optional>

namespace {

// The length of the valid UTF-8 sequence at `text[i]`, or 0.
std::size_t Utf8SequenceLength(const std::string& text, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned minimum = 0;
    unsigned code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, code = lead & 0x07u;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i + k) & 0x3Fu);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else if (c >= 0x80) {
            const std::size_t length = Utf8SequenceLength(text, i);
            if (length == 0) {
                out += "\\ufffd";
                ++i;
            } else {
                out.append(text, i, length);
                i += length;
            }
            continue;
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    return out + "\"";
}

std::string PaletteToHex(const std::array<ColorTriple, 256>& palette)
{
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(palette.size() * 6);
    for (const ColorTriple& entry : palette) {
        for (const std::uint8_t component : {entry.red, entry.green, entry.blue}) {
            hex += kHex[component >> 4];
            hex += kHex[component & 0x0F];
        }
    }
    return hex;
}

std::string StoredTablesToJson(const CPalvaneDoc& document)
{
    const DocumentTables& tables = document.GetTables();
    const std::optional<TableChanges> changes = tables.ChangesFor(document.m_palette);
    if (!changes.has_value())
        return "null";
    const bool translucency = changes->translucencyChanged >= 0;
    return std::string("{\"translucency\":") + (translucency ? "true" : "false") +
           ",\"lightChanges\":" + std::to_string(changes->lightChanged) +
           ",\"translucencyChanges\":" +
           (translucency ? std::to_string(changes->translucencyChanged) : "null") +
           ",\"madeFromPalette\":" + (tables.StoredAreForeign() ? "false" : "true") + "}";
}

std::string DocumentToJson(const CPalvaneDoc& document)
{
    return "{\"palette\":\"" + PaletteToHex(document.m_palette) +
           "\",\"selStart\":" + std::to_string(document.m_nSelStart) +
           ",\"selEnd\":" + std::to_string(document.m_nSelEnd) +
           ",\"modified\":" + (document.IsModified() ? "true" : "false") +
           ",\"title\":" + JsonString(document.GetTitle()) +
           ",\"path\":" + JsonString(document.GetPathName()) +
           ",\"storedTables\":" + StoredTablesToJson(document) + "}";
}
