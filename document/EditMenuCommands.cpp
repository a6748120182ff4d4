// The Edit menu's commands on the palette: Copy and Paste through the
// clipboard as text, and Select All.

#include "document/CPalvaneDoc.h"
#include "document/palette_formats/PastedText.h"
#include "framework/CCmdUI.h"
#include "framework/Clipboard.h"
#include "framework/MessagePane.h"

#include <algorithm>
#include <span>
#include <string>

namespace {

constexpr const char* kNoText = "The Clipboard holds no text to paste.";

void ShowStatus(const std::string& text)
{
    if (MessagePane* pane = AfxGetMessagePane())
        pane->SetMessageText(text);
}

} // namespace

void CPalvaneDoc::OnUpdateEditCopy(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_nSelStart >= 0);
}

void CPalvaneDoc::OnEditCopy()
{
    const CellRun selection = Selection();
    if (selection.IsEmpty() || selection.last >= kPaletteSize)
        return; // the enable rule keeps the command from such a selection
    const std::span<const ColorTriple> run(m_palette.data() + selection.first,
                                           static_cast<std::size_t>(selection.Count()));
    AfxGetClipboard().SetText(palette_formats::WriteColorLines(run));
}

void CPalvaneDoc::OnEditPaste()
{
    const std::optional<std::string> text = AfxGetClipboard().GetText();
    if (!text.has_value()) {
        ShowStatus(kNoText);
        return;
    }
    const palette_formats::TextColors pasted = palette_formats::ReadPastedText(*text);
    if (pasted.colors.empty()) {
        ShowStatus(pasted.message);
        return;
    }
    const int first = std::max(m_nSelStart, 0);
    const int count = static_cast<int>(std::min<std::size_t>(
        pasted.colors.size(), static_cast<std::size_t>(kPaletteSize - first)));
    std::copy_n(pasted.colors.begin(), count, m_palette.begin() + first);
    const CellRun cells{first, first + count - 1};
    m_nSelStart = cells.first;
    m_nSelEnd = cells.last;
    NotifyPaletteChanged("Paste", cells);
    if (static_cast<std::size_t>(count) < pasted.colors.size())
        ShowStatus("Pasted " + std::to_string(count) + " of " +
                   std::to_string(pasted.colors.size()) + " colors: the palette ends at cell 255.");
    else if (!pasted.message.empty())
        ShowStatus(pasted.message);
    else
        ShowStatus("Pasted " + std::to_string(count) +
                   (count == 1 ? " color into cell " : " colors into cells ") + CellRunText(cells) +
                   ".");
}

void CPalvaneDoc::OnEditSelectAll()
{
    m_nSelStart = 0;
    m_nSelEnd = kPaletteSize - 1;
    // A new selection is no change of the document: it is not marked
    // modified, but every view shows the selection.
    UpdateAllViews(nullptr, 0, nullptr);
}
