#pragma once

#include "document/ColorTriple.h"

#include <array>
#include <string>
#include <vector>

// Palettes that make a nearest-colour search work hard or meet many ties:
// random colours, the bundled sample, twelve colours repeated, a grey ramp,
// and every entry equal but one. The same seed gives the same palettes on
// every platform.
struct StressPalette {
    std::string name;
    std::array<ColorTriple, 256> palette;
};

std::vector<StressPalette> MakeStressPalettes();
