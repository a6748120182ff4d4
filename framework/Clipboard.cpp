#include "framework/Clipboard.h"

namespace {

// Where a front end without a system clipboard keeps the text.
class ProcessClipboard final : public Clipboard {
public:
    std::optional<std::string> GetText() const override { return m_text; }
    void SetText(const std::string& text) override { m_text = text; }

private:
    std::optional<std::string> m_text;
};

ProcessClipboard g_processClipboard;
Clipboard* g_installedClipboard = nullptr;

} // namespace

Clipboard& AfxGetClipboard()
{
    return g_installedClipboard != nullptr ? *g_installedClipboard : g_processClipboard;
}

Clipboard* AfxSetClipboard(Clipboard* clipboard)
{
    Clipboard* previous = g_installedClipboard;
    g_installedClipboard = clipboard;
    return previous;
}
