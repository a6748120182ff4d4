#include "framework/CColorDialog.h"

CColorDialog::CColorDialog(ColorRef initial, unsigned flags) : m_color(initial), m_flags(flags) {}

int CColorDialog::DoModal()
{
    ColorRef chosen = m_color;
    const int result = AfxGetUserInterface().PickColor(chosen, m_flags);
    if (result == IDOK)
        m_color = chosen & 0x00FFFFFFu;
    return result;
}
