#include "document/palette_formats/TextLines.h"

#include <charconv>

namespace palette_formats {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

} // namespace

TextLines::TextLines(std::string_view text) : m_rest(text)
{
    if (m_rest.starts_with(kByteOrderMark))
        m_rest.remove_prefix(kByteOrderMark.size());
}

std::optional<std::string_view> TextLines::Next()
{
    if (m_ended)
        return std::nullopt;
    const std::size_t end = m_rest.find('\n');
    std::string_view line = m_rest.substr(0, end);
    if (end == std::string_view::npos) {
        m_ended = true;
        // Text that ends in a line end has no further line after it.
        if (m_rest.empty())
            return std::nullopt;
    } else {
        m_rest.remove_prefix(end + 1);
    }
    ++m_number;
    if (line.ends_with('\r'))
        line.remove_suffix(1);
    return Trimmed(line);
}

std::string TextLines::Problem(std::string_view what) const
{
    return "line " + std::to_string(m_number) + ": " + std::string(what);
}

std::vector<std::string_view> SplitWords(std::string_view line, std::string_view separators)
{
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        const auto isSeparator = [&](char c) {
            return kBlanks.find(c) != std::string_view::npos ||
                   separators.find(c) != std::string_view::npos;
        };
        while (at < line.size() && isSeparator(line[at]))
            ++at;
        const std::size_t start = at;
        while (at < line.size() && !isSeparator(line[at]))
            ++at;
        if (at > start)
            words.push_back(line.substr(start, at - start));
    }
    return words;
}

bool StartsWithWord(std::string_view text, std::string_view word)
{
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    text = Trimmed(text.substr(0, text.find('\n')));
    if (text.ends_with('\r'))
        text = Trimmed(text.substr(0, text.size() - 1));
    return text == word;
}

std::optional<std::uint8_t> ParseComponent(std::string_view word)
{
    unsigned value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || error != std::errc() || end != word.data() + word.size() || value > 255)
        return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

std::optional<ColorTriple> ParseDecimalColor(const std::vector<std::string_view>& words)
{
    if (words.size() < 3)
        return std::nullopt;
    const auto red = ParseComponent(words[0]);
    const auto green = ParseComponent(words[1]);
    const auto blue = ParseComponent(words[2]);
    if (!red || !green || !blue)
        return std::nullopt;
    return ColorTriple(*red, *green, *blue);
}

std::optional<std::uint32_t> ParseHex(std::string_view word, std::size_t digits)
{
    std::uint32_t value = 0;
    if (word.size() != digits)
        return std::nullopt;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, 16);
    if (error != std::errc() || end != word.data() + word.size())
        return std::nullopt;
    return value;
}

std::string HexDigits(const ColorTriple& color)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string digits;
    for (const std::uint8_t component : {color.red, color.green, color.blue}) {
        digits += kDigits[component >> 4];
        digits += kDigits[component & 15];
    }
    return digits;
}

} // namespace palette_formats
