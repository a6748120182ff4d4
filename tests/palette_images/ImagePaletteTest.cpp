// Palettes from image files and the swatch image, imported into a document
// and exported from it through real files.
#include "framework/CException.h"
#include "palette_images/PaletteImageCodec.h"
#include "tests/support/ColormapFixtures.h"

#include <QImage>
#include <QImageWriter>

#include <set>

namespace {

using Colors = std::vector<ColorTriple>;

const Colors kTable{ColorTriple(200, 10, 10), ColorTriple(0, 0, 255), ColorTriple(7, 8, 9),
                    ColorTriple(255, 255, 255), ColorTriple(0, 99, 0)};

// A 4 x 3 indexed image with kTable as its colour table; it uses every
// entry but the third.
QImage IndexedImage()
{
    QImage image(4, 3, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (const ColorTriple& c : kTable)
        table.push_back(qRgb(c.red, c.green, c.blue));
    image.setColorTable(table);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            image.setPixel(x, y, (x + y) % 2 == 0 ? 0 : (x == 3 ? 4 : 1 + 2 * (y % 2)));
    return image;
}

// A 1 x 1 GIF whose colour table holds the first four colours of kTable
// (Qt reads GIF but does not write it).
Bytes GifImage()
{
    Bytes bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x81, 0, 0};
    for (int i = 0; i < 4; ++i)
        bytes.insert(bytes.end(), {kTable[i].red, kTable[i].green, kTable[i].blue});
    bytes.insert(bytes.end(), {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0, 0x3B});
    return bytes;
}

class ImagePaletteTest : public PaletteCommandTest {
protected:
    std::string Import(const std::string& path)
    {
        return document.ImportPaletteFile(path, palette_images::PaletteCodecsWithImages());
    }
    Colors Cells(int count) const
    {
        return Colors(document.m_palette.begin(), document.m_palette.begin() + count);
    }
};

struct IndexedCase {
    const char* format;
    std::size_t colors; // the colour table's size as the format stores it
};

class IndexedImageTest : public ImagePaletteTest,
                         public testing::WithParamInterface<IndexedCase> {};

TEST_P(IndexedImageTest, GivesItsColourTableExactlyAndInOrder)
{
    const std::string path = folder / (std::string("table.") + GetParam().format);
    if (std::string(GetParam().format) == "gif")
        WriteFileBytes(path, GifImage());
    else
        ASSERT_TRUE(QImageWriter(QString::fromStdString(path)).write(IndexedImage()));
    Select(20, 30);
    Import(path);
    const auto count = static_cast<int>(GetParam().colors);
    EXPECT_EQ(Cells(20 + count), [&] {
        Colors expected(20, ColorTriple(128, 128, 128));
        expected.insert(expected.end(), kTable.begin(), kTable.begin() + std::min<int>(count, 5));
        expected.resize(20 + count); // a table the format pads holds black
        return expected;
    }());
    EXPECT_EQ(document.m_nSelStart, 20);
    EXPECT_EQ(document.m_nSelEnd, 20 + count - 1);
    ExpectChangedOnce();
}

INSTANTIATE_TEST_SUITE_P(Formats, IndexedImageTest,
                         testing::Values(IndexedCase{"png", 5}, IndexedCase{"gif", 4},
                                         IndexedCase{"bmp", 5}),
                         [](const testing::TestParamInfo<IndexedCase>& info) {
                             return std::string(info.param.format);
                         });

TEST_F(ImagePaletteTest, TrueColourImageGivesAtMost256OfItsColoursMostFrequentFirst)
{
    // 65,536 colours, a quarter of the image one colour.
    QImage image(256, 320, QImage::Format_RGB32);
    std::set<QRgb> present;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb color = y >= 256 ? qRgb(12, 200, 34) : qRgb(x, y, (x * y) & 255);
            image.setPixel(x, y, color);
            present.insert(color & 0xFFFFFF);
        }
    const std::string path = folder / "photo.png";
    ASSERT_TRUE(image.save(QString::fromStdString(path)));
    Import(path);
    ASSERT_GE(document.m_nSelEnd, 15) << "a real choice of colours, not a handful";
    EXPECT_EQ(document.m_nSelStart, 0);
    EXPECT_EQ(document.m_palette[0], ColorTriple(12, 200, 34));
    for (int i = 0; i <= document.m_nSelEnd; ++i) {
        const ColorTriple& c = document.m_palette[i];
        EXPECT_EQ(present.count(qRgb(c.red, c.green, c.blue) & 0xFFFFFF), 1u) << i;
    }
}

TEST_F(ImagePaletteTest, SwatchImageRoundTripsAndIsSixteenCellsOfSixteenPixels)
{
    for (int i = 0; i < CPalvaneDoc::kPaletteSize; ++i)
        document.m_palette[i] = ColorTriple(std::uint8_t(i), std::uint8_t(i / 2), 77);
    const CPalvaneDoc::Palette exported = document.m_palette;
    const std::string path = folder / "swatch.png";
    EXPECT_EQ(document.ExportPaletteFile(path, palette_images::SwatchImageCodec()), "");
    const QImage image(QString::fromStdString(path));
    ASSERT_EQ(image.size(), QSize(256, 256));
    EXPECT_EQ(image.pixel(16 * 3 + 15, 16 * 2), qRgb(35, 17, 77)) << "cell 35's last column";

    document.m_palette.fill(ColorTriple());
    Select(9, 9);
    Import(path);
    EXPECT_EQ(document.m_palette, exported);
    EXPECT_EQ(document.m_nSelStart, 0);
    EXPECT_EQ(document.m_nSelEnd, 255);
}

TEST_F(ImagePaletteTest, BrokenImageIsRefusedAndChangesNothing)
{
    const std::string path = folder / "broken.png";
    WriteFileBytes(path, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I'});
    EXPECT_THROW(Import(path), CException);
    ExpectUnchanged();
}

} // namespace
