#pragma once

#include "framework/UserInterface.h"

#include <functional>
#include <utility>

// The colour chooser, asked through the current UserInterface.
class CColorDialog {
public:
    explicit CColorDialog(ColorRef initial = 0, unsigned flags = 0);

    // Told each colour the chooser shows while it is open, before the user
    // confirms one (nothing: not told).
    void SetColorFollower(std::function<void(ColorRef)> follower)
    {
        m_follower = std::move(follower);
    }

    // IDOK when the user confirmed a colour, IDCANCEL otherwise.
    int DoModal();
    // The chosen colour after IDOK; the initial colour before.
    ColorRef GetColor() const { return m_color; }

private:
    ColorRef m_color;
    unsigned m_flags;
    std::function<void(ColorRef)> m_follower;
};
