#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CPalvaneApp.h"
#include "document/CPalvaneDoc.h"
#include "framework/PlatformFile.h"
#include "framework/ScriptedUserInterface.h"
#include "res/CommandIds.h"
#include "tests/support/Files.h"
#include "tests/support/ModalDialog.h"
#include "tests/support/TempFolder.h"
#include "view/CPalvaneView.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QSettings>
#include <QTest>
#include <QToolBar>
#include <QUrl>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
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
    EXPECT_EQ(Frame().windowTitle().toStdString(), "Palvane - JKCMP1");
    EXPECT_EQ(MenuBarTexts(), (Texts{"&File", "&View", "&Window", "&Help"}));
    EXPECT_EQ(Frame().GetMessageText().toStdString(), "Ready");

    Run(ID_FILE_CLOSE);
    EXPECT_TRUE(Documents().empty());
    EXPECT_EQ(Frame().windowTitle().toStdString(), "Palvane");
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
         "&Export As>",
         "  &Dark Forces Palette...",
         "  &JASC Palette...",
         "-",
         "&Print...\tCtrl+P",
         "Print Pre&view",
         "P&rint Setup...",
         "-",
         "Recent File",
         "-",
         "E&xit"},
        {"&Toolbar", "&Status Bar"},
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
        {"&Toolbar", "&Status Bar"},
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
        {ID_PALETTE_GRADIENT, "Create a gradient between the selection points", "Gradient", ""},
        {ID_APP_ABOUT, "Display program information, version number and copyright", "About", ""},
        {ID_FILE_MRU_FILE1, "Open this document", "", ""},
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
    EXPECT_EQ(keys.size(), 4u);
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
    EXPECT_EQ(frames[0]->windowTitle().toStdString(), "JKCMP1:1");
    EXPECT_EQ(frames[1]->windowTitle().toStdString(), "JKCMP1:2");
    EditACell();
    frames[1]->close();
    Settle();
    EXPECT_TRUE(ui.Asked().empty() || ui.MessagesShown().empty());
    EXPECT_EQ(frames[0]->windowTitle().toStdString(), "JKCMP1");
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
    QMenu* window = Frame().CurrentMenus()[2];
    QMetaObject::invokeMethod(window, "aboutToShow");
    const Texts texts = MenuTexts(window);
    EXPECT_EQ(Texts(texts.end() - 3, texts.end()), (Texts{"-", "&1 JKCMP1", "&2 JKCMP2"}));
    QAction* first = window->actions()[window->actions().size() - 2];
    EXPECT_FALSE(first->isChecked());
    emit window->hovered(first);
    EXPECT_EQ(Frame().GetMessageText().toStdString(), "Activate this window");
    first->trigger();
    Settle();
    EXPECT_EQ(Frame().windowTitle().toStdString(), "Palvane - JKCMP1");
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

TEST_F(EditorTest, DroppedFilesOpenOneDocumentEach)
{
    Start();
    QList<QUrl> urls;
    for (const char* name : {"a.cmp", "b.cmp", "c.cmp"})
        urls.push_back(QUrl::fromLocalFile(QString::fromStdString(Sample(name))));
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Frame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Frame(), &drop);
    Settle();
    EXPECT_EQ(Documents().size(), 4u);
    EXPECT_EQ(Frame().windowTitle().toStdString(), "Palvane - c.cmp");
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
