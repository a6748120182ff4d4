#pragma once

#include "document/ColorTriple.h"

#include <cstdint>

// What a document tells its views besides "anything may have changed" (hint
// 0), and the object each hint comes with. A view that knows no better may
// treat any of them as hint 0.

// The colour chooser is open on a cell and shows a colour not yet chosen; the
// palette itself is unchanged. The object is a const ColorBeingChosen.
inline constexpr std::intptr_t kHintColorBeingChosen = 0x100;
// The colour chooser was closed without a choice. No object.
inline constexpr std::intptr_t kHintColorChoiceEnded = 0x101;

struct ColorBeingChosen {
    int cell = 0;
    ColorTriple color;
};
