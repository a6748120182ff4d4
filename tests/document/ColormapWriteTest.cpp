#include "document/CmpFormat.h"
#include "tests/support/ColormapFixtures.h"
#include "tools/SamplePalette.h"

#include <random>

namespace {

using ColormapWriteTest = ColormapTest;

std::uint8_t LightLevelByte(const Bytes& file, int level, int index)
{
    return file[832 + 256 * level + index];
}

// Gives the document a palette of distinct colours, none close to black or to grey.
void MakeDistinct(CPalvaneDoc& document)
{
    for (int i = 0; i < 256; ++i)
        document.m_palette[i] = ColorTriple(static_cast<std::uint8_t>(i), 255, 0);
}

} // namespace

TEST_F(ColormapWriteTest, GreyPaletteWithoutTransparency)
{
    CPalvaneDoc document;
    ASSERT_TRUE(document.OnNewDocument());
    const Bytes file = Save(document, false);
    ASSERT_EQ(file.size(), 17216u);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 8),
              (Bytes{0x43, 0x4D, 0x50, 0x20, 0x1E, 0, 0, 0}));
    EXPECT_EQ(Bytes(file.begin() + 8, file.begin() + 64), Bytes(56, 0));
    EXPECT_EQ(Bytes(file.begin() + 64, file.begin() + 832), Bytes(768, 0x80));
    // Every entry ties with entry 0, and the lowest index wins.
    Bytes table(256, 0);
    for (int j = 0; j < 32; ++j)
        table[j] = static_cast<std::uint8_t>(j);
    for (int level = 0; level < 64; ++level)
        EXPECT_EQ(Bytes(file.begin() + 832 + 256 * level, file.begin() + 1088 + 256 * level), table)
            << "level " << level;
    EXPECT_FALSE(document.IsModified());
}

TEST_F(ColormapWriteTest, GreyPaletteWithTransparency)
{
    CPalvaneDoc document;
    ASSERT_TRUE(document.OnNewDocument());
    const Bytes without = Save(document, false, "without.cmp");
    const Bytes file = Save(document, true);
    ASSERT_EQ(file.size(), 82752u);
    EXPECT_EQ(Bytes(file.begin() + 8, file.begin() + 12), (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(Bytes(file.begin() + 12, file.begin() + 17216),
              Bytes(without.begin() + 12, without.end()));
    EXPECT_EQ(Bytes(file.begin() + 17216, file.end()), Bytes(65536, 0));
}

TEST_F(ColormapWriteTest, AsksAboutTransparencyOnEverySave)
{
    CPalvaneDoc document;
    Save(document, true);
    Save(document, false);
    Save(document, true);
    ASSERT_EQ(ui.Asked().size(), 3u);
    for (const auto& question : ui.Asked()) {
        EXPECT_EQ(question.text, "Would you like to encode transparency information?");
        EXPECT_EQ(question.type, MB_YESNO | MB_ICONQUESTION);
    }
}

TEST_F(ColormapWriteTest, LevelZeroMapsToTheLowestIndexNearestBlack)
{
    CPalvaneDoc document;
    MakeDistinct(document);
    document.m_palette[90] = ColorTriple(0, 1, 0);
    document.m_palette[70] = ColorTriple(1, 0, 0);
    document.m_palette[200] = ColorTriple(0, 0, 1);
    const Bytes file = Save(document, false);
    for (int j = 32; j < 256; ++j)
        ASSERT_EQ(LightLevelByte(file, 0, j), 70) << j;
}

TEST_F(ColormapWriteTest, LevelsScaleByTheProductWithTheStepNotByDivision)
{
    CPalvaneDoc document;
    MakeDistinct(document);
    document.m_palette[40] = ColorTriple(21, 21, 21);
    document.m_palette[100] = ColorTriple(10, 10, 10);
    document.m_palette[101] = ColorTriple(11, 11, 11);
    document.m_palette[41] = ColorTriple(63, 63, 63);
    document.m_palette[102] = ColorTriple(36, 36, 36);
    document.m_palette[103] = ColorTriple(37, 37, 37);
    const Bytes file = Save(document, false);
    EXPECT_EQ(LightLevelByte(file, 33, 40), 100) << "21 at level 33 becomes 10, not 11";
    EXPECT_EQ(LightLevelByte(file, 37, 41), 102) << "63 at level 37 becomes 36, not 37";
    EXPECT_EQ(LightLevelByte(file, 63, 40), 40) << "level 63 keeps every component";
}

TEST_F(ColormapWriteTest, RepeatedColoursMapToTheirLowestIndex)
{
    CPalvaneDoc document;
    MakeDistinct(document);
    document.m_palette[40] = document.m_palette[3];
    const Bytes file = Save(document, true);
    EXPECT_EQ(LightLevelByte(file, 63, 40), 3);
    EXPECT_EQ(file[17216 + 256 * 40 + 40], 3);
    EXPECT_EQ(LightLevelByte(file, 63, 41), 41);
    EXPECT_EQ(file[17216 + 256 * 41 + 41], 41);
}

TEST_F(ColormapWriteTest, WriteThenReadRestoresThePaletteAndLeavesTheSelection)
{
    std::mt19937 random(7);
    CPalvaneDoc document;
    for (ColorTriple& entry : document.m_palette)
        entry = ColorTriple::FromColorRef(static_cast<ColorRef>(random()));
    document.m_nSelStart = 17;
    document.m_nSelEnd = 200;
    Save(document, false, "round.cmp");
    EXPECT_EQ(document.m_nSelStart, 17);
    EXPECT_EQ(document.m_nSelEnd, 200);

    CPalvaneDoc reread;
    ASSERT_TRUE(reread.OnOpenDocument(folder / "round.cmp"));
    EXPECT_EQ(reread.m_palette, document.m_palette);
    EXPECT_EQ(reread.m_nSelStart, -1);
}

TEST_F(ColormapWriteTest, BundledSampleIsWhatTheGeneratorMakes)
{
    CPalvaneDoc document;
    document.m_palette = MakeSamplePalette();
    EXPECT_EQ(Save(document, true), ReadFileBytes(PALVANE_SAMPLE_COLORMAP))
        << "regenerate samples/sample.cmp with make-sample-colormap";
}
