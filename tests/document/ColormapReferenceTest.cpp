// Saves colormaps through the document and compares every byte with a plain,
// deliberately naive rebuild of the file written next to the tests.

#include "document/CPalvaneDoc.h"
#include "framework/ScriptedUserInterface.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"
#include "tools/StressPalettes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using Palette = std::array<ColorTriple, 256>;

int ReferenceNearest(const Palette& pal, int r, int g, int b)
{
    auto distance = [&](int i) {
        const int dr = pal[i].red - r, dg = pal[i].green - g, db = pal[i].blue - b;
        return dr * dr + dg * dg + db * db;
    };
    int best = 0;
    int bestDistance = distance(0);
    for (int i = 1; i < 256; ++i) {
        if (const int d = distance(i); d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

Bytes ReferenceColormap(const Palette& pal, bool transparency)
{
    Bytes out{'C', 'M', 'P', ' '};
    auto put32 = [&](std::uint32_t v) {
        for (int k = 0; k < 4; ++k)
            out.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
    };
    put32(30);
    put32(transparency ? 1 : 0);
    out.resize(64, 0);
    for (const ColorTriple& c : pal)
        out.insert(out.end(), {c.red, c.green, c.blue});
    // The light step is the double nearest 1/63; a level's scale is level times it.
    const double step = std::bit_cast<double>(std::uint64_t{0x3F90410410410410});
    for (int level = 0; level < 64; ++level) {
        const double s = level * step;
        for (int j = 0; j < 256; ++j) {
            const ColorTriple& c = pal[j];
            out.push_back(j < 32 ? j
                                 : ReferenceNearest(pal, static_cast<int>(c.red * s),
                                                    static_cast<int>(c.green * s),
                                                    static_cast<int>(c.blue * s)));
        }
    }
    if (transparency) {
        for (int a = 0; a < 256; ++a)
            for (int b = 0; b < 256; ++b)
                out.push_back(ReferenceNearest(pal, (pal[a].red + pal[b].red) >> 1,
                                               (pal[a].green + pal[b].green) >> 1,
                                               (pal[a].blue + pal[b].blue) >> 1));
    }
    return out;
}

// Empty when equal; otherwise names the first differing byte by its place in the file.
std::string FirstDifference(const Bytes& expected, const Bytes& actual)
{
    if (expected.size() != actual.size())
        return "size " + std::to_string(actual.size()) + ", expected " +
               std::to_string(expected.size());
    const auto at = std::mismatch(expected.begin(), expected.end(), actual.begin());
    if (at.first == expected.end())
        return {};
    const int offset = static_cast<int>(at.first - expected.begin());
    std::string where = "offset " + std::to_string(offset);
    if (offset >= 832 + 64 * 256)
        where += " (transparency a=" + std::to_string((offset - 17216) / 256) +
                 " b=" + std::to_string((offset - 17216) % 256) + ")";
    else if (offset >= 832)
        where += " (light level " + std::to_string((offset - 832) / 256) + " entry " +
                 std::to_string((offset - 832) % 256) + ")";
    return where + ": " + std::to_string(*at.second) + ", expected " + std::to_string(*at.first);
}

Bytes SaveThroughDocument(const Palette& pal, bool transparency)
{
    ScriptedUserInterface ui;
    ScopedUserInterface installed(ui);
    ui.SetStandingAnswer(CPalvaneDoc::kTransparencyQuestion, transparency ? IDYES : IDNO);
    CPalvaneDoc doc;
    doc.m_palette = pal;
    TempFolder folder;
    const std::string path = folder / "saved.cmp";
    EXPECT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(ui.MessagesShown(), std::vector<std::string>{CPalvaneDoc::kTransparencyQuestion});
    return ReadFileBytes(path);
}

Palette RandomPalette(std::mt19937& rng, int low = 0, int high = 255)
{
    std::uniform_int_distribution<int> component(low, high);
    Palette pal;
    for (ColorTriple& c : pal)
        c = ColorTriple(component(rng), component(rng), component(rng));
    return pal;
}

// Palettes where the lowest-index rule decides most lookups.
std::vector<std::pair<std::string, Palette>> TiePalettes()
{
    std::mt19937 rng(1234);
    std::vector<std::pair<std::string, Palette>> out;
    for (int distinct : {4, 5, 8}) {
        const Palette colours = RandomPalette(rng);
        Palette pal;
        for (ColorTriple& c : pal)
            c = colours[rng() % distinct];
        out.emplace_back("few colours " + std::to_string(distinct), pal);
    }
    Palette lowRepeatsHigh = RandomPalette(rng);
    for (int i = 0; i < 32; ++i)
        lowRepeatsHigh[i] = lowRepeatsHigh[32 + rng() % 224];
    for (int i = 200; i < 256; ++i)
        lowRepeatsHigh[i] = lowRepeatsHigh[32 + rng() % 168];
    out.emplace_back("low indices repeat high ones", lowRepeatsHigh);
    Palette aroundGrey;
    for (ColorTriple& c : aroundGrey) {
        std::array<int, 3> v{128, 128, 128};
        v[rng() % 3] += (rng() % 2) ? 1 : -1;
        c = ColorTriple(v[0], v[1], v[2]);
    }
    out.emplace_back("one step around grey", aroundGrey);
    Palette evenGreys; // midpoints of neighbouring greys tie between two entries
    for (int i = 0; i < 256; ++i)
        evenGreys[i] = ColorTriple((i % 128) * 2, (i % 128) * 2, (i % 128) * 2);
    std::shuffle(evenGreys.begin(), evenGreys.end(), rng);
    out.emplace_back("shuffled even greys", evenGreys);
    for (const ColorTriple c :
         {ColorTriple(0, 0, 0), ColorTriple(255, 255, 255), ColorTriple(128, 64, 32)}) {
        Palette same;
        same.fill(c);
        out.emplace_back("all equal", same);
    }
    for (const StressPalette& stress : MakeStressPalettes())
        out.emplace_back(stress.name, stress.palette);
    return out;
}

TEST(ColormapReference, RandomPalettesMatchByteForByte)
{
    std::mt19937 rng(20240611);
    for (int n = 0; n < 24; ++n) {
        const bool transparency = n < 20;
        // Some palettes stay dark so that the scaled colours land among real entries.
        const Palette pal = n % 3 == 2 ? RandomPalette(rng, 0, 40) : RandomPalette(rng);
        const Bytes expected = ReferenceColormap(pal, transparency);
        ASSERT_EQ(expected.size(), transparency ? 82752u : 17216u);
        EXPECT_EQ(FirstDifference(expected, SaveThroughDocument(pal, transparency)), "")
            << "palette " << n << (transparency ? " with" : " without") << " transparency";
    }
}

TEST(ColormapReference, PalettesWithDuplicatesAndTiesMatchByteForByte)
{
    for (const auto& [name, pal] : TiePalettes())
        for (const bool transparency : {true, false})
            EXPECT_EQ(FirstDifference(ReferenceColormap(pal, transparency),
                                      SaveThroughDocument(pal, transparency)),
                      "")
                << name << (transparency ? " with" : " without") << " transparency";
}

TEST(ColormapReference, FindNearestColorAgreesWithReference)
{
    std::mt19937 rng(99);
    auto palettes = TiePalettes();
    palettes.emplace_back("random", RandomPalette(rng));
    for (const auto& [name, pal] : palettes) {
        CPalvaneDoc doc;
        doc.m_palette = pal;
        std::vector<ColorTriple> targets(pal.begin(), pal.end());
        for (int i = 0; i < 1000; ++i)
            targets.emplace_back(rng() % 256, rng() % 256, rng() % 256);
        for (int i = 0; i < 300; ++i) // near the grey the tie palettes crowd around
            targets.emplace_back(126 + rng() % 5, 126 + rng() % 5, 126 + rng() % 5);
        for (const ColorTriple& t : targets)
            ASSERT_EQ(doc.FindNearestColor(t), ReferenceNearest(pal, t.red, t.green, t.blue))
                << name << " target (" << +t.red << "," << +t.green << "," << +t.blue << ")";
    }
}

TEST(ColormapReference, TablesKeepTheirInvariants)
{
    const auto levelByte = [](const Bytes& file, int level, int j) {
        return file[832 + level * 256 + j];
    };
    for (const auto& [name, pal] : TiePalettes()) {
        const Bytes file = SaveThroughDocument(pal, true);
        ASSERT_EQ(file.size(), 82752u) << name;
        const std::uint8_t* table = file.data() + 17216;
        for (int a = 0; a < 256; ++a) {
            for (int b = 0; b < a; ++b)
                ASSERT_EQ(table[a * 256 + b], table[b * 256 + a])
                    << name << " a=" << a << " b=" << b;
            const int firstSame =
                static_cast<int>(std::find(pal.begin(), pal.end(), pal[a]) - pal.begin());
            ASSERT_EQ(table[a * 256 + a], firstSame) << name << " a=" << a;
            if (a < 32) {
                for (int level : {0, 17, 63}) {
                    ASSERT_EQ(levelByte(file, level, a), a) << name << " level " << level;
                }
            } else {
                ASSERT_EQ(levelByte(file, 63, a), firstSame) << name << " entry " << a;
            }
        }
    }

    // Scaling truncates level × (nearest double to 1/63), which falls just short
    // of whole numbers that level / 63 would reach exactly.
    std::mt19937 rng(7);
    Palette pal = RandomPalette(rng, 150, 255);
    pal[40] = ColorTriple(21, 21, 21);
    pal[41] = ColorTriple(63, 63, 63);
    pal[100] = ColorTriple(10, 10, 10);
    pal[101] = ColorTriple(11, 11, 11);
    pal[102] = ColorTriple(36, 36, 36);
    pal[103] = ColorTriple(37, 37, 37);
    const Bytes file = SaveThroughDocument(pal, false);
    ASSERT_EQ(file.size(), 17216u);
    EXPECT_EQ(levelByte(file, 33, 40), 100);
    EXPECT_EQ(levelByte(file, 37, 41), 102);
    EXPECT_EQ(levelByte(file, 63, 40), 40);
    EXPECT_EQ(levelByte(file, 63, 41), 41);
}

// One document edited and saved again and again: each save makes its tables
// from those of the save before, which must not change a byte.
struct EditStep {
    const char* name;
    void (*edit)(Palette& pal, std::mt19937& rng);
    bool transparency;
};

const EditStep kEditSteps[] = {
    {"nothing changes", [](Palette&, std::mt19937&) {}, true},
    {"one entry",
     [](Palette& pal, std::mt19937& rng) { pal[40 + rng() % 200] = RandomPalette(rng)[0]; }, true},
    {"one entry takes another's colour",
     [](Palette& pal, std::mt19937& rng) { pal[200 + rng() % 56] = pal[rng() % 100]; }, true},
    {"an entry below 32 repeats a later one",
     [](Palette& pal, std::mt19937& rng) { pal[rng() % 32] = pal[32 + rng() % 224]; }, true},
    {"the darkest entry moves",
     [](Palette& pal, std::mt19937&) {
         const auto darkest = std::min_element(pal.begin(), pal.end(), [](auto& a, auto& b) {
             return a.red + a.green + a.blue < b.red + b.green + b.blue;
         });
         *darkest = ColorTriple(90, 200, 30);
     },
     true},
    {"without transparency", [](Palette& pal, std::mt19937& rng) { pal[rng() % 256] = {}; }, false},
    {"transparency again after an edit",
     [](Palette& pal, std::mt19937& rng) { pal[rng() % 256] = ColorTriple(1, 2, 3); }, true},
    {"32 entries",
     [](Palette& pal, std::mt19937& rng) {
         for (int i = 0; i < 32; ++i)
             pal[(i * 7 + rng()) % 256] = RandomPalette(rng, 0, 60)[0];
     },
     true},
    {"33 entries",
     [](Palette& pal, std::mt19937& rng) {
         const Palette other = RandomPalette(rng);
         std::copy_n(other.begin(), 33, pal.begin() + rng() % 200);
     },
     true},
    {"a gradient's worth",
     [](Palette& pal, std::mt19937&) { pal.fill(ColorTriple(128, 128, 128)); }, true},
    {"one entry back to black", [](Palette& pal, std::mt19937&) { pal[77] = {}; }, false},
};

TEST(ColormapReference, SavesAfterEachEditMatchByteForByte)
{
    std::mt19937 rng(31337);
    std::vector<std::pair<std::string, Palette>> starts = {{"random", RandomPalette(rng)},
                                                           {"dark", RandomPalette(rng, 0, 40)}};
    for (const auto& [name, pal] : TiePalettes())
        if (name.starts_with("few colours") || name == "sample")
            starts.emplace_back(name, pal);
    ScriptedUserInterface ui;
    ScopedUserInterface installed(ui);
    TempFolder folder;
    for (const auto& [name, start] : starts) {
        CPalvaneDoc doc;
        doc.m_palette = start;
        for (const EditStep& step : kEditSteps) {
            step.edit(doc.m_palette, rng);
            ui.QueueMessageBoxAnswer(step.transparency ? IDYES : IDNO);
            ASSERT_TRUE(doc.OnSaveDocument(folder / "saved.cmp"));
            EXPECT_EQ(FirstDifference(ReferenceColormap(doc.m_palette, step.transparency),
                                      ReadFileBytes(folder / "saved.cmp")),
                      "")
                << name << ", then " << step.name;
        }
    }
}

} // namespace
