#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CPalvaneApp.h"
#include "app/WindowTitle.h"
#include "document/CPalvaneDoc.h"
#include "framework/DocumentView.h"
#include "framework/PlatformFile.h"
#include "framework/ScriptedUserInterface.h"
#include "framework/qt/PrinterSetup.h"
#include "res/CommandIds.h"
#include "tests/support/Files.h"
#include "tests/support/ModalDialog.h"
#include "tests/support/TempFolder.h"
#include "view/CPalvaneView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <QToolBar>
#include <QUrl>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using Texts = std::vector<std::string>;

constexpr const char* kSaveTranparency = "Would you like to encode transparency information?";

// The editor started in a test: settings and data folders in a temporary
// folder, every question answered by the script.
class EditorTest : public ::testing::Test {
protected:
    EditorTest()
    {
        const QString settings = QString::fromStdString(folder / "settings");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings);
        ui.SetStandingAnswer(kSaveTranparency, IDNO);
    }
    ~EditorTest() override { PrinterSetup::SetChosen(std::nullopt); }

    void Start(const QStringList& arguments = {})
    {
        ASSERT_TRUE(app.InitInstance(arguments));
        Frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
        Settle();
    }
    CMainFrame& Frame() { return *app.GetMainFrame(); }
    QAction* Act(unsigned id) { return Frame().Action(id); }
    void Run(unsigned id)
    {
        Act(id)->trigger();
        Settle();
    }
    // Lets the merged refresh and any closing windows run.
    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::vector<CPalvaneDoc*> Documents() { return app.GetDocTemplate().GetDocuments(); }
    CPalvaneView* ActiveView() { return Frame().MDIGetActive()->GetView(); }
    std::string Sample(const std::string& name)
    {
        const std::string path = folder / name;
        std::filesystem::copy_file(PALVANE_SAMPLE_COLORMAP, path);
        return path;
    }
    CPalvaneDoc* Open(const std::string& path)
    {
        ui.QueueFile(path);
        Run(ID_FILE_OPEN);
        return Frame().MDIGetActive()->GetView()->GetDocument();
    }
    // Double-clicks cell 5 of the active view and picks a new colour.
    void EditACell()
    {
        CPalvaneView* view = ActiveView();
        ui.QueueColor(0x123456);
        const QPoint cell(view->Gap() * 2 + view->CellWidth() * 5 + view->CellWidth() / 2,
                          view->Gap() + view->CellHeight() / 2);
        QTest::mouseMove(view, cell);
        QTest::mouseDClick(view, Qt::LeftButton, {}, cell);
        Settle();
    }
    void Click(int index, Qt::KeyboardModifiers modifiers = {})
    {
        CPalvaneView* view = ActiveView();
        const int pitchX = view->CellWidth() + view->Gap();
        const int pitchY = view->CellHeight() + view->Gap();
        const QPoint cell(view->Gap() + index % 16 * pitchX + view->CellWidth() / 2,
                          view->Gap() + index / 16 * pitchY + view->CellHeight() / 2);
        QTest::mouseMove(view, cell);
        QTest::mouseClick(view, Qt::LeftButton, modifiers, cell);
        Settle();
    }
    // The shown texts of a menu, "-" for a separator, "name>" with the
    // items of a pop-up after it.
    static Texts MenuTexts(QMenu* menu)
    {
        Texts texts;
        for (QAction* action : menu->actions()) {
            if (!action->isVisible())
                continue;
            if (action->isSeparator()) {
                texts.push_back("-");
            } else if (action->menu() != nullptr) {
                texts.push_back(action->text().toStdString() + ">");
                for (const std::string& text : MenuTexts(action->menu()))
                    texts.push_back("  " + text);
            } else {
                texts.push_back(action->text().toStdString());
            }
        }
        return texts;
    }
    Texts MenuBarTexts()
    {
        Texts texts;
        for (QMenu* menu : Frame().CurrentMenus())
            texts.push_back(menu->title().toStdString());
        return texts;
    }

    TempFolder folder;
    ScriptedUserInterface ui;
    ScopedUserInterface installed{ui};
    CPalvaneApp app;
};

TEST_F(EditorTest, StartsWithOneGreyDocumentAndWithoutOneDisablesItsCommands)
{
    Start();
    ASSERT_EQ(Documents().size(), 1u);
    const CPalvaneDoc& document = *Documents().front();
    EXPECT_EQ(document.GetTitle(), "JKCMP1");
    EXPECT_FALSE(document.IsModified());
    for (const ColorTriple& entry : document.m_palette)
        EXPECT_EQ(entry, ColorTriple(128, 128, 128));
    EXPECT_EQ(WindowTitle::Shown(Frame()).toStdString(), "Palvane - JKCMP1");
    EXPECT_EQ(MenuBarTexts(), (Texts{"&File", "&Edit", "&Palette", "&View", "&Window", "&Help"}));
    EXPECT_EQ(Frame().GetMessageText().toStdString(), "Ready");

    Run(ID_FILE_CLOSE);
    EXPECT_TRUE(Documents().empty());
    EXPECT_EQ(WindowTitle::Shown(Frame()).toStdString(), "Palvane");
    EXPECT_EQ(MenuBarTexts(), (Texts{"&File", "&View", "&Help"}));
    for (unsigned id : {ID_FILE_SAVE, ID_FILE_PRINT, ID_PALETTE_GRADIENT, ID_PALETTE_COLORIZE,
                        ID_FILE_CLOSE, ID_WINDOW_NEW})
        EXPECT_FALSE(Act(id)->isEnabled()) << id;
    // Ctrl+P has nothing to print; Ctrl+N makes the next document.
    QTest::keyClick(&Frame(), Qt::Key_P, Qt::ControlModifier);
    Settle();
    EXPECT_TRUE(ui.Asked().empty());
    QTest::keyClick(&Frame(), Qt::Key_N, Qt::ControlModifier);
    Settle();
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Documents().front()->GetTitle(), "JKCMP2");
}

TEST_F(EditorTest, MenusAreTheCommandTables)
{
    Start();
    const std::vector<QMenu*> documentMenus = Frame().CurrentMenus();
    const std::vector<Texts> expectedDocument = {
        {"&New\tCtrl+N",
         "&Open...\tCtrl+O",
         "&Close",
         "&Save\tCtrl+S",
         "Save &As...",
         "-",
         "I&mport From>",
         "  &Dark Forces Palette...",
         "  &X-Wing Alliance Texture...",
         "  &Palette File...",
         "&Export As>",
         "  &Dark Forces Palette...",
         "  &JASC Palette...",
         "  &GIMP Palette...",
         "  &RIFF Palette...",
         "  &Adobe Color Table...",
         "  Paint.&NET Palette...",
         "  &Hex List...",
         "  &Swatch Image...",
         "-",
         "&Print...\tCtrl+P",
         "Print Pre&view",
         "P&rint Setup...",
         "-",
         "Recent File",
         "-",
         "E&xit"},
        {"&Undo\tCtrl+Z", "&Redo\tCtrl+Y", "-", "&Copy\tCtrl+C", "&Paste\tCtrl+V", "-",
         "Select &All\tCtrl+A"},
        {"&Gradient", "Colo&rize..."},
        {"&Toolbar", "&Status Bar", "&Tables\tCtrl+T"},
        {"&New Window", "&Cascade", "&Tile", "&Arrange Icons"},
        {"&About Palvane..."},
    };
    ASSERT_EQ(documentMenus.size(), expectedDocument.size());
    for (std::size_t i = 0; i < documentMenus.size(); ++i)
        EXPECT_EQ(MenuTexts(documentMenus[i]), expectedDocument[i]);

    Run(ID_FILE_CLOSE);
    const std::vector<QMenu*> mainMenus = Frame().CurrentMenus();
    const std::vector<Texts> expectedMain = {
        {"&New\tCtrl+N", "&Open...\tCtrl+O", "-", "P&rint Setup...", "-", "Recent File", "-",
         "E&xit"},
        {"&Toolbar", "&Status Bar", "&Tables\tCtrl+T"},
        {"&About Palvane..."},
    };
    ASSERT_EQ(mainMenus.size(), expectedMain.size());
    for (std::size_t i = 0; i < mainMenus.size(); ++i)
        EXPECT_EQ(MenuTexts(mainMenus[i]), expectedMain[i]);

    Texts toolbar;
    for (QAction* action : Frame().ToolBar()->actions())
        toolbar.push_back(action->isSeparator() ? "-" : action->toolTip().toStdString());
    EXPECT_EQ(toolbar,
              (Texts{"New", "Open", "Save", "Print", "-", "Gradient", "Colorize", "-", "About"}));
}

TEST_F(EditorTest, PointingAtACommandShowsItsPromptAndItsButtonItsTooltip)
{
    struct Row {
        unsigned id;
        const char* prompt;
        const char* tooltip;
        const char* key;
    };
    const Row rows[] = {
        {ID_FILE_NEW, "Create a new document", "New", "Ctrl+N"},
        {ID_FILE_SAVE, "Save the active document", "Save", "Ctrl+S"},
        {ID_FILE_PRINT, "Print the active document", "Print", "Ctrl+P"},
        {ID_FILE_EXPORT_JASC, "Export As a JASC Palette (PSP)", "Export JASC", ""},
        {ID_FILE_EXPORT_DFPAL, "", "", ""},
        {ID_FILE_IMPORT_DFPAL, "", "", ""},
        {ID_FILE_IMPORT_XWA, "", "", ""},
        {ID_FILE_IMPORT_PALETTE, "Import the colors of a palette file or an image",
         "Import Palette File", ""},
        {ID_FILE_EXPORT_SWATCH, "Export As an image of 16 by 16 color cells", "Export Swatch Image",
         ""},
        {ID_PALETTE_GRADIENT, "Create a gradient between the selection points", "Gradient", ""},
        {ID_APP_ABOUT, "Display program information, version number and copyright", "About", ""},
        {ID_FILE_MRU_FILE1, "Open this document", "", ""},
        {ID_EDIT_UNDO, "Undo the last change to the palette", "Undo", "Ctrl+Z"},
        {ID_EDIT_REDO, "Redo the change last undone", "Redo", "Ctrl+Y"},
        {ID_EDIT_COPY, "Copy the selected colors to the Clipboard as text", "Copy", "Ctrl+C"},
        {ID_EDIT_PASTE,
         "Put the colors on the Clipboard into the cells from the first selected one", "Paste",
         "Ctrl+V"},
        {ID_EDIT_SELECT_ALL, "Select every cell of the palette", "Select All", "Ctrl+A"},
        {ID_VIEW_TABLES, "Show or hide the tables of the active colormap", "Toggle Tables",
         "Ctrl+T"},
    };
    Start();
    for (const Row& row : rows) {
        Frame().ShowIdleMessage();
        Act(row.id)->hover();
        EXPECT_EQ(Frame().GetMessageText().toStdString(), row.prompt) << row.id;
        if (*row.tooltip != '\0') {
            EXPECT_EQ(Act(row.id)->toolTip().toStdString(), row.tooltip) << row.id;
        }
        EXPECT_EQ(Act(row.id)->shortcut().toString().toStdString(), row.key) << row.id;
    }
    // Each key is the one its menu item names, and no two commands share one.
    std::set<std::string> keys;
    for (QAction* action : Frame().findChildren<QAction*>()) {
        const std::string key = action->shortcut().toString().toStdString();
        if (key.empty() || !action->data().isValid()) // the child frames' own keys
            continue;
        EXPECT_TRUE(keys.insert(key).second) << key;
        EXPECT_EQ(action->text().section(QLatin1Char('\t'), 1).toStdString(), key);
    }
    EXPECT_EQ(keys.size(), 10u);
    // The toolbar's buttons prompt while the pointer is on them.
    QWidget* gradient = Frame().ToolBar()->widgetForAction(Act(ID_PALETTE_COLORIZE));
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(gradient, &enter);
    EXPECT_EQ(Frame().GetMessageText().toStdString(), "Colorize the selection");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(gradient, &leave);
    EXPECT_EQ(Frame().GetMessageText().toStdString(), "Ready");
}

TEST_F(EditorTest, GradientAndColorizeFollowTheSelection)
{
    Start();
    struct Row {
        int cell;
        Qt::KeyboardModifiers modifiers;
        bool gradient;
    };
    EXPECT_FALSE(Act(ID_PALETTE_GRADIENT)->isEnabled());
    EXPECT_FALSE(Act(ID_PALETTE_COLORIZE)->isEnabled());
    for (const Row& row : {Row{3, {}, false}, Row{9, Qt::ShiftModifier, true}, Row{4, {}, false}}) {
        Click(row.cell, row.modifiers);
        EXPECT_EQ(Act(ID_PALETTE_GRADIENT)->isEnabled(), row.gradient) << row.cell;
        EXPECT_TRUE(Act(ID_PALETTE_COLORIZE)->isEnabled()) << row.cell;
    }
    // The hot cell's text reaches the message pane.
    EXPECT_EQ(Frame().GetMessageText().left(5).toStdString(), "Cell ");
}

// The selection pane shows the active document's run, whatever selected it,
// and follows the active window; Tab gives the grid the keys.
TEST_F(EditorTest, TheSelectionPaneFollowsTheActiveDocumentsSelection)
{
    Start();
    ActiveView()->clearFocus();
    QTest::keyClick(&Frame(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), ActiveView());
    const auto key = [this](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        Settle();
    };
    struct Row {
        const char* label;
        std::function<void()> action;
        const char* text;
    };
    // \u2013 is an en dash.
    const Row rows[] = {
        {"no selection", [] {}, ""},
        {"click", [&] { Click(32); }, "Cell 32"},
        {"Shift-click", [&] { Click(47, Qt::ShiftModifier); }, "Cells 32\u201347 (16)"},
        {"Shift+Right", [&] { key(Qt::Key_Right, Qt::ShiftModifier); }, "Cells 32\u201348 (17)"},
        {"End", [&] { key(Qt::Key_End); }, "Cell 255"},
        {"Shift+Home does nothing", [&] { key(Qt::Key_Home, Qt::ShiftModifier); }, "Cell 255"},
        {"a new document", [&] { Run(ID_FILE_NEW); }, ""},
        {"back to the first",
         [&] {
             Frame().MdiArea()->activatePreviousSubWindow();
             Settle();
         },
         "Cell 255"},
    };
    for (const Row& row : rows) {
        row.action();
        EXPECT_EQ(Frame().findChild<QLabel*>("selectionPane")->text().toStdString(), row.text)
            << row.label;
    }
}

// Gradient and Colorize from their toolbar buttons, on a run selected with a
// click and a Shift-click: the palette changes as the document's own commands
// change it, the document is modified, and a second view shows the change.
TEST_F(EditorTest, ToolbarButtonsRunGradientAndColorizeOnTheSelectedRun)
{
    Start();
    CPalvaneDoc* document = Open(Sample("buttons.cmp"));
    Run(ID_WINDOW_NEW);
    CPalvaneView* other = nullptr;
    for (CPalvaneView* view : Frame().MdiArea()->findChildren<CPalvaneView*>())
        if (view->GetDocument() == document && view != ActiveView())
            other = view;
    ASSERT_NE(other, nullptr);
    Click(32);
    Click(47, Qt::ShiftModifier);

    CPalvaneDoc expected;
    expected.m_palette = document->m_palette;
    expected.m_nSelStart = 32;
    expected.m_nSelEnd = 47;
    ui.QueueColor(0x2080F0);
    for (const unsigned id : {ID_PALETTE_GRADIENT, ID_PALETTE_COLORIZE}) {
        QWidget* button = Frame().ToolBar()->widgetForAction(Act(id));
        ASSERT_NE(button, nullptr) << id;
        QTest::mouseClick(button, Qt::LeftButton);
        Settle();
        ScriptedUserInterface reference;
        reference.QueueColor(0x2080F0);
        const ScopedUserInterface installed(reference);
        expected.OnCommand(id);
        EXPECT_EQ(document->m_palette, expected.m_palette) << id;
        EXPECT_TRUE(document->IsModified()) << id;
    }
    const QImage shown = other->grab().toImage();
    const QPoint cell40(other->Gap() + 8 * (other->CellWidth() + other->Gap()) + 2,
                        other->Gap() + 2 * (other->CellHeight() + other->Gap()) + 2);
    const ColorTriple& colour = document->m_palette[40];
    EXPECT_EQ(shown.pixelColor(cell40 * shown.devicePixelRatio()),
              QColor(colour.red, colour.green, colour.blue));
}

TEST_F(EditorTest, ClosingAModifiedDocumentAsksAndKeepsItWhenTheSaveDoesNotHappen)
{
    struct Row {
        const char* name;
        int answer;
        bool saveFails;
        bool staysOpen;
    };
    const Row rows[] = {
        {"cancel.cmp", IDCANCEL, false, true},
        {"no.cmp", IDNO, false, false},
        {"yes.cmp", IDYES, false, false},
        {"fails.cmp", IDYES, true, true},
    };
    Start();
    for (const Row& row : rows) {
        const std::string path = Sample(row.name);
        const Bytes before = ReadFileBytes(path);
        CPalvaneDoc* document = Open(path);
        EditACell();
        ASSERT_TRUE(document->IsModified()) << row.name;
        if (row.saveFails) { // a folder where the file was: the save cannot replace it
            std::filesystem::remove(path);
            std::filesystem::create_directory(path);
        }
        ui.ForgetAsked();
        ui.QueueMessageBoxAnswer(row.answer);
        Run(ID_FILE_CLOSE);
        ASSERT_FALSE(ui.MessagesShown().empty());
        EXPECT_EQ(ui.MessagesShown().front(), std::string("Save changes to ") + row.name + "?");
        const bool open = app.GetDocTemplate().FindDocument(path) != nullptr;
        EXPECT_EQ(open, row.staysOpen) << row.name;
        if (open) {
            EXPECT_TRUE(document->IsModified()) << row.name;
            document->SetModifiedFlag(false);
            Run(ID_FILE_CLOSE);
        } else {
            EXPECT_EQ(ReadFileBytes(path) != before, row.answer == IDYES) << row.name;
        }
    }
}

TEST_F(EditorTest, OpenFilesAreActivatedAndTheRecentListKeepsTheNewestFive)
{
    Start();
    std::vector<std::string> paths;
    for (int i = 1; i <= 6; ++i)
        paths.push_back(Sample("file" + std::to_string(i) + ".cmp"));
    CPalvaneDoc* first = Open(paths[0]);
    for (std::size_t i = 1; i < paths.size(); ++i)
        Open(paths[i]);
    EXPECT_EQ(Open(paths[0]), first);
    EXPECT_EQ(Documents().size(), 7u); // with JKCMP1

    const Texts expected = {paths[5], paths[4], paths[3], paths[2], paths[1]};
    EXPECT_EQ(app.GetRecentFileList().GetEntries(), expected);
    const std::string shown = Act(ID_FILE_MRU_FILE1)->text().toStdString();
    EXPECT_EQ(shown.substr(0, 3), "&1 ");
    EXPECT_LE(shown.size() - 3, 30u);
    EXPECT_EQ(shown.substr(shown.size() - 9), "file6.cmp");

    Run(ID_APP_EXIT);
    QSettings settings;
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(settings.value(QStringLiteral("Recent File List/File%1").arg(i + 1))
                      .toString()
                      .toStdString(),
                  expected[static_cast<std::size_t>(i)]);
}

TEST_F(EditorTest, NewWindowNumbersTheViewsAndTheLastViewClosesTheDocument)
{
    Start();
    Run(ID_WINDOW_NEW);
    QList<QMdiSubWindow*> frames = Frame().MdiArea()->subWindowList(QMdiArea::CreationOrder);
    ASSERT_EQ(frames.size(), 2);
    EXPECT_EQ(WindowTitle::Shown(*frames[0]).toStdString(), "JKCMP1:1");
    EXPECT_EQ(WindowTitle::Shown(*frames[1]).toStdString(), "JKCMP1:2");
    EditACell();
    frames[1]->close();
    Settle();
    EXPECT_TRUE(ui.Asked().empty() || ui.MessagesShown().empty());
    EXPECT_EQ(WindowTitle::Shown(*frames[0]).toStdString(), "JKCMP1*"); // edited, not saved
    ui.QueueMessageBoxAnswer(IDNO);
    frames[0]->close();
    Settle();
    EXPECT_EQ(ui.MessagesShown(), Texts{"Save changes to JKCMP1?"});
    EXPECT_TRUE(Documents().empty());
}

TEST_F(EditorTest, ViewItemsAreCheckedWhileTheirBarShowsAndWindowListsTheChildren)
{
    Start();
    for (unsigned id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}) {
        for (bool shown : {false, true}) {
            Run(id);
            EXPECT_EQ(Act(id)->isChecked(), shown) << id;
        }
    }
    EXPECT_FALSE(Frame().ToolBar()->isHidden());

    Run(ID_FILE_NEW);
    QMenu* window = Frame().CurrentMenus()[4];
    QMetaObject::invokeMethod(window, "aboutToShow");
    const Texts texts = MenuTexts(window);
    EXPECT_EQ(Texts(texts.end() - 3, texts.end()), (Texts{"-", "&1 JKCMP1", "&2 JKCMP2"}));
    QAction* first = window->actions()[window->actions().size() - 2];
    EXPECT_FALSE(first->isChecked());
    emit window->hovered(first);
    EXPECT_EQ(Frame().GetMessageText().toStdString(), "Activate this window");
    first->trigger();
    Settle();
    EXPECT_EQ(WindowTitle::Shown(Frame()).toStdString(), "Palvane - JKCMP1");
}

TEST_F(EditorTest, ExitAsksForEveryModifiedDocumentAndCancelKeepsRunning)
{
    Start();
    EditACell();
    Run(ID_FILE_NEW);
    EditACell();
    ui.QueueMessageBoxAnswer(IDNO);
    ui.QueueMessageBoxAnswer(IDCANCEL);
    Run(ID_APP_EXIT);
    EXPECT_EQ(ui.MessagesShown(), (Texts{"Save changes to JKCMP1?", "Save changes to JKCMP2?"}));
    EXPECT_TRUE(Frame().isVisible());
    EXPECT_EQ(Documents().size(), 2u);
}

// Files named on the command line, dropped together or handed over by a
// later start each open in a window of their own; the last of them is the
// active one, the only one whose Close item holds Ctrl+F4, and those that
// join a shown area are cascaded.
TEST_F(EditorTest, ManyFilesOpenInWindowsOfTheirOwnWithTheLastActive)
{
    enum class Way { commandLine, drop, laterStart };
    const struct {
        Way way;
        std::vector<std::string> names;
    } rows[] = {
        {Way::commandLine, {"a.cmp", "b.cmp", "c.cmp"}},
        {Way::drop, {"d.cmp", "e.cmp", "f.cmp"}},
#ifndef _WIN32
        {Way::laterStart, {"g.cmp", "h.cmp", "i.cmp"}},
#endif
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.names.front());
        QStringList paths;
        for (const std::string& name : row.names)
            paths << QString::fromStdString(Sample(name));
        const qsizetype before =
            app.GetMainFrame() != nullptr ? Frame().MdiArea()->subWindowList().size() : 0;
        if (row.way == Way::commandLine) {
            Start(paths);
        } else if (row.way == Way::drop) {
            QMimeData data;
            QList<QUrl> urls;
            for (const QString& path : paths)
                urls << QUrl::fromLocalFile(path);
            data.setUrls(urls);
            QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton,
                                  Qt::NoModifier);
            QApplication::sendEvent(&Frame(), &enter);
            EXPECT_TRUE(enter.isAccepted());
            QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton,
                            Qt::NoModifier);
            QApplication::sendEvent(&Frame(), &drop);
        } else {
            QProcess later;
            later.start(PALVANE_EXECUTABLE, QStringList{"-dde"} + paths);
            // This editor answers it meanwhile.
            // (It may finish while events are processed between two waits.)
            ASSERT_TRUE(QTest::qWaitFor(
                [&] { return later.state() == QProcess::NotRunning || later.waitForFinished(20); },
                30000));
            EXPECT_EQ(later.exitCode(), 0);
            // They join the area once the requests have paused.
            ASSERT_TRUE(QTest::qWaitFor(
                [&] { return Frame().MdiArea()->subWindowList().size() == before + 3; }, 10000));
        }
        Settle();

        const QList<QMdiSubWindow*> windows =
            Frame().MdiArea()->subWindowList(QMdiArea::CreationOrder);
        ASSERT_EQ(windows.size(), before + 3);
        EXPECT_EQ(WindowTitle::Shown(Frame()).toStdString(), "Palvane - " + row.names.back());
        for (QMdiSubWindow* window : windows) {
            const bool active = window == Frame().MdiArea()->activeSubWindow();
            EXPECT_TRUE(window->isVisible());
            EXPECT_EQ(active, WindowTitle::Shown(*window).toStdString() == row.names.back());
            EXPECT_FALSE(window->windowFlags() & Qt::WindowStaysOnTopHint);
            for (QAction* item : window->systemMenu()->actions()) {
                EXPECT_FALSE(item->isChecked()) << item->text().toStdString();
                if (item->text() == "&Close") {
                    EXPECT_EQ(item->shortcuts().isEmpty(), !active);
                }
            }
        }
        // The new ones lie inside the area, none hiding another's title bar.
        std::set<std::pair<int, int>> corners;
        for (QMdiSubWindow* window : windows.mid(before)) {
            EXPECT_TRUE(Frame().MdiArea()->viewport()->rect().contains(window->pos()));
            corners.insert({window->x(), window->y()});
        }
        EXPECT_EQ(corners.size(), 3u);
    }
    // Ctrl+F4 closes the active window; the next one takes the keys.
    const qsizetype open = Frame().MdiArea()->subWindowList().size();
    QTest::keyClick(ActiveView(), Qt::Key_F4, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(Frame().MdiArea()->subWindowList().size(), open - 1);
    QTest::keyClick(ActiveView(), Qt::Key_F4, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(Frame().MdiArea()->subWindowList().size(), open - 2);
}

TEST_F(EditorTest, AnErrorEscapingACommandIsShownAndTheProgramGoesOn)
{
    Start();
    ui.QueueFile(folder / "missing/out.pal");
    Run(ID_FILE_EXPORT_JASC);
    ASSERT_FALSE(ui.MessagesShown().empty());
    EXPECT_NE(ui.MessagesShown().back().find("missing/out.pal"), std::string::npos);
    EXPECT_EQ(ui.Asked().back().type & MB_ICONMASK, MB_ICONSTOP);
    Run(ID_FILE_NEW);
    EXPECT_EQ(Documents().size(), 2u);
}

#ifndef _WIN32
TEST_F(EditorTest, ASaveOntoAPipeWaitsAWhileForItsReaderThenSaysNobodyReadsIt)
{
    Start();
    EXPECT_EQ(platform_file::PipeReaderWait(), std::chrono::seconds(5));
    const auto shortWait = std::chrono::milliseconds(200); // the five seconds, shortened
    const std::string pipe = folder / "pipe.cmp";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EditACell();
    CPalvaneDoc& document = *ActiveView()->GetDocument();
    for (const bool readerComes : {false, true}) {
        platform_file::SetPipeReaderWait(readerComes ? CPalvaneApp::kPipeReaderWait : shortWait);
        std::size_t received = 0;
        std::thread reader([&] {
            std::this_thread::sleep_for(shortWait / 4);
            const int handle = readerComes ? ::open(pipe.c_str(), O_RDONLY) : -1;
            char buffer[4096];
            for (ssize_t got = 0; (got = ::read(handle, buffer, sizeof buffer)) > 0;)
                received += std::size_t(got);
            ::close(handle);
        });
        ui.ForgetAsked();
        ui.QueueFile(pipe);
        const auto start = std::chrono::steady_clock::now();
        Run(ID_FILE_SAVE_AS);
        const auto took = std::chrono::steady_clock::now() - start;
        ::close(::open(pipe.c_str(), O_WRONLY | O_NONBLOCK)); // a reader still waiting
        reader.join();
        EXPECT_EQ(ui.WaitCursorDepth(), 0);
        EXPECT_GT(ui.WaitCursorCount(), 0);
        EXPECT_EQ(received, readerComes ? 17216u : 0u);
        EXPECT_EQ(document.IsModified(), !readerComes);
        EXPECT_EQ(ui.MessagesShown(), readerComes
                                          ? Texts{kSaveTranparency}
                                          : Texts{"Nobody is reading the pipe " + pipe + "."});
        EXPECT_TRUE(readerComes || (took >= shortWait && took < std::chrono::seconds(5)));
    }
}
#endif

TEST_F(EditorTest, AFileThatCannotBeOpenedEndsTheStart)
{
    EXPECT_FALSE(app.InitInstance({QString::fromStdString(folder / "none.cmp")}));
    ASSERT_EQ(ui.MessagesShown().size(), 1u);
    EXPECT_NE(ui.MessagesShown().front().find("none.cmp was not found."), std::string::npos);
}

TEST_F(EditorTest, AFileOfAnotherKindOpensNothing)
{
    Start();
    const std::string path = folder / "x.pal";
    ui.QueueFile(path);
    Run(ID_FILE_EXPORT_JASC);
    const Texts recent = app.GetRecentFileList().GetEntries();
    for (const Bytes& bytes : {ReadFileBytes(path), Bytes{'C', 'M', 'P'}}) {
        WriteFileBytes(path, bytes);
        ui.ForgetAsked();
        ui.QueueFile(path);
        Run(ID_FILE_OPEN);
        EXPECT_EQ(ui.MessagesShown(), Texts{path + ": Not a CMP File."});
        EXPECT_EQ(Documents().size(), 1u);
        EXPECT_EQ(WindowTitle::Shown(Frame()).toStdString(), "Palvane - JKCMP1");
        EXPECT_EQ(app.GetRecentFileList().GetEntries(), recent);
        EXPECT_EQ(ReadFileBytes(path), bytes);
    }
}

TEST_F(EditorTest, AFileChangedByAnotherProgramIsOfferedForReloadUnlessEdited)
{
    struct UpdateCounter : DocumentView {
        void OnUpdate(DocumentView*, std::intptr_t, void*) override { ++updates; }
        int updates = 0;
    };
    struct Row {
        const char* name;
        bool edited;
        bool savedFirst; // by the editor, which replaces the file with a new one
        bool inPlace;    // the other program writes into the file, else replaces it
        int answer;      // to the offer; 0: none expected
    };
    const Row rows[] = {
        {"reload.cmp", false, false, false, IDYES},
        {"keep.cmp", false, false, false, IDNO},
        {"edited.cmp", true, false, false, 0},
        {"saved.cmp", true, true, true, IDYES},
    };
    Bytes other = ReadFileBytes(PALVANE_SAMPLE_COLORMAP);
    other[64 + 15] = 10;
    const auto offers = [this] {
        Texts texts;
        for (const std::string& text : ui.MessagesShown())
            if (text.find("changed by another program") != std::string::npos)
                texts.push_back(text);
        return texts;
    };
    Start();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = Sample(row.name);
        CPalvaneDoc* document = Open(path);
        document->m_nSelStart = 3;
        document->m_nSelEnd = 9;
        if (row.edited)
            EditACell();
        if (row.savedFirst) {
            QTest::qWait(300); // long after the open, as a user saves
            ui.ForgetAsked();
            Run(ID_FILE_SAVE);
            QTest::qWait(500);
            EXPECT_EQ(offers(), Texts{}) << "the editor's own save";
        }
        const CPalvaneDoc::Palette before = document->m_palette;
        UpdateCounter views;
        document->AddView(&views);
        ui.ForgetAsked();
        if (row.answer != 0)
            ui.QueueMessageBoxAnswer(row.answer);
        if (row.inPlace)
            WriteFileBytes(path, other);
        else
            ReplaceFileBytes(path, other);
        const bool offered = QTest::qWaitFor([&] { return !offers().empty(); }, 1000);
        QTest::qWait(300); // a burst of notifications asks once
        const Texts expected =
            row.answer != 0
                ? Texts{std::string(row.name) + " has been changed by another program. Reload it?"}
                : Texts{};
        EXPECT_EQ(offers(), expected);
        EXPECT_EQ(offered, row.answer != 0);
        if (row.answer == IDYES) {
            EXPECT_EQ(document->m_palette[5], ColorTriple(10, 85, 85));
            EXPECT_FALSE(document->IsModified());
            EXPECT_EQ(views.updates, 1);
            EXPECT_EQ(std::make_pair(document->m_nSelStart, document->m_nSelEnd),
                      std::make_pair(3, 9));
        } else {
            EXPECT_EQ(document->m_palette, before);
        }
        document->RemoveView(&views);
        if (row.answer == IDNO) { // the same contents again are not offered again
            ReplaceFileBytes(path, other);
            QTest::qWait(500);
            EXPECT_EQ(offers().size(), 1u);
        }
        if (row.edited && !row.savedFirst) { // the question comes with the save
            ui.ForgetAsked();
            ui.QueueMessageBoxAnswer(IDNO);
            Run(ID_FILE_SAVE);
            EXPECT_EQ(ui.MessagesShown().front(),
                      std::string(row.name) + " has been changed by another program since it "
                                              "was opened. Replace it with this version?");
            EXPECT_TRUE(document->IsModified());
            EXPECT_EQ(ReadFileBytes(path), other);
        }
    }
}

TEST_F(EditorTest, PrintPreviewKeepsItsPageCount)
{
    Start();
    std::vector<int> shown;
    for (int pages : {2, 1, 0}) {
        // Without a printer, the print dialog comes first.
        WhenModal("QPrintDialog", [](QWidget* dialog) { static_cast<QDialog*>(dialog)->accept(); });
        WhenModal("QPrintPreviewDialog", [&shown, pages](QWidget* dialog) {
            auto* preview = dialog->findChild<QPrintPreviewWidget*>();
            shown.push_back(preview->viewMode() == QPrintPreviewWidget::FacingPagesView ? 2 : 1);
            if (pages == 2)
                preview->setFacingPagesViewMode();
            else if (pages == 1)
                preview->setSinglePageViewMode();
            static_cast<QDialog*>(dialog)->reject();
        });
        Run(ID_FILE_PRINT_PREVIEW);
    }
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 1}));
    EXPECT_EQ(QSettings().value("Settings/PreviewPages").toInt(), 1);
}

TEST_F(EditorTest, AboutShowsTheVersionAndClosesWithOk)
{
    Start();
    std::string version;
    WhenModal("CAboutDlg", [&version](QWidget* dialog) {
        version = dialog->windowTitle().toStdString() + "|" +
                  dialog->findChild<QLabel*>("version")->text().toStdString();
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    Run(ID_APP_ABOUT);
    EXPECT_EQ(version, "About Palvane|Palvane Version 1.1");
}

// Cascade and Tile leave every child its whole grid with cells of a usable
// size, inside the area as far as the child's size allows; with room enough,
// cascaded title bars all show and tiles do not overlap.
TEST_F(EditorTest, CascadeAndTileLeaveEveryGridWholeInsideTheArea)
{
    struct Row {
        unsigned command;
        std::size_t documents;
        QSize frame;
        bool roomy;
    };
    const Row rows[] = {
        {ID_WINDOW_CASCADE, 1, {800, 600}, true},   {ID_WINDOW_CASCADE, 3, {800, 600}, true},
        {ID_WINDOW_CASCADE, 3, {420, 380}, false},  {ID_WINDOW_TILE_HORZ, 3, {420, 380}, false},
        {ID_WINDOW_TILE_HORZ, 3, {800, 600}, true}, {ID_WINDOW_TILE_HORZ, 1, {800, 600}, true},
    };
    constexpr int kSmallestCell = 10;
    Start();
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.command << " " << row.documents);
        while (Documents().size() < row.documents)
            Run(ID_FILE_NEW);
        while (Documents().size() > row.documents)
            Run(ID_FILE_CLOSE);
        // A maximised child is restored.
        Frame().MdiArea()->subWindowList().front()->showMaximized();
        Frame().resize(row.frame);
        Settle();
        Run(row.command);

        const QRect area = Frame().MdiArea()->viewport()->rect();
        const QList<QMdiSubWindow*> children = Frame().MdiArea()->subWindowList();
        std::set<std::pair<int, int>> corners;
        for (QMdiSubWindow* child : children) {
            const QRect shown = child->geometry();
            auto* view = static_cast<CPalvaneView*>(child->widget());
            view->grab(); // a drawing pass records the cells
            EXPECT_GE(std::min(view->CellWidth(), view->CellHeight()), kSmallestCell);
            EXPECT_EQ(shown.intersected(area).size(), shown.size().boundedTo(area.size()));
            corners.insert({shown.left(), shown.top()});
            for (QMdiSubWindow* other : children)
                EXPECT_TRUE(other == child || !row.roomy || row.command == ID_WINDOW_CASCADE ||
                            !other->geometry().intersects(shown));
        }
        EXPECT_TRUE(!row.roomy || corners.size() == static_cast<std::size_t>(children.size()));
    }
}

// Every way to print tells the user when the job cannot start, here because
// the chosen PDF file's folder is missing; a cancelled print dialog is no
// failure.
TEST_F(EditorTest, APrintJobThatCannotStartIsReported)
{
    int printDialogs = 0;
    const auto answerPrintDialog = [&printDialogs](bool accept) {
        WhenModal("QPrintDialog", [accept, &printDialogs](QWidget* dialog) {
            ++printDialogs;
            accept ? static_cast<QDialog*>(dialog)->accept()
                   : static_cast<QDialog*>(dialog)->reject();
        });
    };
    struct Row {
        const char* way;
        std::function<void()> print;
        bool printDialog;
        bool fails;
    };
    const Row rows[] = {
        {"File, Print", [&] { answerPrintDialog(true), Run(ID_FILE_PRINT); }, true, true},
        {"Ctrl+P, cancelled",
         [&] {
             answerPrintDialog(false);
             QTest::keyClick(&Frame(), Qt::Key_P, Qt::ControlModifier);
         },
         true, false},
        {"direct printing", [&] { Run(ID_FILE_PRINT_DIRECT); }, false, true},
        {"the preview's Print",
         [&] {
             WhenModal("QPrintPreviewDialog", [&](QWidget* preview) {
                 answerPrintDialog(true);
                 for (QAction* action : preview->findChildren<QAction*>())
                     if (action->text() == "Print")
                         action->trigger();
             });
             Run(ID_FILE_PRINT_PREVIEW);
         },
         true, true},
    };
    Start();
    const std::string pdf = folder / "missing/page.pdf";
    PrinterSetup::SetChosen(
        PrinterSetup::Choice{"", QString::fromStdString(pdf), QPageSize(QPageSize::A4)});
    for (const Row& row : rows) {
        Frame().activateWindow(); // the keys go to the active window
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
        ui.ForgetAsked();
        printDialogs = 0;
        row.print();
        Settle();
        EXPECT_EQ(printDialogs, row.printDialog ? 1 : 0) << row.way;
        ASSERT_EQ(ui.Asked().size(), row.fails ? 1u : 0u) << row.way;
        if (row.fails) {
            EXPECT_EQ(ui.Asked().front().text, "Could not start print job.") << row.way;
            EXPECT_EQ(ui.Asked().front().type, MB_OK | MB_ICONSTOP) << row.way;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

// Print Setup's printer, here a PDF file in landscape, is the one the next
// print lands on and the one the preview shows.
TEST_F(EditorTest, ThePrinterChosenInPrintSetupPrintsAndPreviewsNext)
{
    Start();
    const std::string pdf = folder / "chosen.pdf";
    WhenModal("PrintSetupDialog", [&pdf](QWidget* dialog) {
        auto* printers = dialog->findChild<QComboBox*>("printerName");
        printers->setCurrentIndex(printers->findText("PDF file"));
        auto* file = dialog->findChild<QLineEdit*>("fileName");
        file->clear();
        QTest::keyClicks(file, QString::fromStdString(pdf));
        QTest::mouseClick(dialog->findChild<QRadioButton*>("landscape"), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QPushButton*>("ok"), Qt::LeftButton);
    });
    Run(ID_FILE_PRINT_SETUP);

    Run(ID_FILE_PRINT_DIRECT);
    EXPECT_TRUE(ui.Asked().empty());
    QProcess pdftotext;
    pdftotext.start(PALVANE_PDFTOTEXT, {"-bbox", QString::fromStdString(pdf), "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(30000));
    // One landscape A4 page, in points.
    const QString words = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_EQ(words.count("<page "), 1);
    EXPECT_TRUE(words.contains(R"(<page width="842.000000" height="595.000000">)"));

    QString previewed;
    WhenModal("QPrintPreviewDialog", [&previewed](QWidget* dialog) {
        const QPrinter* printer = static_cast<QPrintPreviewDialog*>(dialog)->printer();
        previewed = printer->outputFileName() +
                    (printer->pageLayout().orientation() == QPageLayout::Landscape ? " landscape"
                                                                                   : " portrait");
        static_cast<QDialog*>(dialog)->reject();
    });
    Run(ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(previewed.toStdString(), pdf + " landscape");
    EXPECT_TRUE(ui.Asked().empty());
}

#ifndef _WIN32
TEST_F(EditorTest, ARequestFromALaterStartWaitsForTheOpenDialog)
{
    Start();
    ASSERT_TRUE(app.GetRequestService().IsServing());
    const std::string path = Sample("requested.cmp");
    QProcess later;
    std::size_t openWhileAsking = 0;
    WhenModal("CAboutDlg", [&](QWidget* dialog) {
        later.start(PALVANE_EXECUTABLE, {"-dde", QString::fromStdString(path)});
        // The request is taken at once, so the later start ends...
        while (later.state() != QProcess::NotRunning && !later.waitForFinished(20))
            QCoreApplication::processEvents();
        QTest::qWait(300);
        openWhileAsking = Documents().size();
        static_cast<QDialog*>(dialog)->accept();
    });
    Run(ID_APP_ABOUT);
    EXPECT_EQ(later.exitCode(), 0);
    // ... but carried out only once the dialog has closed.
    EXPECT_EQ(openWhileAsking, 1u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Documents().size() == 2; }, 5000));
    EXPECT_EQ(Documents().back()->GetPathName(), path);
}
#endif

} // namespace
