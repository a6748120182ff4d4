#include "document/SelectionClick.h"

#include "document/CPalvaneDoc.h"

bool ApplySelectionClick(CPalvaneDoc& document, int index, bool shift)
{
    if (shift && document.m_nSelStart >= 0) {
        if (index <= document.m_nSelStart)
            return false;
        document.m_nSelEnd = index;
        return true;
    }
    document.m_nSelStart = index;
    document.m_nSelEnd = index;
    return true;
}
