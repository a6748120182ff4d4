// The Edit menu's commands on the palette.

#include "document/CPalvaneDoc.h"

void CPalvaneDoc::OnEditSelectAll()
{
    m_nSelStart = 0;
    m_nSelEnd = kPaletteSize - 1;
    // A new selection is no change of the document: it is not marked
    // modified, but every view shows the selection.
    UpdateAllViews(nullptr, 0, nullptr);
}
