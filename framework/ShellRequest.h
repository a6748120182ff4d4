#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One request from the desktop to the running editor, written as
// [open("PATH")], [print("PATH")], [printto("PATH","PRINTER","DRIVER","PORT")]
// or [activate("TOKEN")] (the desktop's token for raising the window). Each
// argument is UTF-8 in double quotes, with '"' and '\' escaped by a '\'.
class ShellRequest {
public:
    enum class Command { open, print, printTo, activate };

    ShellRequest(Command command, std::vector<std::string> arguments);

    Command GetCommand() const { return m_command; }
    const std::vector<std::string>& GetArguments() const { return m_arguments; }
    // The document's path, for open, print and printto.
    const std::string& GetPath() const { return m_arguments.front(); }

    std::string Encode() const;
    // nullopt for anything but one well-formed request: an unknown command,
    // the wrong number of arguments, an empty first argument, a bad escape,
    // a NUL character, invalid UTF-8 or text after the closing bracket.
    static std::optional<ShellRequest> Parse(std::string_view text);

    bool operator==(const ShellRequest&) const = default;

private:
    Command m_command;
    std::vector<std::string> m_arguments;
};
