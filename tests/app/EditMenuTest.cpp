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

#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

// Counts the paint events a widget receives.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int count = 0;
};

// What undo and redo must give back.
struct DocumentState {
    CPalvaneDoc::Palette palette;
    int selStart;
    int selEnd;
    bool modified;

    explicit DocumentState(const CPalvaneDoc& document)
        : palette(document.m_palette), selStart(document.m_nSelStart), selEnd(document.m_nSelEnd),
          modified(document.IsModified())
    {
    }
    bool operator==(const DocumentState&) const = default;
};

std::ostream& operator<<(std::ostream& out, const DocumentState& state)
{
    return out << "selection " << state.selStart << ":" << state.selEnd
               << (state.modified ? ", modified" : ", unmodified") << ", cell 40 "
               << int(state.palette[40].red) << "," << int(state.palette[40].green) << ","
               << int(state.palette[40].blue);
}

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
    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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
    void Select(int start, int end)
    {
        Click(start);
        if (end != start)
            Click(end, Qt::ShiftModifier);
    }
    static void SetClipboardText(const QString& text)
    {
        QGuiApplication::clipboard()->setText(text);
    }
    static std::string ClipboardText()
    {
        return QGuiApplication::clipboard()->text().toStdString();
    }
    std::string ItemText(unsigned id) { return Act(id)->text().toStdString(); }

    TempFolder folder;
    ScriptedUserInterface ui;
    ScopedUserInterface installed{ui};
    CPalvaneApp app;
};

// One row per action that changes the palette: how it is done, and how the
// Undo and Redo items name it.
struct PaletteAction {
    const char* step;
    int selStart;
    int selEnd;
    std::function<void()> act;
};

// Each action is one step: undo gives back the palette, the selection and
// the modified flag as they were and redraws every view; redo gives back
// the action's result; and undoing and redoing around a save leaves the
// document unmodified exactly at the saved state.
TEST_F(EditMenuTest, EveryPaletteActionIsOneStepToUndoAndRedo)
{
    const PaletteAction rows[] = {
        {"Edit Color 40", -1, -1,
         [this] {
             ui.QueueColor(0x123456);
             Click(40, {}, true);
         }},
        {"Gradient 32\u201347", 32, 47, [this] { Run(ID_PALETTE_GRADIENT); }},
        {"Colorize 32\u201347", 32, 47,
         [this] {
             ui.QueueColor(0x2080F0);
             Run(ID_PALETTE_COLORIZE);
         }},
        {"Import Dark Forces Palette", 5, 5,
         [this] {
             const std::string path = folder / "import.pal";
             WriteFileBytes(path, Bytes(768, 21));
             ui.QueueFile(path);
             Run(ID_FILE_IMPORT_DFPAL);
         }},
        {"Import X-Wing Alliance Texture", -1, -1,
         [this] {
             OptFileBuilder opt;
             const int texture = opt.Texture("wall", {0xF800, 0x07E0, 0x001F}, {0});
             const std::string path = folder / "model.opt";
             WriteFileBytes(path, opt.Build({opt.Node(0, {texture})}));
             ui.QueueFile(path);
             ui.QueueTexture(0);
             Run(ID_FILE_IMPORT_XWA);
         }},
        {"Paste 40\u201342", 40, 40,
         [this] {
             SetClipboardText("#010203\n#040506\n#070809\n");
             Run(ID_EDIT_PASTE);
         }},
    };
    int number = 0;
    for (const PaletteAction& row : rows) {
        SCOPED_TRACE(row.step);
        CPalvaneDoc& document = OpenSample("action" + std::to_string(++number) + ".cmp");
        Run(ID_WINDOW_NEW);
        std::vector<std::unique_ptr<PaintCounter>> paints;
        for (CChildFrame* frame : app.GetDocTemplate().GetFrames(&document))
            paints.push_back(std::make_unique<PaintCounter>(frame->GetView()));
        ASSERT_EQ(paints.size(), 2u);
        if (row.selStart >= 0)
            Select(row.selStart, row.selEnd);
        const DocumentState before(document);
        EXPECT_FALSE(before.modified);
        EXPECT_FALSE(Act(ID_EDIT_UNDO)->isEnabled());

        row.act();
        const DocumentState after(document);
        ASSERT_NE(after.palette, before.palette);
        EXPECT_TRUE(after.modified);
        EXPECT_TRUE(Act(ID_EDIT_UNDO)->isEnabled());
        EXPECT_EQ(ItemText(ID_EDIT_UNDO), std::string("&Undo ") + row.step + "\tCtrl+Z");

        const auto expectEveryViewRepainted = [&paints] {
            for (const auto& view : paints)
                EXPECT_GT(std::exchange(view->count, 0), 0);
        };
        for (const auto& view : paints)
            view->count = 0;
        Run(ID_EDIT_UNDO);
        EXPECT_EQ(DocumentState(document), before);
        expectEveryViewRepainted();
        EXPECT_FALSE(Act(ID_EDIT_UNDO)->isEnabled());
        EXPECT_EQ(ItemText(ID_EDIT_UNDO), "&Undo\tCtrl+Z");
        EXPECT_EQ(ItemText(ID_EDIT_REDO), std::string("&Redo ") + row.step + "\tCtrl+Y");

        Run(ID_EDIT_REDO);
        EXPECT_EQ(DocumentState(document), after);
        expectEveryViewRepainted();
        EXPECT_FALSE(Act(ID_EDIT_REDO)->isEnabled());

        // Saved after the action: undoing leaves the saved state, redoing
        // comes back to it.
        Run(ID_FILE_SAVE);
        ASSERT_FALSE(document.IsModified());
        Run(ID_EDIT_UNDO);
        EXPECT_EQ(document.m_palette, before.palette);
        EXPECT_TRUE(document.IsModified());
        Run(ID_EDIT_REDO);
        DocumentState saved = after;
        saved.modified = false;
        EXPECT_EQ(DocumentState(document), saved);
        Run(ID_FILE_CLOSE);
    }
    EXPECT_EQ(ui.UnscriptedCount(), 0);
}

// A cancelled Colorize and a Gradient with nothing between its ends change
// no colour: they mark the document modified, as ever, but leave nothing to
// undo.
TEST_F(EditMenuTest, AnActionThatChangesNoColourIsNoStep)
{
    const struct {
        const char* name;
        int selStart, selEnd;
        unsigned command;
    } rows[] = {
        {"cancelled Colorize", 32, 47, ID_PALETTE_COLORIZE},
        {"Gradient of two cells", 32, 33, ID_PALETTE_GRADIENT},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CPalvaneDoc& document = OpenSample(std::string(row.name) + ".cmp");
        Select(row.selStart, row.selEnd);
        const CPalvaneDoc::Palette before = document.m_palette;
        ui.QueueCancel(ScriptedUserInterface::Kind::color);
        Run(row.command);
        EXPECT_EQ(document.m_palette, before);
        EXPECT_TRUE(document.IsModified());
        EXPECT_FALSE(Act(ID_EDIT_UNDO)->isEnabled());
        document.SetModifiedFlag(false);
        Run(ID_FILE_CLOSE);
    }
}

// The Edit and Palette menus of the real window: their items, and which of
// them a selection enables.
TEST_F(EditMenuTest, EditAndPaletteMenusFollowTheSelection)
{
    const std::vector<QMenu*> menus = Frame().CurrentMenus();
    Texts titles;
    for (QMenu* menu : menus)
        titles.push_back(menu->title().toStdString());
    ASSERT_EQ(titles, (Texts{"&File", "&Edit", "&Palette", "&View", "&Window", "&Help"}));
    const auto itemsOf = [](QMenu* menu) {
        Texts texts;
        for (QAction* action : menu->actions())
            texts.push_back(action->isSeparator() ? "-" : action->text().toStdString());
        return texts;
    };
    EXPECT_EQ(itemsOf(menus[1]), (Texts{"&Undo\tCtrl+Z", "&Redo\tCtrl+Y", "-", "&Copy\tCtrl+C",
                                        "&Paste\tCtrl+V", "-", "Select &All\tCtrl+A"}));
    EXPECT_EQ(itemsOf(menus[2]), (Texts{"&Gradient", "Colo&rize..."}));
    // One action each, shared with the toolbar.
    EXPECT_EQ(menus[2]->actions()[0], Act(ID_PALETTE_GRADIENT));
    EXPECT_EQ(menus[2]->actions()[1], Act(ID_PALETTE_COLORIZE));
    EXPECT_EQ(Act(ID_EDIT_REDO)->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));

    const struct {
        int selStart, selEnd;
        bool copy, gradient, colorize;
    } rows[] = {
        {-1, -1, false, false, false},
        {5, 5, true, false, true},
        {32, 47, true, true, true},
    };
    const unsigned always[] = {ID_EDIT_PASTE, ID_EDIT_SELECT_ALL};
    const unsigned never[] = {ID_EDIT_UNDO, ID_EDIT_REDO}; // nothing done yet
    for (const auto& row : rows) {
        SCOPED_TRACE(row.selStart);
        if (row.selStart >= 0)
            Select(row.selStart, row.selEnd);
        QMetaObject::invokeMethod(menus[1], "aboutToShow");
        EXPECT_EQ(Act(ID_EDIT_COPY)->isEnabled(), row.copy);
        EXPECT_EQ(Act(ID_PALETTE_GRADIENT)->isEnabled(), row.gradient);
        EXPECT_EQ(Act(ID_PALETTE_COLORIZE)->isEnabled(), row.colorize);
        for (unsigned id : always)
            EXPECT_TRUE(Act(id)->isEnabled()) << id;
        for (unsigned id : never)
            EXPECT_FALSE(Act(id)->isEnabled()) << id;
    }

    // Select All selects every cell and changes nothing else.
    Key(Qt::Key_A);
    EXPECT_EQ(std::make_tuple(Document().m_nSelStart, Document().m_nSelEnd),
              std::make_tuple(0, 255));
    EXPECT_FALSE(Document().IsModified());
    EXPECT_TRUE(Act(ID_PALETTE_GRADIENT)->isEnabled());

    // Without a document nothing of it is enabled.
    Run(ID_FILE_CLOSE);
    for (unsigned id : {ID_EDIT_UNDO, ID_EDIT_REDO, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_SELECT_ALL,
                        ID_PALETTE_GRADIENT, ID_PALETTE_COLORIZE})
        EXPECT_FALSE(Act(id)->isEnabled()) << id;
}

// The keys: Ctrl+Z takes an import back, Ctrl+Y and Ctrl+Shift+Z do it
// again; each window's document keeps its own history.
TEST_F(EditMenuTest, KeysUndoAndRedoAnImportInTheActiveDocumentOnly)
{
    CPalvaneDoc& first = OpenSample("first.cmp");
    const CPalvaneDoc::Palette opened = first.m_palette;
    const std::string path = folder / "import.pal";
    WriteFileBytes(path, Bytes(768, 63));
    ui.QueueFile(path);
    Run(ID_FILE_IMPORT_DFPAL);
    const CPalvaneDoc::Palette imported = first.m_palette;
    ASSERT_NE(imported, opened);

    CPalvaneDoc& second = OpenSample("second.cmp");
    Key(Qt::Key_Z);
    EXPECT_EQ(first.m_palette, imported) << "the other window's document";
    EXPECT_FALSE(second.IsModified());

    Frame().MdiArea()->setActiveSubWindow(app.GetDocTemplate().GetFrames(&first).front());
    Settle();
    ASSERT_EQ(&Document(), &first);
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        const CPalvaneDoc::Palette& palette;
    } keys[] = {
        {Qt::Key_Z, Qt::ControlModifier, opened},
        {Qt::Key_Y, Qt::ControlModifier, imported},
        {Qt::Key_Z, Qt::ControlModifier, opened},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, imported},
    };
    for (const auto& key : keys) {
        Key(key.key, key.modifiers);
        EXPECT_EQ(first.m_palette, key.palette) << key.key << " " << key.modifiers;
        EXPECT_EQ(first.IsModified(), &key.palette == &imported);
    }
}

// Copy puts the selected run on the clipboard, one "#RRGGBB" line per cell.
TEST_F(EditMenuTest, CopyPutsTheSelectedRunOnTheClipboardAsText)
{
    CPalvaneDoc& document = OpenSample("copy.cmp");
    Select(16, 18);
    SetClipboardText("before");
    Key(Qt::Key_C);
    EXPECT_EQ(ClipboardText(), "#160F08\n#2A1C10\n#3E2917\n");
    EXPECT_FALSE(document.IsModified());
}

// Paste puts the colours of every accepted form into the cells from the
// selection's start, selects them and is one step; text without a colour
// changes nothing, and the status bar says why.
TEST_F(EditMenuTest, PasteFillsTheCellsFromTheSelectionsStart)
{
    const std::vector<ColorTriple> rgb = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    const struct {
        const char* name;
        const char* text; // nullptr: the clipboard holds no text
        int selStart, selEnd;
        int first;
        std::vector<ColorTriple> pasted;
        const char* status;
    } rows[] = {
        {"lines ending in CR LF",
         "#0A0B0C\r\n#0d0e0f\r\n",
         40,
         40,
         40,
         {{10, 11, 12}, {13, 14, 15}},
         "Pasted 2 colors into cells 40\u201341."},
        {"a JASC palette", "JASC-PAL\r\n0100\r\n3\r\n1 2 3\r\n4 5 6\r\n7 8 9\r\n", 100, 110, 100,
         rgb, "Pasted 3 colors into cells 100\u2013102."},
        {"a GIMP palette without a selection",
         "GIMP Palette\nName: Mine\n#\n1 2 3 One\n",
         -1,
         -1,
         0,
         {{1, 2, 3}},
         "Pasted 1 color into cell 0."},
        {"words, commas and comments", "; mine\n0x010203, 040506\n\n# last\n7 8 9\n", 7, 9, 7, rgb,
         "Pasted 3 colors into cells 7\u20139."},
        {"more than the palette holds",
         "#010203 #040506 #070809",
         254,
         254,
         254,
         {{1, 2, 3}, {4, 5, 6}},
         "Pasted 2 of 3 colors: the palette ends at cell 255."},
        {"text without a colour",
         "Palette\n",
         40,
         47,
         40,
         {},
         "Nothing pasted: line 1: \"Palette\" is not a colour: expected #RRGGBB, RRGGBB, "
         "0xRRGGBB or three numbers from 0 to 255"},
        {"no text", nullptr, 40, 47, 40, {}, "The Clipboard holds no text to paste."},
    };
    int number = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CPalvaneDoc& document = OpenSample("paste" + std::to_string(++number) + ".cmp");
        if (row.selStart >= 0)
            Select(row.selStart, row.selEnd);
        const CPalvaneDoc::Palette before = document.m_palette;
        if (row.text != nullptr)
            SetClipboardText(QString::fromUtf8(row.text));
        else
            QGuiApplication::clipboard()->clear();
        Key(Qt::Key_V);

        CPalvaneDoc::Palette expected = before;
        std::copy(row.pasted.begin(), row.pasted.end(), expected.begin() + row.first);
        EXPECT_EQ(document.m_palette, expected);
        EXPECT_EQ(Frame().GetMessageText().toStdString(), row.status);
        const int count = static_cast<int>(row.pasted.size());
        const bool pasted = count > 0;
        EXPECT_EQ(document.IsModified(), pasted);
        EXPECT_EQ(std::make_tuple(document.m_nSelStart, document.m_nSelEnd),
                  pasted ? std::make_tuple(row.first, row.first + count - 1)
                         : std::make_tuple(row.selStart, row.selEnd));
        EXPECT_EQ(Act(ID_EDIT_UNDO)->isEnabled(), pasted);
        if (pasted) {
            Run(ID_EDIT_UNDO);
            EXPECT_EQ(document.m_palette, before);
            EXPECT_EQ(std::make_tuple(document.m_nSelStart, document.m_nSelEnd),
                      std::make_tuple(row.selStart, row.selEnd));
        }
    }
}

} // namespace
