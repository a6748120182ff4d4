#pragma once

#include <optional>
#include <string>

// The clipboard, as text. The editor installs the system's clipboard; until
// a host installs one, the process keeps a clipboard of its own.
class Clipboard {
public:
    virtual ~Clipboard() = default;

    // The clipboard's text; nothing when it holds none.
    virtual std::optional<std::string> GetText() const = 0;
    // Replaces what the clipboard holds with `text`.
    virtual void SetText(const std::string& text) = 0;
};

// The clipboard in use; there is always one.
Clipboard& AfxGetClipboard();
// Installs `clipboard` (not owned, nullptr for the process's own) and
// returns the one installed before, nullptr for the process's own.
Clipboard* AfxSetClipboard(Clipboard* clipboard);
