#include "tools/SamplePalette.h"

namespace {

double HueToComponent(double p, double q, double t)
{
    if (t < 0.0)
        t += 1.0;
    if (t > 1.0)
        t -= 1.0;
    if (t < 1.0 / 6.0)
        return p + (q - p) * 6.0 * t;
    if (t < 0.5)
        return q;
    if (t < 2.0 / 3.0)
        return p + (q - p) * (2.0 / 3.0 - t) * 6.0;
    return p;
}

std::uint8_t ToByte(double value)
{
    const double scaled = value * 255.0 + 0.5;
    return static_cast<std::uint8_t>(scaled < 0.0 ? 0.0 : scaled > 255.0 ? 255.0 : scaled);
}

// Hue in degrees, saturation and lightness from 0 to 1.
ColorTriple FromHsl(double hue, double saturation, double lightness)
{
    const double q = lightness < 0.5 ? lightness * (1.0 + saturation)
                                     : lightness + saturation - lightness * saturation;
    const double p = 2.0 * lightness - q;
    const double h = hue / 360.0;
    return ColorTriple(ToByte(HueToComponent(p, q, h + 1.0 / 3.0)), ToByte(HueToComponent(p, q, h)),
                       ToByte(HueToComponent(p, q, h - 1.0 / 3.0)));
}

} // namespace

std::array<ColorTriple, 256> MakeSamplePalette()
{
    std::array<ColorTriple, 256> palette{};
    for (int k = 0; k < 16; ++k) {
        const auto grey = static_cast<std::uint8_t>(k * 17);
        palette[k] = ColorTriple(grey, grey, grey);
        palette[16 + k] = FromHsl(28.0, 0.45, 0.06 + k * (0.80 / 15.0));
    }
    const double hues[14] = {0, 22, 40, 56, 84, 120, 160, 182, 205, 228, 252, 278, 305, 335};
    for (int ramp = 0; ramp < 14; ++ramp) {
        for (int k = 0; k < 16; ++k) {
            const double lightness = 0.07 + k * (0.84 / 15.0);
            const double saturation = 0.85 - (k > 11 ? (k - 11) * 0.08 : 0.0);
            palette[32 + ramp * 16 + k] = FromHsl(hues[ramp], saturation, lightness);
        }
    }
    return palette;
}
