#pragma once

#include "framework/UserInterface.h"

// The colour chooser, asked through the current UserInterface.
class CColorDialog {
public:
    explicit CColorDialog(ColorRef initial = 0, unsigned flags = 0);

    // IDOK when the user confirmed a colour, IDCANCEL otherwise.
    int DoModal();
    // The chosen colour after IDOK; the initial colour before.
    ColorRef GetColor() const { return m_color; }

private:
    ColorRef m_color;
    unsigned m_flags;
};
