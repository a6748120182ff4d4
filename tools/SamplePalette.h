#pragma once

#include "document/ColorTriple.h"

#include <array>

// The bundled sample colormap's palette: a grey ramp (0-15), an earth ramp
// (16-31) and fourteen ramps of hues from dark to light (32-255). Built with
// exact IEEE arithmetic only, so every platform makes the same bytes.
std::array<ColorTriple, 256> MakeSamplePalette();
