// Palette files of every format, imported into a document and exported from
// it through real files: their formats found by content, their colours
// placed from the selection, and every refusal leaving the document as it was.
#include "document/palette_formats/PaletteFileReader.h"
#include "framework/CException.h"
#include "tests/support/ColormapFixtures.h"

#include <filesystem>

namespace {

using namespace palette_formats;
using Colors = std::vector<ColorTriple>;
using namespace std::string_literals;

const ColorTriple kGrey(128, 128, 128);

Bytes BytesOf(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

std::string TextOf(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// 768 bytes: the values given first, then `fill`.
Bytes PlainPalette(const Bytes& head, std::uint8_t fill)
{
    Bytes bytes(768, fill);
    std::copy(head.begin(), head.end(), bytes.begin());
    return bytes;
}

std::string GimpLines(int count)
{
    std::string text = "GIMP Palette\n";
    for (int i = 0; i < count; ++i)
        text += std::to_string(i % 256) + " 1 2\n";
    return text;
}

class PaletteFileTest : public PaletteCommandTest {
protected:
    std::string WriteFile(const std::string& name, const Bytes& bytes)
    {
        WriteFileBytes(folder / name, bytes);
        return folder / name;
    }
    void FillWithAPattern()
    {
        for (int i = 0; i < CPalvaneDoc::kPaletteSize; ++i)
            document.m_palette[i] =
                ColorTriple(std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 7 + 64));
    }
};

// Every format written and read back gives the same 256 colours (a Dark
// Forces palette keeps six bits of each).
class PaletteRoundTripTest : public PaletteFileTest,
                             public testing::WithParamInterface<PaletteFormat> {};

TEST_P(PaletteRoundTripTest, WritesWhatItReadsBack)
{
    const PaletteCodec& codec = CodecFor(GetParam());
    FillWithAPattern();
    document.SetTitle("ramp.cmp");
    const CPalvaneDoc::Palette exported = document.m_palette;
    const std::string path = folder / ("out." + std::string(codec.Extension()));
    document.ExportPaletteFile(path, codec);
    ExpectUnchanged();

    CPalvaneDoc other;
    ASSERT_TRUE(other.OnNewDocument());
    other.m_nSelStart = other.m_nSelEnd = 40;
    EXPECT_EQ(other.ImportPaletteFile(path), "Cells 0\u2013255 (256 colours) from " + path);
    const bool sixBit = GetParam() == PaletteFormat::darkForces;
    for (int i = 0; i < CPalvaneDoc::kPaletteSize; ++i) {
        const ColorTriple& e = exported[i];
        EXPECT_EQ(other.m_palette[i],
                  sixBit ? ColorTriple(e.red & 0xFC, e.green & 0xFC, e.blue & 0xFC) : e)
            << i;
    }
    EXPECT_EQ(other.m_nSelStart, 0);
    EXPECT_EQ(other.m_nSelEnd, 255);
    if (GetParam() == PaletteFormat::gimp) {
        EXPECT_EQ(TextOf(ReadFileBytes(path)).rfind("GIMP Palette\nName: ramp\nColumns: 16\n", 0),
                  0u);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryFormat, PaletteRoundTripTest,
                         testing::Values(PaletteFormat::jasc, PaletteFormat::gimp,
                                         PaletteFormat::riff, PaletteFormat::adobeColorTable,
                                         PaletteFormat::paintNet, PaletteFormat::hexList,
                                         PaletteFormat::darkForces, PaletteFormat::rawRgb));

// Hand-written files as other programs and people write them.
struct ReadCase {
    const char* name;
    std::string fileName;
    Bytes bytes;
    std::string format;
    Colors colors; // the first colours read
    int count;     // how many were read
};

class PaletteReaderTest : public PaletteFileTest, public testing::WithParamInterface<ReadCase> {};

TEST_P(PaletteReaderTest, ReadsTheColoursInFileOrder)
{
    const ReadCase& c = GetParam();
    const std::string path = WriteFile(c.fileName, c.bytes);
    EXPECT_EQ(ReadPaletteFile(path, CorePaletteCodecs()).codec->Name(), c.format);
    document.ImportPaletteFile(path);
    for (std::size_t i = 0; i < c.colors.size(); ++i)
        EXPECT_EQ(document.m_palette[i], c.colors[i]) << i;
    EXPECT_EQ(document.m_nSelStart, 0);
    EXPECT_EQ(document.m_nSelEnd, c.count - 1);
    if (c.count < CPalvaneDoc::kPaletteSize) {
        EXPECT_EQ(document.m_palette[c.count], kGrey) << "the other cells keep their colours";
    }
    ExpectChangedOnce();
}

const Colors kOneTwoThree{ColorTriple(1, 2, 3), ColorTriple(4, 5, 6), ColorTriple(7, 8, 9)};

Bytes RiffWithAnExtraChunk()
{
    return {'R', 'I', 'F', 'F', 42,  0,   0,   0,    'P', 'A', 'L', ' ', 'i', 'n', 'f', 'o',
            3,   0,   0,   0,   'a', 'b', 'c', 0,    'd', 'a', 't', 'a', 16,  0,   0,   0,
            0,   3,   3,   0,   1,   2,   3,   0xFF, 4,   5,   6,   0,   7,   8,   9,   0};
}

Bytes AdobeTableOfThree()
{
    Bytes bytes = PlainPalette({1, 2, 3, 4, 5, 6, 7, 8, 9}, 0);
    bytes.insert(bytes.end(), {0, 3, 0xFF, 0xFF});
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    HandWritten, PaletteReaderTest,
    testing::Values(
        ReadCase{"JascWithCrLfBlanksAndExtraWords", "a.pal",
                 BytesOf("JASC-PAL\r\n0100\r\n3\r\n1 2 3  \r\n 4\t5 6 extra\r\n7 8 9\r\n"),
                 "JASC-PAL palette", kOneTwoThree, 3},
        ReadCase{"JascWithLf", "a.pal", BytesOf("JASC-PAL\n0100\n3\n1 2 3\n4 5 6\n7 8 9"),
                 "JASC-PAL palette", kOneTwoThree, 3},
        ReadCase{"JascCountAbove256KeepsTheFirst",
                 "a.pal",
                 BytesOf("JASC-PAL\n0100\n300\n" + GimpLines(256).substr(13)),
                 "JASC-PAL palette",
                 {ColorTriple(0, 1, 2), ColorTriple(1, 1, 2)},
                 256},
        ReadCase{"GimpWithNamesCommentsAndCrLf", "a.gpl",
                 BytesOf("GIMP Palette\r\nName: Test\r\nColumns: 4\r\n# comment\r\n\r\n  1   2   "
                         "3\tRed\r\n4 5 6 Two words\r\n#\r\n7 8 9\r\n"),
                 "GIMP palette", kOneTwoThree, 3},
        ReadCase{"GimpWithoutName",
                 "a.gpl",
                 BytesOf("GIMP Palette\n#\n7 8 9\n"),
                 "GIMP palette",
                 {ColorTriple(7, 8, 9)},
                 1},
        ReadCase{"PaintNetWithComments", "a.txt",
                 BytesOf("; paint.net Palette File\r\n; three\r\nFF010203\r\n80040506\r\n  "
                         "00070809\r\n"),
                 "Paint.NET palette", kOneTwoThree, 3},
        ReadCase{"HexListInEveryNotation", "a.hex",
                 BytesOf("; colours\n#010203\n\n0x040506, 070809\n# done\n"), "hex colour list",
                 kOneTwoThree, 3},
        ReadCase{"RiffSkippingAnUnknownChunk", "a.pal", RiffWithAnExtraChunk(), "RIFF palette",
                 kOneTwoThree, 3},
        ReadCase{"AdobeTableWithACount", "a.act", AdobeTableOfThree(), "Adobe colour table",
                 kOneTwoThree, 3},
        ReadCase{"DarkForcesSixBitValues",
                 "a.pal",
                 PlainPalette({1, 2, 3, 63, 62, 61}, 0),
                 "Dark Forces palette",
                 {ColorTriple(4, 8, 12), ColorTriple(252, 248, 244)},
                 256},
        ReadCase{"EightBitValues",
                 "a.pal",
                 PlainPalette({1, 2, 3, 64, 200, 255}, 9),
                 "768-byte RGB palette",
                 {ColorTriple(1, 2, 3), ColorTriple(64, 200, 255)},
                 256}),
    [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

// The content decides, whatever the name says; the name settles only what
// the content leaves open.
struct DetectCase {
    const char* name;
    std::string fileName;
    Bytes bytes;
    std::string format;
};

class PaletteDetectionTest : public PaletteFileTest,
                             public testing::WithParamInterface<DetectCase> {};

TEST_P(PaletteDetectionTest, RecognisesTheFormatByContent)
{
    const std::string path = WriteFile(GetParam().fileName, GetParam().bytes);
    EXPECT_EQ(ReadPaletteFile(path, CorePaletteCodecs()).codec->Name(), GetParam().format);
}

std::string Written(PaletteFormat format)
{
    return CodecFor(format).Write(kOneTwoThree, "x");
}

INSTANTIATE_TEST_SUITE_P(
    LyingNames, PaletteDetectionTest,
    testing::Values(
        DetectCase{"JascNamedAct", "a.act", BytesOf(Written(PaletteFormat::jasc)),
                   "JASC-PAL palette"},
        DetectCase{"RiffNamedGpl", "a.gpl", BytesOf(Written(PaletteFormat::riff)), "RIFF palette"},
        DetectCase{"DarkForcesNamedPal", "a.pal", PlainPalette({63}, 1), "Dark Forces palette"},
        DetectCase{"DarkForcesNamedAct", "a.act", PlainPalette({63}, 1), "Dark Forces palette"},
        DetectCase{"GimpNamedTxt", "a.txt", BytesOf(Written(PaletteFormat::gimp)), "GIMP palette"},
        DetectCase{"PaintNetNamedHex", "a.hex", BytesOf(Written(PaletteFormat::paintNet)),
                   "Paint.NET palette"},
        DetectCase{"HexListNamedPal", "a.pal", BytesOf(Written(PaletteFormat::hexList)),
                   "hex colour list"},
        DetectCase{"AdobeTableNamedPal", "a.pal", BytesOf(Written(PaletteFormat::adobeColorTable)),
                   "Adobe colour table"},
        DetectCase{"EightBitNamedActIsATable", "a.ACT", PlainPalette({200}, 1),
                   "Adobe colour table"},
        DetectCase{"EightBitNamedPal", "a.pal", PlainPalette({200}, 1), "768-byte RGB palette"}),
    [](const testing::TestParamInfo<DetectCase>& info) { return info.param.name; });

// Files that cannot be imported: the message names the file and what is
// wrong, and nothing changes.
struct RefusedCase {
    const char* name;
    std::string fileName;
    Bytes bytes;
    std::string message; // after the file's path
};

class PaletteRefusalTest : public PaletteFileTest,
                           public testing::WithParamInterface<RefusedCase> {};

TEST_P(PaletteRefusalTest, SaysWhyAndChangesNothing)
{
    const RefusedCase& c = GetParam();
    const std::string path = folder / c.fileName;
    if (c.fileName != "missing.pal")
        WriteFile(c.fileName, c.bytes);
    if (c.fileName == "huge.pal")
        std::filesystem::resize_file(path, kMaxPaletteFileSize + 1);
    FillWithAPattern();
    Select(3, 7);
    const CPalvaneDoc::Palette before = document.m_palette;
    std::string message;
    try {
        document.ImportPaletteFile(path);
        ADD_FAILURE() << "imported";
    } catch (const CException& error) {
        error.GetErrorMessage(message);
    }
    EXPECT_EQ(message, path + c.message);
    EXPECT_EQ(document.m_palette, before);
    EXPECT_EQ(document.m_nSelStart, 3);
    EXPECT_EQ(document.m_nSelEnd, 7);
    ExpectUnchanged();
}

const std::string kExpectedFormats =
    " is not a palette file: expected a JASC-PAL palette, a GIMP palette, a RIFF palette, an "
    "Adobe colour table, a Paint.NET palette, a hex colour list, a Dark Forces palette or a "
    "768-byte RGB palette";

Bytes RiffData(std::uint16_t version, std::uint16_t count, std::size_t entries)
{
    const auto size = static_cast<std::uint8_t>(4 + 4 * entries);
    Bytes bytes{'R',
                'I',
                'F',
                'F',
                static_cast<std::uint8_t>(12 + size),
                0,
                0,
                0,
                'P',
                'A',
                'L',
                ' ',
                'd',
                'a',
                't',
                'a',
                size,
                0,
                0,
                0,
                static_cast<std::uint8_t>(version),
                static_cast<std::uint8_t>(version >> 8),
                static_cast<std::uint8_t>(count),
                static_cast<std::uint8_t>(count >> 8)};
    bytes.resize(bytes.size() + 4 * entries, 1);
    return bytes;
}

Bytes AdobeTableCounting(std::uint16_t count)
{
    Bytes bytes = PlainPalette({}, 0);
    bytes.insert(bytes.end(), {static_cast<std::uint8_t>(count >> 8),
                               static_cast<std::uint8_t>(count), 0xFF, 0xFF});
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, PaletteRefusalTest,
    testing::Values(
        RefusedCase{
            "JascBadEntry", "a.pal",
            BytesOf("JASC-PAL\r\n0100\r\n16\r\n1 2 3\r\n1 2 3\r\n1 2 3\r\n1 2 x\r\n"),
            " is not a valid JASC-PAL palette: line 7: expected three numbers from 0 to 255"},
        RefusedCase{
            "JascValueAboveAByte", "a.pal", BytesOf("JASC-PAL\n0100\n2\n1 2 3\n1 256 3\n"),
            " is not a valid JASC-PAL palette: line 5: expected three numbers from 0 to 255"},
        RefusedCase{"JascCut", "a.pal", BytesOf("JASC-PAL\n0100\n4\n1 2 3\n1 2 3\n"),
                    " is not a valid JASC-PAL palette: line 6: expected three numbers from 0 to "
                    "255, found the end of the file"},
        RefusedCase{"JascVersion", "a.pal", BytesOf("JASC-PAL\n0200\n1\n1 2 3\n"),
                    " is not a valid JASC-PAL palette: line 2: expected the version \"0100\""},
        RefusedCase{
            "JascNoColours", "a.pal", BytesOf("JASC-PAL\n0100\n0\n"),
            " is not a valid JASC-PAL palette: line 3: expected a colour count of 1 or more"},
        RefusedCase{"GimpBadLine", "a.gpl", BytesOf("GIMP Palette\nName: x\n1 2 3 a\n4 5\n"),
                    " is not a valid GIMP palette: line 4: expected three numbers from 0 to 255"},
        RefusedCase{"GimpNoColours", "a.gpl", BytesOf("GIMP Palette\r\n# none\r\n"),
                    " is not a valid GIMP palette: no colour found"},
        RefusedCase{"PaintNetBadLine", "a.txt", BytesOf("; paint.net Palette File\nFF0000\n"),
                    " is not a valid Paint.NET palette: line 2: expected a colour as eight "
                    "hexadecimal digits AARRGGBB"},
        RefusedCase{"HexListBadWord", "a.hex", BytesOf("#010203\n040506 blue\n"),
                    " is not a valid hex colour list: line 2: \"blue\" is not a colour: expected "
                    "#RRGGBB, RRGGBB, 0xRRGGBB or three numbers from 0 to 255"},
        RefusedCase{"RiffVersion", "a.pal", RiffData(0x0200, 1, 1),
                    " is not a valid RIFF palette: byte 20: expected the version 0x0300"},
        RefusedCase{"RiffCountBeyondItsChunk", "a.pal", RiffData(0x0300, 5, 2),
                    " is not a valid RIFF palette: byte 22: the count says 5 colours, but the "
                    "chunk has room for 2"},
        RefusedCase{"RiffWithoutData", "a.pal", BytesOf("RIFF\x04\0\0\0PAL "s),
                    " is not a valid RIFF palette: byte 12: expected a \"data\" chunk"},
        RefusedCase{"AdobeCountAbove256", "a.act", AdobeTableCounting(300),
                    " is not a valid Adobe colour table: byte 768: expected a colour count from 1 "
                    "to 256, found 300"},
        RefusedCase{"Prose", "a.pal", BytesOf("Hello, world\n"), kExpectedFormats},
        RefusedCase{"Empty", "a.gpl", {}, kExpectedFormats},
        RefusedCase{"ShortBinary", "a.act", Bytes(700, 1), kExpectedFormats},
        RefusedCase{
            "TooLarge", "huge.pal", {}, " is larger than 16 MiB, too large for a palette file"},
        RefusedCase{"Missing", "missing.pal", {}, " was not found."}),
    [](const testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

// Where the colours go: from the selection's start, as many as fit.
struct PlacementCase {
    const char* name;
    int selStart; // -1: no selection
    int colors;   // in the file, each (i, 1, 2)
    int first;    // the cell the first colour goes to
    int stored;
    std::string report; // after "from PATH"
};

class PaletteImportPlacementTest : public PaletteFileTest,
                                   public testing::WithParamInterface<PlacementCase> {};

TEST_P(PaletteImportPlacementTest, FillsFromTheSelectionAndSelectsWhatItFilled)
{
    const PlacementCase& c = GetParam();
    const std::string path = WriteFile("p.gpl", BytesOf(GimpLines(c.colors)));
    Select(c.selStart, c.selStart < 0 ? -1 : std::min(c.selStart + 3, 255));
    const std::string cells = c.stored == 1 ? "Cell " + std::to_string(c.first)
                                            : "Cells " + std::to_string(c.first) + "\u2013" +
                                                  std::to_string(c.first + c.stored - 1);
    EXPECT_EQ(document.ImportPaletteFile(path), cells + " (" + std::to_string(c.stored) +
                                                    (c.stored == 1 ? " colour" : " colours") +
                                                    ") from " + path + c.report);
    for (int i = 0; i < CPalvaneDoc::kPaletteSize; ++i) {
        const bool filled = i >= c.first && i < c.first + c.stored;
        EXPECT_EQ(document.m_palette[i],
                  filled ? ColorTriple(std::uint8_t(i - c.first), 1, 2) : kGrey)
            << i;
    }
    EXPECT_EQ(document.m_nSelStart, c.first);
    EXPECT_EQ(document.m_nSelEnd, c.first + c.stored - 1);
    ExpectChangedOnce();
}

INSTANTIATE_TEST_SUITE_P(
    Selections, PaletteImportPlacementTest,
    testing::Values(PlacementCase{"NoSelectionStartsAtCellZero", -1, 16, 0, 16, ""},
                    PlacementCase{"FromTheSelectionsStart", 32, 16, 32, 16, ""},
                    PlacementCase{"OneColour", 5, 1, 5, 1, ""},
                    PlacementCase{"StopsAtCell255", 250, 16, 250, 6,
                                  "; 10 colours did not fit after cell 255"},
                    PlacementCase{"AWholePaletteFillsEveryCell", 100, 256, 0, 256, ""},
                    PlacementCase{"ALongerOneKeepsTheFirst256", 100, 300, 0, 256,
                                  "; it holds 300 colours, the first 256 were kept"}),
    [](const testing::TestParamInfo<PlacementCase>& info) { return info.param.name; });

TEST_F(PaletteFileTest, PaintNetExportWarnsThatPaintNetShowsOnly96Colours)
{
    EXPECT_EQ(document.ExportPaletteFile(folder / "a.txt", CodecFor(PaletteFormat::paintNet)),
              "Paint.NET shows only the first 96 of the 256 colours");
    EXPECT_EQ(document.ExportPaletteFile(folder / "a.gpl", CodecFor(PaletteFormat::gimp)), "");
}

} // namespace
