// Colours as people paste them, and the text Copy gives.
#include "document/palette_formats/PastedText.h"

#include <gtest/gtest.h>

namespace {

using palette_formats::ReadPastedText;
using palette_formats::WriteColorLines;
using Colors = std::vector<ColorTriple>;

const ColorTriple kRed(255, 0, 0);
const ColorTriple kTeal(0x12, 0xAB, 0xCD);
const ColorTriple kGrey(1, 2, 3);

struct PasteCase {
    const char* name;
    std::string text;
    Colors colors;
    std::string message;
};

class PastedTextTest : public testing::TestWithParam<PasteCase> {};

TEST_P(PastedTextTest, ReadsTheColoursOrSaysWhyNot)
{
    const auto read = ReadPastedText(GetParam().text);
    EXPECT_EQ(read.colors, GetParam().colors);
    EXPECT_EQ(read.message, GetParam().message);
}

std::string ManyLines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "#FF0000\n";
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, PastedTextTest,
    testing::Values(
        PasteCase{"HashLines", "#FF0000\n#12abcd\n", {kRed, kTeal}, ""},
        PasteCase{"BareHexWithCrLf", "ff0000\r\n12ABCD\r\n", {kRed, kTeal}, ""},
        PasteCase{"PrefixedHexOnOneLine", "0xFF0000 0x12abcd", {kRed, kTeal}, ""},
        PasteCase{"CommasAndBlanks", " #FF0000,12ABCD ,\t0X010203 ", {kRed, kTeal, kGrey}, ""},
        PasteCase{"DecimalTriples",
                  "255 0 0\n18, 171, 205\n1 2 3 4 5 6",
                  {kRed, kTeal, kGrey, ColorTriple(4, 5, 6)},
                  ""},
        PasteCase{"CommentsAndBlankLines",
                  "; my colours\r\n\r\n# reds\n#\nFF0000\n  \n#\tteal\n12ABCD\n",
                  {kRed, kTeal},
                  ""},
        PasteCase{"WholeJascPalette",
                  "JASC-PAL\r\n0100\r\n2\r\n255 0 0\r\n18 171 205\r\n",
                  {kRed, kTeal},
                  ""},
        PasteCase{"WholeGimpPalette",
                  "GIMP Palette\nName: Mine\nColumns: 4\n#\n255   0   0\tRed\n 18 171 205 Teal\n",
                  {kRed, kTeal},
                  ""},
        PasteCase{"WholePaintNetPalette",
                  "; paint.net Palette File\r\nFFFF0000\r\n8012ABCD\r\n",
                  {kRed, kTeal},
                  ""},
        PasteCase{"MoreThanAPalette", ManyLines(300), Colors(256, kRed),
                  "The text holds 300 colours; only the first 256 are pasted"},
        PasteCase{"Empty", "", {}, "Nothing pasted: no colour found"},
        PasteCase{"OnlyComments", "; nothing\n# here\n\n", {}, "Nothing pasted: no colour found"},
        PasteCase{"Prose",
                  "FF0000\nhello world\n",
                  {},
                  "Nothing pasted: line 2: \"hello\" is not a colour: expected #RRGGBB, RRGGBB, "
                  "0xRRGGBB or three numbers from 0 to 255"},
        PasteCase{"ShortHex",
                  "#FFF",
                  {},
                  "Nothing pasted: line 1: \"#FFF\" is not a colour: expected #RRGGBB, RRGGBB, "
                  "0xRRGGBB or three numbers from 0 to 255"},
        PasteCase{"NumberAboveAByte",
                  "255 256 0",
                  {},
                  "Nothing pasted: line 1: \"256\" is not a colour: expected #RRGGBB, RRGGBB, "
                  "0xRRGGBB or three numbers from 0 to 255"},
        PasteCase{"TwoNumbers",
                  "#FF0000\n255 0\n",
                  {},
                  "Nothing pasted: line 2: expected three numbers from 0 to 255"},
        PasteCase{"BrokenJascEntry",
                  "JASC-PAL\n0100\n2\n255 0 0\n1 2\n",
                  {},
                  "Nothing pasted: line 5: expected three numbers from 0 to 255"}),
    [](const testing::TestParamInfo<PasteCase>& info) { return info.param.name; });

TEST(ColorLinesTest, OneUpperCaseHashLinePerColourThatPasteReadsBack)
{
    const Colors colors{kTeal, kRed, ColorTriple()};
    const std::string text = WriteColorLines(colors);
    EXPECT_EQ(text, "#12ABCD\n#FF0000\n#000000\n");
    EXPECT_EQ(ReadPastedText(text).colors, colors);
    EXPECT_EQ(WriteColorLines({}), "");
}

} // namespace
