// The tables panel in the running editor: its pictures against the tables a
// save writes, what pointing and clicking do, the file's own tables, and how
// it follows every change of the palette.

#include "view/TablesPanel.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CPalvaneApp.h"
#include "document/CPalvaneDoc.h"
#include "document/ColormapTables.h"
#include "framework/MessagePane.h"
#include "framework/ScriptedUserInterface.h"
#include "framework/qt/QtUserInterface.h"
#include "res/CommandIds.h"
#include "tests/support/Files.h"
#include "tests/support/ModalDialog.h"
#include "tests/support/TempFolder.h"
#include "view/CPalvaneView.h"
#include "view/TablePictureWidget.h"

#include <QAction>
#include <QColorDialog>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kPalette = 64;
constexpr std::size_t kLight = 832;
constexpr std::size_t kTranslucency = 17216;

using Palette = colormap_tables::Palette;

Palette RandomPalette(unsigned seed)
{
    std::mt19937 rng(seed);
    Palette palette;
    for (ColorTriple& entry : palette)
        entry = ColorTriple(static_cast<std::uint8_t>(rng()), static_cast<std::uint8_t>(rng()),
                            static_cast<std::uint8_t>(rng()));
    return palette;
}

Palette PaletteOf(const Bytes& file)
{
    Palette palette;
    for (std::size_t i = 0; i < palette.size(); ++i)
        palette[i] = ColorTriple(file[kPalette + 3 * i], file[kPalette + 3 * i + 1],
                                 file[kPalette + 3 * i + 2]);
    return palette;
}

ColorTriple PixelOf(const QImage& image, int x, int y)
{
    const QRgb pixel = image.pixel(x, y);
    return ColorTriple(static_cast<std::uint8_t>(qRed(pixel)),
                       static_cast<std::uint8_t>(qGreen(pixel)),
                       static_cast<std::uint8_t>(qBlue(pixel)));
}

// How many pixels of `image` are not the colour of the table entry
// `entry(x, y)` of `file`, with `palette`.
int WrongPixels(const QImage& image, int width, int height, const Palette& palette,
                const std::function<std::uint8_t(int x, int y)>& entry)
{
    if (image.width() != width || image.height() != height)
        return -1;
    int wrong = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            wrong += PixelOf(image, x, y) != palette[entry(x, y)];
    return wrong;
}

// The editor started in a test, with the panel shown. Public, so that the
// rows of a table of changes can drive it.
class TablesPanelTest : public ::testing::Test {
public:
    TablesPanelTest()
    {
        const QString settings = QString::fromStdString(folder / "settings");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings);
        ui.SetStandingAnswer(CPalvaneDoc::kTransparencyQuestion, IDYES);
    }

    void Start()
    {
        ASSERT_TRUE(app.InitInstance({}));
        Frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
        Settle();
        if (Panel().isHidden())
            Run(ID_VIEW_TABLES);
    }
    CMainFrame& Frame() { return *app.GetMainFrame(); }
    TablesPanel& Panel() { return *Frame().GetTablesPanel(); }
    void Run(unsigned id)
    {
        Frame().UpdateCommandUI(); // the enable rules read the selection
        Frame().Action(id)->trigger();
        Settle();
    }
    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    // Until the panel shows the tables of the latest change.
    void WaitForTables()
    {
        const QDeadlineTimer deadline(10000);
        while (!Panel().IsUpToDate() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        ASSERT_TRUE(Panel().IsUpToDate());
        Settle();
    }
    CPalvaneDoc* Open(const std::string& path)
    {
        ui.QueueFile(path);
        Run(ID_FILE_OPEN);
        CPalvaneDoc* document = ActiveView()->GetDocument();
        WaitForTables();
        return document;
    }
    // A colormap of `palette` saved by the editor, with both tables.
    std::string Saved(const Palette& palette, const std::string& name)
    {
        CPalvaneDoc document;
        document.m_palette = palette;
        const std::string path = folder / name;
        EXPECT_TRUE(document.OnSaveDocument(path));
        return path;
    }
    CPalvaneView* ActiveView() { return Frame().MDIGetActive()->GetView(); }
    TablePictureWidget& Picture(const char* name)
    {
        return *Panel().findChild<TablePictureWidget*>(QString::fromLatin1(name));
    }
    QSlider& Level() { return *Panel().findChild<QSlider*>(QStringLiteral("level")); }
    QString Text(const char* label)
    {
        return Panel().findChild<QLabel*>(QString::fromLatin1(label))->text();
    }
    // Pixels of the light levels, the grid at every level and the
    // translucency table that are not the tables of `file`.
    int WrongPixelsAgainst(const Bytes& file, const Palette& palette)
    {
        int wrong = WrongPixels(Picture("lightLevels").Picture(), 256, 64, palette,
                                [&](int x, int y) { return file[kLight + y * 256 + x]; });
        for (int level : {0, 33, 63}) {
            Level().setValue(level);
            wrong += WrongPixels(Picture("grid").Picture(), 16, 16, palette, [&](int x, int y) {
                return file[kLight + level * 256 + y * 16 + x];
            });
        }
        if (file.size() > kTranslucency)
            wrong += WrongPixels(Picture("translucency").Picture(), 256, 256, palette,
                                 [&](int x, int y) { return file[kTranslucency + y * 256 + x]; });
        return wrong;
    }
    // Saves the active document, which the panel then shows as saved.
    Bytes SaveActive()
    {
        const std::string path = folder / "active.cmp";
        EXPECT_TRUE(ActiveView()->GetDocument()->DoSave(path));
        Frame().UpdateCommandUI();
        WaitForTables();
        return ReadFileBytes(path);
    }
    // A point in the middle of pixel (x, y) of a picture.
    static QPoint At(TablePictureWidget& picture, int x, int y)
    {
        const QRect area = picture.PictureRect();
        const int scale = picture.Scale();
        return QPoint(area.x() + x * scale + scale / 2, area.y() + y * scale + scale / 2);
    }

    TempFolder folder;
    ScriptedUserInterface ui;
    ScopedUserInterface installed{ui};
    CPalvaneApp app;
};

std::string Rgb(const ColorTriple& color)
{
    return "rgb(" + std::to_string(color.red) + ", " + std::to_string(color.green) + ", " +
           std::to_string(color.blue) + ")";
}

TEST_F(TablesPanelTest, PointingTellsWhatIsUnderThePointerAndAClickSelectsTheResult)
{
    struct Row {
        const char* picture;
        int x, y, level;
    };
    const Row rows[] = {
        {"lightLevels", 37, 12, 63}, {"lightLevels", 200, 0, 63}, {"lightLevels", 3, 63, 63},
        {"grid", 5, 2, 20},          {"grid", 15, 15, 0},         {"translucency", 200, 37, 63},
    };
    Start();
    CPalvaneDoc* document = Open(PALVANE_SAMPLE_COLORMAP);
    const Bytes file = SaveActive();
    const Palette palette = PaletteOf(file);
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.picture) + " " + std::to_string(row.x) + "," +
                     std::to_string(row.y));
        Level().setValue(row.level);
        std::string expected;
        int result = 0;
        if (std::string(row.picture) == "translucency") {
            result = file[kTranslucency + row.y * 256 + row.x];
            expected = std::to_string(row.y) + " over " + std::to_string(row.x) + " \u2192 ";
        } else {
            const int level = std::string(row.picture) == "grid" ? row.level : row.y;
            const int cell = std::string(row.picture) == "grid" ? row.y * 16 + row.x : row.x;
            result = file[kLight + level * 256 + cell];
            expected = "Level " + std::to_string(level) + ", cell " + std::to_string(cell) +
                       " \u2192 cell ";
        }
        expected += std::to_string(result) + ": " + Rgb(palette[result]);
        TablePictureWidget& picture = Picture(row.picture);
        QTest::mouseMove(&picture, At(picture, row.x, row.y));
        EXPECT_EQ(Frame().GetMessageText().toStdString(), expected);
        QTest::mouseClick(&picture, Qt::LeftButton, {}, At(picture, row.x, row.y));
        Settle();
        EXPECT_EQ(document->m_nSelStart, result);
        EXPECT_EQ(document->m_nSelEnd, result);
    }
}

TEST_F(TablesPanelTest, TheFilesOwnTablesAndWhetherTheNextSaveWritesTranslucency)
{
    Start();
    WaitForTables();
    auto* showStored = Panel().findChild<QPushButton*>(QStringLiteral("showStored"));
    // A new colormap, then saved without the translucency table.
    EXPECT_EQ(Text("comparison").toStdString(), "The file holds no tables");
    EXPECT_FALSE(showStored->isEnabled());
    EXPECT_EQ(Text("translucencyLine").toStdString(), TablesPanel::kTranslucencyAsked);
    ui.QueueMessageBoxAnswer(IDNO);
    SaveActive();
    EXPECT_EQ(Text("comparison").toStdString(), "The file's tables match");
    EXPECT_EQ(Text("translucencyLine").toStdString(), TablesPanel::kTranslucencyNotWritten);

    // A colormap whose tables were changed by hand, and those tables shown.
    Bytes file = ReadFileBytes(PALVANE_SAMPLE_COLORMAP);
    file[kLight + 12 * 256 + 37] ^= 1;
    file[kTranslucency + 5] ^= 1;
    WriteFileBytes(folder / "hand.cmp", file);
    Open(folder / "hand.cmp");
    EXPECT_EQ(Text("comparison").toStdString(),
              "Saving will change 1 of 16,384 light entries and 1 of 65,536 translucency entries");
    ASSERT_TRUE(showStored->isEnabled());
    QTest::mouseClick(showStored, Qt::LeftButton);
    EXPECT_EQ(WrongPixelsAgainst(file, PaletteOf(file)), 0);
    QTest::mouseClick(showStored, Qt::LeftButton);
    EXPECT_EQ(WrongPixels(Picture("lightLevels").Picture(), 256, 64, PaletteOf(file),
                          [&](int x, int y) { return file[kLight + y * 256 + x]; }),
              1);
}

// Every pixel of the pictures against the tables a save of the same palette
// writes: the sample's, then after each change of the palette, the file read
// again bringing a random one.
TEST_F(TablesPanelTest, EveryPixelIsTheTablesASaveWritesAfterEveryPaletteChange)
{
    struct Row {
        const char* name;
        std::function<void(TablesPanelTest&, CPalvaneDoc&)> change;
    };
    const Row rows[] = {
        {"colour edit",
         [](TablesPanelTest& test, CPalvaneDoc&) {
             CPalvaneView* view = test.ActiveView();
             test.ui.QueueColor(0x123456);
             const QPoint cell(view->Gap() * 2 + view->CellWidth() * 5 + view->CellWidth() / 2,
                               view->Gap() * 3 + view->CellHeight() * 2 + view->CellHeight() / 2);
             QTest::mouseMove(view, cell);
             QTest::mouseDClick(view, Qt::LeftButton, {}, cell);
         }},
        {"Gradient",
         [](TablesPanelTest& test, CPalvaneDoc& document) {
             document.m_nSelStart = 40;
             document.m_nSelEnd = 90;
             test.Run(ID_PALETTE_GRADIENT);
         }},
        {"Colorize",
         [](TablesPanelTest& test, CPalvaneDoc& document) {
             document.m_nSelStart = 100;
             document.m_nSelEnd = 180;
             test.ui.QueueColor(0x2080FF);
             test.Run(ID_PALETTE_COLORIZE);
         }},
        {"Dark Forces import",
         [](TablesPanelTest& test, CPalvaneDoc&) {
             Bytes dfpal(768);
             for (std::size_t i = 0; i < dfpal.size(); ++i)
                 dfpal[i] = static_cast<std::uint8_t>(i * 7 % 64);
             WriteFileBytes(test.folder / "import.pal", dfpal);
             test.ui.QueueFile(test.folder / "import.pal");
             test.Run(ID_FILE_IMPORT_DFPAL);
         }},
        {"the file read again",
         [](TablesPanelTest& test, CPalvaneDoc& document) {
             test.Saved(RandomPalette(3), "changed.cmp");
             WriteFileBytes(document.GetPathName(), ReadFileBytes(test.folder / "changed.cmp"));
             ASSERT_TRUE(document.ReloadFromFile());
         }},
        {"a burst of 100 edits",
         [](TablesPanelTest&, CPalvaneDoc& document) {
             for (int i = 0; i < 100; ++i) {
                 document.m_palette[static_cast<std::size_t>(32 + i)] =
                     ColorTriple(static_cast<std::uint8_t>(i * 2), 90, 200);
                 document.NotifyPaletteChanged();
                 if (i % 10 == 0)
                     QCoreApplication::processEvents();
             }
         }},
    };
    Start();
    CPalvaneDoc* document = Open(PALVANE_SAMPLE_COLORMAP);
    // The next save writes the translucency table, which shows.
    const Bytes sample = SaveActive();
    ASSERT_EQ(sample.size(), 82752u);
    EXPECT_EQ(WrongPixelsAgainst(sample, document->m_palette), 0);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Palette before = document->m_palette;
        row.change(*this, *document);
        WaitForTables();
        ASSERT_NE(document->m_palette, before);
        EXPECT_EQ(WrongPixelsAgainst(ReadFileBytes(Saved(document->m_palette, "expected.cmp")),
                                     document->m_palette),
                  0);
    }
}

TEST_F(TablesPanelTest, FollowsTheColourChooserAndReturnsWhenItIsCancelled)
{
    Start();
    CPalvaneDoc* document = Open(Saved(RandomPalette(5), "chosen.cmp"));
    SaveActive();
    const Palette palette = document->m_palette;
    Palette chosen = palette;
    chosen[37] = ColorTriple(1, 2, 3);
    const Bytes whileChosen = ReadFileBytes(Saved(chosen, "while.cmp"));
    const Bytes unchanged = ReadFileBytes(Saved(palette, "unchanged.cmp"));

    QtUserInterface chooser;
    const ScopedUserInterface real(chooser);
    int wrongWhileChosen = -1;
    WhenModal("QColorDialog", [&](QWidget* dialog) {
        static_cast<QColorDialog*>(dialog)->setCurrentColor(QColor(1, 2, 3));
        WaitForTables();
        wrongWhileChosen = WrongPixelsAgainst(whileChosen, chosen);
        static_cast<QColorDialog*>(dialog)->reject();
    });
    CPalvaneView* view = ActiveView();
    const QPoint cell(view->Gap() * 6 + view->CellWidth() * 5 + view->CellWidth() / 2,
                      view->Gap() * 3 + view->CellHeight() * 2 + view->CellHeight() / 2);
    QTest::mouseMove(view, cell);
    QTest::mouseDClick(view, Qt::LeftButton, {}, cell);
    WaitForTables();
    EXPECT_EQ(wrongWhileChosen, 0);
    EXPECT_EQ(document->m_palette, palette);
    EXPECT_EQ(WrongPixelsAgainst(unchanged, palette), 0);
}

TEST_F(TablesPanelTest, TheViewMenuAndItsKeyShowItAsTheLastRunLeftIt)
{
    for (const bool shownBefore : {false, true}) {
        SCOPED_TRACE(shownBefore);
        QSettings().setValue(QStringLiteral("Settings/TablesPanel"), shownBefore);
        CPalvaneApp editor;
        ASSERT_TRUE(editor.InitInstance({}));
        CMainFrame& frame = *editor.GetMainFrame();
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
        frame.UpdateCommandUI();
        EXPECT_EQ(frame.GetTablesPanel()->isHidden(), !shownBefore);
        EXPECT_EQ(frame.Action(ID_VIEW_TABLES)->isChecked(), shownBefore);
        QTest::keyClick(&frame, Qt::Key_T, Qt::ControlModifier);
        frame.UpdateCommandUI();
        EXPECT_EQ(frame.GetTablesPanel()->isHidden(), shownBefore);
        EXPECT_EQ(frame.Action(ID_VIEW_TABLES)->isChecked(), !shownBefore);
        EXPECT_EQ(QSettings().value(QStringLiteral("Settings/TablesPanel")).toBool(), !shownBefore);
        frame.close();
    }
}

} // namespace
