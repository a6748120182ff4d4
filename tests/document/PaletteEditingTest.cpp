// Gradient and Colorize through the document's command map, byte for byte.

#include "res/CommandIds.h"
#include "tests/support/ColormapFixtures.h"

#include <cmath>
#include <random>
#include <utility>
#include <vector>

namespace {

using Palette = std::array<ColorTriple, CPalvaneDoc::kPaletteSize>;

class PaletteEditingTest : public PaletteCommandTest {};

TEST_F(PaletteEditingTest, EnableRulesFollowTheSelection)
{
    struct Row {
        int start, end;
        bool gradient, colorize;
    };
    for (const Row& row : {Row{-1, -1, false, false}, Row{7, 7, false, true}, Row{7, 8, true, true},
                           Row{0, 255, true, true}}) {
        Select(row.start, row.end);
        EXPECT_EQ(IsEnabled(ID_PALETTE_GRADIENT), row.gradient) << row.start << ":" << row.end;
        EXPECT_EQ(IsEnabled(ID_PALETTE_COLORIZE), row.colorize) << row.start << ":" << row.end;
        for (unsigned always : {ID_FILE_EXPORT_JASC, ID_FILE_EXPORT_DFPAL, ID_FILE_IMPORT_DFPAL})
            EXPECT_TRUE(IsEnabled(always));
    }
    EXPECT_FALSE(IsEnabled(ID_FILE_PRINT)) << "not the document's command";

    // A disabled command does nothing, whoever sends it.
    Select(7, 7);
    EXPECT_TRUE(document.OnCommand(ID_PALETTE_GRADIENT));
    Select(-1, -1);
    EXPECT_TRUE(document.OnCommand(ID_PALETTE_COLORIZE));
    ExpectUnchanged();
    EXPECT_TRUE(ui.Asked().empty());
}

struct GradientCase {
    int start, end;
    ColorTriple first, last;
    std::vector<std::pair<int, ColorTriple>> expected;
};

class GradientTest : public PaletteCommandTest, public testing::WithParamInterface<GradientCase> {};

TEST_P(GradientTest, BlendsTheInsideOfTheRunTowardsTheStart)
{
    const GradientCase& row = GetParam();
    document.m_palette[row.start] = row.first;
    document.m_palette[row.end] = row.last;
    const Palette before = document.m_palette;
    Select(row.start, row.end);
    EXPECT_TRUE(document.OnCommand(ID_PALETTE_GRADIENT));
    for (int i = 0; i < CPalvaneDoc::kPaletteSize; ++i) {
        if (i <= row.start || i >= row.end) {
            EXPECT_EQ(document.m_palette[i], before[i]) << "entry " << i;
        }
    }
    for (const auto& [index, colour] : row.expected)
        EXPECT_EQ(document.m_palette[index], colour) << "entry " << index;
    ExpectChangedOnce();
    EXPECT_EQ(std::make_pair(document.m_nSelStart, document.m_nSelEnd),
              std::make_pair(row.start, row.end));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, GradientTest,
    testing::Values(
        // 0 to 10 and 10 to 0 four cells apart: 2, 5, 7 and 8, 5, 3.
        GradientCase{
            0, 4, {0, 10, 0}, {10, 0, 0}, {{1, {2, 8, 0}}, {2, {5, 5, 0}}, {3, {7, 3, 0}}}},
        GradientCase{0, 3, {0, 0, 0}, {255, 255, 255}, {{1, {85, 85, 85}}, {2, {170, 170, 170}}}},
        // 21 × (-255 / 105) is -50.99999999999999 and truncates to -50.
        GradientCase{0, 105, {255, 0, 0}, {0, 0, 0}, {{21, {205, 0, 0}}}},
        // Nothing lies between two adjacent cells, yet the document changes.
        GradientCase{20, 21, {1, 2, 3}, {200, 100, 0}, {}}));

struct ColorizeCase {
    ColorTriple entry, chosen, expected;
};

class ColorizeTest : public PaletteCommandTest, public testing::WithParamInterface<ColorizeCase> {};

TEST_P(ColorizeTest, KeepsBrightnessAndTakesTheChosenHue)
{
    const ColorizeCase& row = GetParam();
    document.m_palette[40] = row.entry;
    Palette expected = document.m_palette;
    expected[40] = row.expected;
    Select(40, 40);
    ui.QueueColor(row.chosen.ToColorRef());
    EXPECT_TRUE(document.OnCommand(ID_PALETTE_COLORIZE));
    EXPECT_EQ(document.m_palette, expected);
    ExpectChangedOnce();
    ASSERT_EQ(ui.Asked().size(), 1u);
    EXPECT_EQ(ui.Asked()[0].kind, ScriptedUserInterface::Kind::color);
    EXPECT_EQ(ui.Asked()[0].color, 0x808080u);
    EXPECT_EQ(ui.Asked()[0].type, 0x103u);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ColorizeTest,
    testing::Values(ColorizeCase{{127, 127, 127}, {255, 0, 0}, {253, 0, 0}},
                    ColorizeCase{{64, 64, 64}, {0, 128, 255}, {0, 64, 128}},
                    ColorizeCase{{200, 100, 50}, {255, 0, 0}, {255, 9, 9}},
                    ColorizeCase{{255, 0, 0}, {100, 150, 200}, {123, 166, 208}},
                    ColorizeCase{{0, 0, 0}, {10, 200, 30}, {0, 0, 0}},
                    ColorizeCase{{255, 255, 255}, {10, 200, 30}, {255, 255, 255}},
                    ColorizeCase{{128, 128, 128}, {10, 200, 30}, {10, 200, 30}},
                    ColorizeCase{{128, 128, 128}, {255, 255, 0}, {255, 255, 0}}));

TEST_F(PaletteEditingTest, CancelledColorizeStillCountsAsAChange)
{
    const Palette before = document.m_palette;
    Select(0, 255);
    ui.QueueCancel(ScriptedUserInterface::Kind::color);
    EXPECT_TRUE(document.OnCommand(ID_PALETTE_COLORIZE));
    EXPECT_EQ(document.m_palette, before);
    ExpectChangedOnce();
}

// The operations as plainly as they can be written, to compare against.
std::uint8_t ReferenceGradient(int first, int last, int start, int end, int i)
{
    const double step = double(last - first) / double(end - start);
    return std::uint8_t(first + int(double(i - start) * step));
}

ColorTriple ReferenceColorize(ColorTriple entry, ColorTriple k)
{
    const double u = std::sqrt(double(entry.red * entry.red + entry.green * entry.green +
                                      entry.blue * entry.blue)) /
                     std::sqrt(3.0 * 255 * 255);
    auto component = [u](int c) {
        return std::uint8_t(u > 0.5 ? c + int((u - 0.5) * 2 * (255 - c)) : int(u * 2 * c));
    };
    return {component(k.red), component(k.green), component(k.blue)};
}

TEST_F(PaletteEditingTest, AgreesWithAPlainReferenceOnRandomPalettes)
{
    std::mt19937 random(8);
    auto byte = [&] { return std::uint8_t(random() & 0xFF); };
    for (int trial = 0; trial < 400; ++trial) {
        Palette palette;
        for (ColorTriple& entry : palette)
            entry = {byte(), byte(), byte()};
        const int a = int(random() % 256);
        const int b = int(random() % 256);
        const int start = std::min(a, b);
        const int end = std::max(a, b);
        Palette expected = palette;
        Select(start, end);
        document.m_palette = palette;
        if (trial % 2 == 0) {
            if (start == end)
                continue;
            for (int i = start + 1; i < end; ++i)
                expected[i] = {
                    ReferenceGradient(palette[start].red, palette[end].red, start, end, i),
                    ReferenceGradient(palette[start].green, palette[end].green, start, end, i),
                    ReferenceGradient(palette[start].blue, palette[end].blue, start, end, i)};
            document.OnCommand(ID_PALETTE_GRADIENT);
        } else {
            const ColorTriple chosen(byte(), byte(), byte());
            for (int i = start; i <= end; ++i)
                expected[i] = ReferenceColorize(palette[i], chosen);
            ui.QueueColor(chosen.ToColorRef());
            document.OnCommand(ID_PALETTE_COLORIZE);
        }
        ASSERT_EQ(document.m_palette, expected) << "trial " << trial;
    }
}

} // namespace
