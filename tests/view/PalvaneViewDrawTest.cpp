#include "document/CPalvaneDoc.h"
#include "tests/support/ModalDialog.h"
#include "tests/support/TempFolder.h"
#include "view/CPalvaneView.h"

#include <QDialog>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <set>

namespace {

struct Rect {
    int left, top, right, bottom;
};

// Cell rectangles of a 400 by 300 view: gap 4, cells 20 by 14.
Rect ScreenCell(int index)
{
    const int left = 4 + index % 16 * 24;
    const int top = 4 + index / 16 * 18;
    return {left, top, left + 20, top + 14};
}

class PalvaneViewDrawTest : public ::testing::Test {
protected:
    PalvaneViewDrawTest()
    {
        for (int i = 0; i < CPalvaneDoc::kPaletteSize; ++i)
            document.m_palette[static_cast<std::size_t>(i)] =
                ColorTriple(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                            static_cast<std::uint8_t>(i * 7));
    }

    QImage Paint(int width, int height)
    {
        view.resize(width, height);
        return view.grab().toImage();
    }
    QRgb Role(QPalette::ColorRole role) const { return view.palette().color(role).rgb(); }
    QRgb Cell(int index) const
    {
        const ColorTriple& color = document.m_palette[static_cast<std::size_t>(index)];
        return qRgb(color.red, color.green, color.blue);
    }

    CPalvaneDoc document;
    CPalvaneView view{&document};
};

// Whether every pixel from (left, top) up to (right, bottom) is `color`.
bool AllOf(const QImage& image, const Rect& area, QRgb color)
{
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (image.pixel(x, y) != color)
                return false;
    return true;
}

TEST_F(PalvaneViewDrawTest, LaysTheGridOutOnButtonFaceWithFramesOutsideTheCells)
{
    const QImage image = Paint(400, 300);
    EXPECT_EQ(view.Gap(), 4);
    EXPECT_EQ(view.CellWidth(), 20);
    EXPECT_EQ(view.CellHeight(), 14);
    const std::pair<int, Rect> cells[] = {
        {0, {4, 4, 24, 18}}, {16, {4, 22, 24, 36}}, {255, {364, 274, 384, 288}}};
    for (const auto& [index, cell] : cells) {
        SCOPED_TRACE(index);
        // The fill, without a label, leaves the last column and row to the
        // frame's inner edge; the frame lies one pixel outside the cell.
        EXPECT_TRUE(
            AllOf(image, {cell.left, cell.top, cell.right - 1, cell.bottom - 1}, Cell(index)));
        EXPECT_EQ(image.pixel(cell.right - 1, cell.top + 1), Role(QPalette::Dark));
        EXPECT_EQ(image.pixel(cell.left, cell.bottom - 1), Role(QPalette::Dark));
        EXPECT_EQ(image.pixel(cell.left - 1, cell.top - 1), Role(QPalette::Light));
        EXPECT_EQ(image.pixel(cell.right, cell.bottom), Role(QPalette::Shadow));
        EXPECT_EQ(image.pixel(cell.left - 2, cell.top), Role(QPalette::Button));
        EXPECT_EQ(image.pixel(cell.right + 1, cell.top), Role(QPalette::Button));
    }
    // What the truncation leaves: 12 pixels on the right, 8 at the bottom.
    EXPECT_TRUE(AllOf(image, {388, 0, 400, 300}, Role(QPalette::Button)));
    EXPECT_TRUE(AllOf(image, {0, 292, 400, 300}, Role(QPalette::Button)));

    // Repainting part of the view draws the same pixels there.
    QImage part(400, 300, QImage::Format_RGB32);
    view.render(&part, QPoint(100, 50), QRegion(100, 50, 150, 120));
    for (int y = 50; y < 170; ++y)
        for (int x = 100; x < 250; ++x)
            ASSERT_EQ(part.pixel(x, y), image.pixel(x, y)) << x << "," << y;
}

TEST_F(PalvaneViewDrawTest, DrawsSharplyAtTwiceTheDevicePixelRatio)
{
    view.resize(400, 300);
    QImage image(800, 600, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    {
        QPainter painter(&image);
        view.OnDraw(&painter, false, QRect(0, 0, 400, 300));
    }
    EXPECT_EQ(view.CellWidth(), 20);
    // Cell 0 at (4, 4, 24, 18) and its frame's outer line, twice as large.
    EXPECT_TRUE(AllOf(image, {6, 6, 8, 36}, Role(QPalette::Light)));
    EXPECT_TRUE(AllOf(image, {8, 8, 46, 34}, Cell(0)));
    EXPECT_TRUE(AllOf(image, {46, 8, 48, 34}, Role(QPalette::Dark)));
}

TEST_F(PalvaneViewDrawTest, DrawsTheSelectedRunPressed)
{
    struct Row {
        int start, end;
    };
    for (const Row row : {Row{-1, -1}, Row{5, 5}, Row{3, 20}}) {
        SCOPED_TRACE(row.start);
        document.m_nSelStart = row.start;
        document.m_nSelEnd = row.end;
        const QImage image = Paint(400, 300);
        for (int i = 0; i < 256; ++i) {
            const Rect cell = ScreenCell(i);
            const bool pressed = row.start <= i && i <= row.end;
            EXPECT_EQ(image.pixel(cell.left - 1, cell.top - 1),
                      Role(pressed ? QPalette::Shadow : QPalette::Light))
                << i;
            EXPECT_EQ(image.pixel(cell.right, cell.bottom),
                      Role(pressed ? QPalette::Light : QPalette::Shadow))
                << i;
        }
    }
}

TEST_F(PalvaneViewDrawTest, KeepsDegenerateCellSizesOfNarrowViews)
{
    const std::pair<int, int> rows[] = {{400, 20}, {84, 1}, {83, 0}, {60, 0}, {50, -1}, {3, -4}};
    for (const auto& [width, cellWidth] : rows) {
        Paint(width, 300);
        EXPECT_EQ(view.CellWidth(), cellWidth) << width;
        EXPECT_EQ(view.CellHeight(), 14) << width;
    }
}

// A painter on a 720 dpi page of 480 by 636 points: a printable area of
// 4800 by 6360 device units.
void SetUpPage(QPrinter& printer, const std::string& path)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    printer.setResolution(720);
    printer.setPageLayout(QPageLayout(QPageSize(QSizeF(480, 636), QPageSize::Point),
                                      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
}

TEST_F(PalvaneViewDrawTest, PrintsOneLabelledPageAndKeepsItsLayoutUntilTheNextScreenPass)
{
    Paint(400, 300);
    TempFolder folder;
    const std::string path = folder / "page.pdf";
    QPrinter printer(QPrinter::HighResolution);
    SetUpPage(printer, path);
    ASSERT_EQ(printer.width(), 4800);
    ASSERT_EQ(printer.height(), 6360);
    ASSERT_TRUE(view.PrintJob(printer));
    EXPECT_EQ(view.Gap(), 10);
    EXPECT_EQ(view.CellWidth(), 289);
    EXPECT_EQ(view.CellHeight(), 386);

    QProcess pdftotext;
    pdftotext.start(PALVANE_PDFTOTEXT, {"-bbox", QString::fromStdString(path), "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(30000));
    const QString words = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_EQ(words.count(QStringLiteral("<page ")), 1);
    // Labels at their cells' top-left corners, in points: a cell steps 299
    // by 396 units, and a point is 10 units.
    const std::tuple<const char*, double, double> labels[] = {
        {"0x0", 1.0, 1.0}, {"0xA", 300.0, 1.0}, {"0xFF", 449.5, 595.0}};
    for (const auto& [label, left, top] : labels) {
        const QRegularExpression word(
            QString::fromLatin1(R"re(xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>%1<)re")
                .arg(QLatin1String(label)));
        const QRegularExpressionMatch match = word.match(words);
        ASSERT_TRUE(match.hasMatch()) << label;
        EXPECT_NEAR(match.captured(1).toDouble(), left, 1.5) << label;
        EXPECT_NEAR(match.captured(2).toDouble(), top, 1.5) << label;
    }

    Paint(400, 300);
    EXPECT_EQ(view.Gap(), 4);
    EXPECT_EQ(view.CellWidth(), 20);
}

TEST_F(PalvaneViewDrawTest, PreviewShowsOnePage)
{
    TempFolder folder;
    QPrinter printer(QPrinter::HighResolution);
    SetUpPage(printer, folder / "preview.pdf");
    int pages = 0;
    WhenModal("QPrintPreviewDialog", [&](QWidget* dialog) {
        pages = dialog->findChild<QPrintPreviewWidget*>()->pageCount();
        static_cast<QDialog*>(dialog)->reject();
    });
    view.PrintPreview(printer);
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(view.Gap(), 10);
    EXPECT_EQ(view.CellWidth(), 289);
}

TEST_F(PalvaneViewDrawTest, PrintsFlatCellsWithBlackLabelsOnlyOnBrightColours)
{
    struct Row {
        ColorTriple color;
        bool black;
    };
    const Row rows[] = {{{180, 180, 180}, false},
                        {{181, 181, 181}, true},
                        {{255, 255, 0}, true},
                        {{0, 0, 255}, false}};
    for (std::size_t i = 0; i < std::size(rows); ++i)
        document.m_palette[i] = rows[i].color;

    // Gap 10, cells (960 - 170) / 16 = 49 by (1272 - 170) / 16 = 68.
    const QRgb paper = qRgb(255, 0, 255);
    QImage page(960, 1272, QImage::Format_RGB32);
    page.fill(QColor::fromRgb(paper));
    {
        QPainter painter(&page);
        view.OnPrint(&painter);
    }
    ASSERT_EQ(view.CellWidth(), 49);
    ASSERT_EQ(view.CellHeight(), 68);
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        const int left = 10 + static_cast<int>(i) * 59;
        const QRgb fill = Cell(static_cast<int>(i));
        // Flat: no frame around the cell, nothing in the gaps.
        EXPECT_EQ(page.pixel(left + 48, 10 + 67), paper);
        EXPECT_EQ(page.pixel(left - 1, 10), paper);
        EXPECT_EQ(page.pixel(left + 47, 10 + 66), fill);
        std::set<QRgb> label;
        for (int y = 10; y < 10 + 30; ++y)
            for (int x = left; x < left + 40; ++x)
                if (page.pixel(x, y) != fill)
                    label.insert(page.pixel(x, y));
        ASSERT_FALSE(label.empty());
        EXPECT_EQ(label.count(qRgb(0, 0, 0)), rows[i].black ? 1u : 0u);
        EXPECT_EQ(label.count(qRgb(255, 255, 255)), rows[i].black ? 0u : 1u);
    }
}

} // namespace
