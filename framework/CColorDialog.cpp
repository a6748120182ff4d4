#include "framework/CColorDialog.h"

CColorDialog::CColorDialog(ColorRef initial, unsigned flags) : m_color(initial), m_flags(flags) {}

int CColorDialog::DoModal()
{
    ColorRef chosen = m_color;
    UserInterface& ui = AfxGetUserInterface();
    const int result = m_follower ? ui.PickColorFollowing(chosen, m_flags, m_follower)
                                  : ui.PickColor(chosen, m_flags);
    if (result == IDOK)
        m_color = chosen & 0x00FFFFFFu;
    return result;
}
