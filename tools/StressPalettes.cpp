#include "tools/StressPalettes.h"

#include "tools/SamplePalette.h"

#include <cstdint>

namespace {

// A small generator of our own, so that the palettes do not depend on how a
// standard library maps random numbers into a range.
class Lcg {
public:
    explicit Lcg(std::uint32_t seed) : m_state(seed) {}
    std::uint8_t NextByte()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<std::uint8_t>(m_state >> 24);
    }
    ColorTriple NextColour() { return ColorTriple(NextByte(), NextByte(), NextByte()); }

private:
    std::uint32_t m_state;
};

} // namespace

std::vector<StressPalette> MakeStressPalettes()
{
    Lcg random(20261208);
    std::vector<StressPalette> out;

    StressPalette randomColours{"random", {}};
    for (ColorTriple& c : randomColours.palette)
        c = random.NextColour();
    out.push_back(randomColours);

    out.push_back({"sample", MakeSamplePalette()});

    StressPalette twelve{"twelve repeated", {}};
    std::array<ColorTriple, 12> colours;
    for (ColorTriple& c : colours)
        c = random.NextColour();
    for (std::size_t i = 0; i < twelve.palette.size(); ++i)
        twelve.palette[i] = colours[i % colours.size()];
    out.push_back(twelve);

    StressPalette grey{"grey ramp", {}};
    for (int i = 0; i < 256; ++i)
        grey.palette[i] = ColorTriple(i, i, i);
    out.push_back(grey);

    StressPalette allButOne{"all equal but one", {}};
    allButOne.palette.fill(ColorTriple(90, 140, 60));
    allButOne.palette[200] = ColorTriple(200, 30, 220);
    out.push_back(allButOne);
    return out;
}
