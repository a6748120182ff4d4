// The batch search behind the colormap tables must give exactly what the
// plain scan gives, ties included, whatever the palette.

#include "document/NearestColorSearch.h"
#include "document/CPalvaneDoc.h"
#include "tools/StressPalettes.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

std::vector<StressPalette> PalettesToTry()
{
    std::vector<StressPalette> palettes = MakeStressPalettes();
    std::mt19937 rng(77);
    StressPalette ties{"two colours side by side", {}};
    for (std::size_t i = 0; i < ties.palette.size(); ++i) // every midpoint ties
        ties.palette[i] = i % 2 ? ColorTriple(100, 100, 100) : ColorTriple(102, 100, 100);
    palettes.push_back(ties);
    StressPalette clustered{"clustered near grey", {}};
    for (ColorTriple& c : clustered.palette)
        c = ColorTriple(120 + rng() % 16, 120 + rng() % 16, 120 + rng() % 16);
    palettes.push_back(clustered);
    StressPalette corners{"corners of the cube", {}};
    for (std::size_t i = 0; i < corners.palette.size(); ++i)
        corners.palette[i] = ColorTriple(i & 1 ? 255 : 0, i & 2 ? 255 : 0, i & 4 ? 255 : 0);
    palettes.push_back(corners);
    return palettes;
}

// Colours spread over the cube, the palette itself, its mixes and colours
// packed densely around one spot, in no particular order and with repeats.
std::vector<ColorTriple> TargetsFor(const NearestColorSearch::Palette& palette)
{
    std::vector<ColorTriple> targets;
    for (int r = 0; r < 256; r += 5)
        for (int g = 2; g < 256; g += 7)
            for (int b = 1; b < 256; b += 6)
                targets.emplace_back(r, g, b);
    for (const ColorTriple& a : palette) {
        targets.push_back(a);
        for (int k = 0; k < 256; k += 37) {
            const ColorTriple& b = palette[k];
            targets.emplace_back((a.red + b.red) >> 1, (a.green + b.green) >> 1,
                                 (a.blue + b.blue) >> 1);
        }
    }
    for (int r = 96; r < 112; ++r)
        for (int g = 96; g < 112; ++g)
            for (int b = 96; b < 112; ++b)
                targets.emplace_back(r, g, b);
    std::shuffle(targets.begin(), targets.end(), std::mt19937(5));
    return targets;
}

TEST(NearestColorSearchTest, AgreesWithThePlainScanOnEveryPalette)
{
    for (const StressPalette& stress : PalettesToTry()) {
        CPalvaneDoc document;
        document.m_palette = stress.palette;
        NearestColorSearch search(stress.palette);
        const std::vector<ColorTriple> targets = TargetsFor(stress.palette);
        std::vector<std::uint8_t> indices;
        search.FindAll(targets, indices);
        ASSERT_EQ(indices.size(), targets.size());
        for (std::size_t i = 0; i < targets.size(); ++i) {
            const ColorTriple& t = targets[i];
            ASSERT_EQ(indices[i], document.FindNearestColor(t))
                << stress.name << ": (" << +t.red << ", " << +t.green << ", " << +t.blue << ")";
        }
        // The same search answers again, and answers an empty request.
        std::vector<std::uint8_t> again;
        search.FindAll(targets, again);
        EXPECT_EQ(again, indices) << stress.name;
        search.FindAll({}, again);
        EXPECT_TRUE(again.empty());
    }
}

} // namespace
