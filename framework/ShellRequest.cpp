#include "framework/ShellRequest.h"

#include <array>
#include <utility>

namespace {

struct CommandSyntax {
    ShellRequest::Command command;
    std::string_view name;
    std::size_t arguments;
};

constexpr std::array<CommandSyntax, 4> kCommands{{
    {ShellRequest::Command::open, "open", 1},
    {ShellRequest::Command::print, "print", 1},
    {ShellRequest::Command::printTo, "printto", 4},
    {ShellRequest::Command::activate, "activate", 1},
}};

// The length of the UTF-8 sequence that starts `text` at `at`, or 0 when it
// is not a valid one (overlong forms, surrogates and values beyond U+10FFFF
// included).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned minimum = 0;
    unsigned value = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        minimum = 0x80;
        value = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        minimum = 0x800;
        value = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        minimum = 0x10000;
        value = lead & 0x07u;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0u) != 0x80u)
            return 0;
        value = (value << 6) | (byte(i) & 0x3Fu);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return length;
}

bool IsValidUtf8(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

// Reads one quoted argument at `at`, moving `at` past its closing quote.
std::optional<std::string> ReadQuoted(std::string_view text, std::size_t& at)
{
    if (at >= text.size() || text[at] != '"')
        return std::nullopt;
    std::string value;
    for (++at; at < text.size(); ++at) {
        char c = text[at];
        if (c == '"') {
            ++at;
            return value;
        }
        if (c == '\\') {
            if (++at == text.size() || (text[at] != '"' && text[at] != '\\'))
                return std::nullopt;
            c = text[at];
        }
        value += c;
    }
    return std::nullopt;
}

} // namespace

ShellRequest::ShellRequest(Command command, std::vector<std::string> arguments)
    : m_command(command), m_arguments(std::move(arguments))
{
}

std::string ShellRequest::Encode() const
{
    std::string text = "[";
    for (const CommandSyntax& syntax : kCommands)
        if (syntax.command == m_command)
            text += syntax.name;
    text += '(';
    for (std::size_t i = 0; i < m_arguments.size(); ++i) {
        if (i > 0)
            text += ',';
        text += '"';
        for (const char c : m_arguments[i]) {
            if (c == '"' || c == '\\')
                text += '\\';
            text += c;
        }
        text += '"';
    }
    text += ")]";
    return text;
}

std::optional<ShellRequest> ShellRequest::Parse(std::string_view text)
{
    if (!IsValidUtf8(text) || text.find('\0') != std::string_view::npos)
        return std::nullopt;
    if (text.size() < 2 || text.front() != '[')
        return std::nullopt;
    const std::size_t open = text.find('(');
    if (open == std::string_view::npos)
        return std::nullopt;
    const std::string_view name = text.substr(1, open - 1);
    for (const CommandSyntax& syntax : kCommands) {
        if (syntax.name != name)
            continue;
        std::vector<std::string> arguments;
        std::size_t at = open + 1;
        while (true) {
            std::optional<std::string> argument = ReadQuoted(text, at);
            if (!argument)
                return std::nullopt;
            arguments.push_back(std::move(*argument));
            if (at < text.size() && text[at] == ',') {
                ++at;
                continue;
            }
            break;
        }
        if (text.substr(at) != ")]" || arguments.size() != syntax.arguments ||
            arguments.front().empty())
            return std::nullopt;
        return ShellRequest(syntax.command, std::move(arguments));
    }
    return std::nullopt;
}
