// Undo and redo, the Edit and Palette menus and the clipboard, through the
// editor's real window.

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CPalvaneApp.h"
#include "document/CPalvaneDoc.h"
#include "framework/ScriptedUserInterface.h"
#include "res/CommandIds.h"
#include "tests/support/Files.h"
#include "tests/support/OptFileBuilder.h"
#include "tests/support/TempFolder.h"
#include "view/CPalvaneView.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenu>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Palette = CPalvaneDoc::Palette;

// What undo and redo must give back: palette, selection, modified flag.
auto State(const CPalvaneDoc& document)
{
    return std::make_tuple(document.m_palette, document.m_nSelStart, document.m_nSelEnd,
                           document.IsModified());
}

// Counts the paint events a widget receives.
struct PaintCounter final : QObject {
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int count = 0;
};

// The editor started in a test, with every question answered by the script.
class EditMenuTest : public ::testing::Test {
protected:
    EditMenuTest()
    {
        const QString settings = QString::fromStdString(folder / "settings");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings);
        ui.SetStandingAnswer("Would you like to encode transparency information?", IDNO);
        EXPECT_TRUE(app.InitInstance({}));
        Frame().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Frame()));
        Settle();
    }

    CMainFrame& Frame() { return *app.GetMainFrame(); }
    QAction* Act(unsigned id) { return Frame().Action(id); }
    std::string ItemText(unsigned id) { return Act(id)->text().toStdString(); }
    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    void Run(unsigned id)
    {
        Act(id)->trigger();
        Settle();
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        QTest::keyClick(ActiveView(), Qt::Key(key), modifiers);
        Settle();
    }
    CPalvaneView* ActiveView() { return Frame().MDIGetActive()->GetView(); }
    CPalvaneDoc& Document() { return *ActiveView()->GetDocument(); }
    // A copy of the sample colormap, opened.
    CPalvaneDoc& OpenSample(const std::string& name)
    {
        const std::string path = folder / name;
        std::filesystem::copy_file(PALVANE_SAMPLE_COLORMAP, path);
        ui.QueueFile(path);
        Run(ID_FILE_OPEN);
        return Document();
    }
    void Click(int index, Qt::KeyboardModifiers modifiers = {}, bool twice = false)
    {
        CPalvaneView* view = ActiveView();
        const QPoint cell(
            view->Gap() + index % 16 * (view->CellWidth() + view->Gap()) + view->CellWidth() / 2,
            view->Gap() + index / 16 * (view->CellHeight() + view->Gap()) + view->CellHeight() / 2);
        QTest::mouseMove(view, cell);
        if (twice)
            QTest::mouseDClick(view, Qt::LeftButton, modifiers, cell);
        else
            QTest::mouseClick(view, Qt::LeftButton, modifiers, cell);
        Settle();
    }
    // Clicks `start` and Shift-clicks `end`; nothing for -1.
    void Select(int start, int end)
    {
        if (start >= 0)
            Click(start);
        if (end != start)
            Click(end, Qt::ShiftModifier);
    }
    static void WriteText(const std::string& path, std::string_view text)
    {
        WriteFileBytes(path, Bytes(text.begin(), text.end()));
    }
    static QClipboard& Clipboard() { return *QGuiApplication::clipboard(); }

    TempFolder folder;
    ScriptedUserInterface ui;
    ScopedUserInterface installed{ui};
    CPalvaneApp app;
};

// Every action on the palette: done, undone (palette, selection and modified
// flag as before, every view redrawn), redone (as after), and undone and
// redone around a save, which is the state that is unmodified. An action
// that changes no colour (a cancelled Colorize, a Gradient with nothing
// between its ends) marks the document modified as ever but is no step.
TEST_F(EditMenuTest, EveryPaletteActionIsOneStepToUndoAndRedo)
{
    const struct {
        const char* step; // nullptr: the action changes no colour
        int selStart, selEnd;
        std::function<void()> act;
    } rows[] = {
        {"Edit Color 40", -1, -1, [this] { ui.QueueColor(0x123456), Click(40, {}, true); }},
        {"Gradient 32\u201347", 32, 47, [this] { Run(ID_PALETTE_GRADIENT); }},
        {"Colorize 32\u201347", 32, 47,
         [this] { ui.QueueColor(0x2080F0), Run(ID_PALETTE_COLORIZE); }},
        {"Import Dark Forces Palette", 5, 5,
         [this] {
             WriteFileBytes(folder / "import.pal", Bytes(768, 21));
             ui.QueueFile(folder / "import.pal");
             Run(ID_FILE_IMPORT_DFPAL);
         }},
        {"Import X-Wing Alliance Texture", -1, -1,
         [this] {
             OptFileBuilder opt;
             const int texture = opt.Texture("wall", {0xF800, 0x07E0, 0x001F}, {0});
             WriteFileBytes(folder / "model.opt", opt.Build({opt.Node(0, {texture})}));
             ui.QueueFile(folder / "model.opt");
             ui.QueueTexture(0);
             Run(ID_FILE_IMPORT_XWA);
         }},
        {"Import Palette File 32\u201334", 32, 47,
         [this] {
             WriteText(folder / "three.gpl", "GIMP Palette\r\nName: Three\r\n# by hand\r\n"
                                             "255 0 0 Red\r\n  0 255 0\r\n0 0 255\tBlue\r\n");
             ui.QueueFile(folder / "three.gpl");
             Run(ID_FILE_IMPORT_PALETTE);
         }},
        {"Paste 40\u201342", 40, 40,
         [this] { Clipboard().setText("#010203\n#040506\n#070809\n"), Run(ID_EDIT_PASTE); }},
        {nullptr, 32, 47,
         [this] {
             ui.QueueCancel(ScriptedUserInterface::Kind::color);
             Run(ID_PALETTE_COLORIZE);
         }},
        {nullptr, 32, 33, [this] { Run(ID_PALETTE_GRADIENT); }},
    };
    int number = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.step != nullptr ? row.step : "no step");
        CPalvaneDoc& document = OpenSample("action" + std::to_string(++number) + ".cmp");
        Run(ID_WINDOW_NEW);
        std::vector<std::unique_ptr<PaintCounter>> views;
        for (CChildFrame* frame : app.GetDocTemplate().GetFrames(&document))
            views.push_back(std::make_unique<PaintCounter>(frame->GetView()));
        Select(row.selStart, row.selEnd);
        const auto before = State(document);
        row.act();
        auto after = State(document);
        EXPECT_TRUE(document.IsModified());
        if (row.step == nullptr) {
            EXPECT_EQ(document.m_palette, std::get<Palette>(before));
            EXPECT_FALSE(Act(ID_EDIT_UNDO)->isEnabled());
            document.SetModifiedFlag(false);
            Run(ID_FILE_CLOSE);
            continue;
        }
        ASSERT_NE(document.m_palette, std::get<Palette>(before));
        EXPECT_EQ(ItemText(ID_EDIT_UNDO), std::string("&Undo ") + row.step + "\tCtrl+Z");

        const auto expectEveryViewRedrawn = [&views] {
            for (const auto& view : views)
                EXPECT_GT(std::exchange(view->count, 0), 0);
        };
        for (const auto& view : views)
            view->count = 0;
        Run(ID_EDIT_UNDO);
        EXPECT_EQ(State(document), before);
        expectEveryViewRedrawn();
        EXPECT_FALSE(Act(ID_EDIT_UNDO)->isEnabled());
        EXPECT_EQ(ItemText(ID_EDIT_UNDO), "&Undo\tCtrl+Z");
        EXPECT_EQ(ItemText(ID_EDIT_REDO), std::string("&Redo ") + row.step + "\tCtrl+Y");
        Run(ID_EDIT_REDO);
        EXPECT_EQ(State(document), after);
        expectEveryViewRedrawn();
        EXPECT_FALSE(Act(ID_EDIT_REDO)->isEnabled());

        // Saved: undoing leaves the saved state, redoing comes back to it.
        Run(ID_FILE_SAVE);
        Run(ID_EDIT_UNDO);
        EXPECT_EQ(document.m_palette, std::get<Palette>(before));
        EXPECT_TRUE(document.IsModified());
        Run(ID_EDIT_REDO);
        std::get<bool>(after) = false;
        EXPECT_EQ(State(document), after);
        Run(ID_FILE_CLOSE);
    }
    EXPECT_EQ(ui.UnscriptedCount(), 0);
}

// Which items of the Edit and Palette menus a selection enables; the
// Palette menu's items are the toolbar's actions, and Ctrl+Shift+Z redoes
// as well.
TEST_F(EditMenuTest, EditAndPaletteItemsFollowTheSelection)
{
    QMenu* paletteMenu = Frame().CurrentMenus()[2];
    EXPECT_EQ(paletteMenu->actions(),
              (QList<QAction*>{Act(ID_PALETTE_GRADIENT), Act(ID_PALETTE_COLORIZE)}));
    EXPECT_EQ(Act(ID_EDIT_REDO)->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
    const unsigned ids[] = {ID_EDIT_UNDO,       ID_EDIT_REDO,       ID_EDIT_COPY,
                            ID_EDIT_PASTE,      ID_EDIT_SELECT_ALL, ID_PALETTE_GRADIENT,
                            ID_PALETTE_COLORIZE};
    const struct {
        const char* name;
        std::function<void()> select;
        std::vector<bool> enabled; // in the order of `ids`
    } rows[] = {
        {"no selection", [] {}, {false, false, false, true, true, false, false}},
        {"one cell", [this] { Click(5); }, {false, false, true, true, true, false, true}},
        {"a run", [this] { Select(32, 47); }, {false, false, true, true, true, true, true}},
        {"Select All", [this] { Key(Qt::Key_A); }, {false, false, true, true, true, true, true}},
        {"no document", [this] { Run(ID_FILE_CLOSE); }, std::vector<bool>(7, false)},
    };
    for (const auto& row : rows) {
        row.select();
        QMetaObject::invokeMethod(Frame().CurrentMenus()[0], "aboutToShow");
        std::vector<bool> enabled;
        for (unsigned id : ids)
            enabled.push_back(Act(id)->isEnabled());
        EXPECT_EQ(enabled, row.enabled) << row.name;
    }
}

// The keys take an import back and do it again, in the active window's
// document only.
TEST_F(EditMenuTest, KeysUndoAndRedoAnImportInTheActiveDocumentOnly)
{
    CPalvaneDoc& first = OpenSample("first.cmp");
    const Palette opened = first.m_palette;
    WriteFileBytes(folder / "import.pal", Bytes(768, 63));
    ui.QueueFile(folder / "import.pal");
    Run(ID_FILE_IMPORT_DFPAL);
    const Palette imported = first.m_palette;
    CPalvaneDoc& second = OpenSample("second.cmp");
    Key(Qt::Key_Z);
    EXPECT_EQ(first.m_palette, imported);
    EXPECT_FALSE(second.IsModified());

    Frame().MdiArea()->setActiveSubWindow(app.GetDocTemplate().GetFrames(&first).front());
    Settle();
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const Palette* palette;
    } keys[] = {
        {Qt::Key_Z, Qt::ControlModifier, &opened},
        {Qt::Key_Y, Qt::ControlModifier, &imported},
        {Qt::Key_Z, Qt::ControlModifier, &opened},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, &imported},
    };
    for (const auto& key : keys) {
        Key(key.key, key.modifiers);
        EXPECT_EQ(first.m_palette, *key.palette) << key.key << " " << key.modifiers;
        EXPECT_EQ(first.IsModified(), key.palette == &imported);
    }
}

TEST_F(EditMenuTest, CopyPutsTheSelectedRunOnTheClipboardAsLines)
{
    OpenSample("copy.cmp");
    Select(16, 18);
    Key(Qt::Key_C);
    EXPECT_EQ(Clipboard().text().toStdString(), "#160F08\n#2A1C10\n#3E2917\n");
}

// Paste of each accepted form fills the cells from the selection's start
// (cell 0 without one) up to cell 255 and selects them; text without a
// colour changes nothing, and the status bar says why.
TEST_F(EditMenuTest, PasteFillsTheCellsFromTheSelectionsStart)
{
    const std::vector<ColorTriple> three = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    const struct {
        const char* text; // nullptr: the clipboard holds no text
        int selStart, selEnd;
        std::vector<ColorTriple> pasted;
        const char* status;
    } rows[] = {
        {"#0A0B0C\r\n#0d0e0f\r\n",
         40,
         40,
         {{10, 11, 12}, {13, 14, 15}},
         "Pasted 2 colors into cells 40\u201341."},
        {"JASC-PAL\r\n0100\r\n3\r\n1 2 3\r\n4 5 6\r\n7 8 9\r\n", 100, 110, three,
         "Pasted 3 colors into cells 100\u2013102."},
        {"GIMP Palette\nName: Mine\n#\n1 2 3 One\n",
         -1,
         -1,
         {{1, 2, 3}},
         "Pasted 1 color into cell 0."},
        {"; mine\n0x010203, 040506\n\n# last\n7 8 9\n", 7, 9, three,
         "Pasted 3 colors into cells 7\u20139."},
        {"#010203 #040506 #070809",
         254,
         254,
         {{1, 2, 3}, {4, 5, 6}},
         "Pasted 2 of 3 colors: the palette ends at cell 255."},
        {"Palette\n",
         40,
         47,
         {},
         "Nothing pasted: line 1: \"Palette\" is not a colour: expected #RRGGBB, RRGGBB, "
         "0xRRGGBB or three numbers from 0 to 255"},
        {nullptr, 40, 47, {}, "The Clipboard holds no text to paste."},
    };
    int number = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.status);
        CPalvaneDoc& document = OpenSample("paste" + std::to_string(++number) + ".cmp");
        Select(row.selStart, row.selEnd);
        Palette expected = document.m_palette;
        const int first = std::max(row.selStart, 0);
        std::copy(row.pasted.begin(), row.pasted.end(), expected.begin() + first);
        row.text != nullptr ? Clipboard().setText(QString::fromUtf8(row.text))
                            : Clipboard().clear();
        Key(Qt::Key_V);

        const int count = static_cast<int>(row.pasted.size());
        EXPECT_EQ(State(document),
                  count > 0 ? std::make_tuple(expected, first, first + count - 1, true)
                            : std::make_tuple(expected, row.selStart, row.selEnd, false));
        EXPECT_EQ(Frame().GetMessageText().toStdString(), row.status);
        EXPECT_EQ(Act(ID_EDIT_UNDO)->isEnabled(), count > 0);
    }
}

} // namespace

// Every Export As item of another program's format writes a file that the
// Palette File import reads back as the same 256 colours.
TEST_F(EditMenuTest, EveryPaletteExportComesBackThroughTheImport)
{
    CPalvaneDoc& source = OpenSample("source.cmp");
    const Palette sample = source.m_palette;
    for (const auto& [id, name] : {std::pair{ID_FILE_EXPORT_GPL, "out.gpl"},
                                   {ID_FILE_EXPORT_RIFF, "riff.pal"},
                                   {ID_FILE_EXPORT_ACT, "out.act"},
                                   {ID_FILE_EXPORT_PAINTNET, "out.txt"},
                                   {ID_FILE_EXPORT_HEX, "out.hex"},
                                   {ID_FILE_EXPORT_SWATCH, "out.png"}}) {
        Frame().MdiArea()->setActiveSubWindow(app.GetDocTemplate().GetFrames(&source).front());
        Settle();
        ui.QueueFile(folder / name);
        Run(id);
        ASSERT_TRUE(std::filesystem::exists(folder / name)) << name;
        Run(ID_FILE_NEW);
        CPalvaneDoc& copy = Document();
        ui.QueueFile(folder / name);
        Run(ID_FILE_IMPORT_PALETTE);
        EXPECT_EQ(copy.m_palette, sample) << name;
    }
}
