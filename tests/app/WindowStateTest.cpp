// What the editor's windows remember and show: the main window's place,
// size, bars and the file dialogs' folders from one run to the next, a
// first window that fits its screen, and the mark of unsaved changes.
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CPalvaneApp.h"
#include "app/ResourceImages.h"
#include "app/WindowTitle.h"
#include "document/CPalvaneDoc.h"
#include "framework/ScriptedUserInterface.h"
#include "framework/qt/QtUserInterface.h"
#include "res/CommandIds.h"
#include "tests/support/ModalDialog.h"
#include "tests/support/TempFolder.h"
#include "view/CPalvaneView.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMdiArea>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QWindow>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

namespace {

constexpr const char* kSaveTranparency = "Would you like to encode transparency information?";

// Starts of the editor in one process, one after another, sharing settings
// in a temporary folder.
class WindowStateTest : public ::testing::Test {
public:
    WindowStateTest()
    {
        const QString settings = QString::fromStdString(folder / "settings");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings);
        ui.SetStandingAnswer(kSaveTranparency, IDNO);
    }

    void Start()
    {
        app.emplace();
        ASSERT_TRUE(app->InitInstance({}));
        Frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
        Settle();
    }
    // File, Exit, and the editor is gone.
    void Exit()
    {
        Run(ID_APP_EXIT);
        app.reset();
        Settle();
    }
    CMainFrame& Frame() { return *app->GetMainFrame(); }
    void Run(unsigned id)
    {
        Frame().Action(id)->trigger();
        Settle();
    }
    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static QRect Available() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    TempFolder folder;
    ScriptedUserInterface ui;
    ScopedUserInterface installed{ui};
    std::optional<CPalvaneApp> app;
};

// File, Open through the real file dialog: `check` sees the dialog as it
// opens, then `path` is typed into it.
void OpenThroughTheDialog(CMainFrame& frame, const std::string& path,
                          const std::function<void(QFileDialog&)>& check)
{
    QtUserInterface real(true);
    const ScopedUserInterface installed(real);
    WhenModal("QFileDialog", [&](QWidget* dialog) {
        check(*static_cast<QFileDialog*>(dialog));
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        name->setText(QString::fromStdString(path));
        QTest::keyClick(name, Qt::Key_Return);
    });
    frame.Action(ID_FILE_OPEN)->trigger();
}

struct RememberedRow {
    const char* name;
    // Changes the window of the first start...
    std::function<void(CMainFrame&, const TempFolder&)> change;
    // ...and finds it so in the next.
    std::function<void(CMainFrame&, const TempFolder&)> check;
};

void PrintTo(const RememberedRow& row, std::ostream* out)
{
    *out << row.name;
}

class RememberedStateTest : public WindowStateTest,
                            public ::testing::WithParamInterface<RememberedRow> {};

TEST_P(RememberedStateTest, SurvivesARestart)
{
    Start();
    GetParam().change(Frame(), folder);
    Settle();
    Exit();
    Start();
    GetParam().check(Frame(), folder);
}

const QRect kPlace(40, 30, 500, 400);

INSTANTIATE_TEST_SUITE_P(
    MainWindow, RememberedStateTest,
    ::testing::Values(
        RememberedRow{"PlaceAndSize",
                      [](CMainFrame& frame, const TempFolder&) { frame.setGeometry(kPlace); },
                      [](CMainFrame& frame, const TempFolder&) {
                          EXPECT_EQ(frame.geometry(), kPlace);
                          EXPECT_FALSE(frame.isMaximized());
                      }},
        RememberedRow{"Maximized",
                      [](CMainFrame& frame, const TempFolder&) {
                          frame.setGeometry(kPlace);
                          frame.showMaximized();
                      },
                      [](CMainFrame& frame, const TempFolder&) {
                          EXPECT_TRUE(frame.isMaximized());
                          EXPECT_EQ(frame.normalGeometry(), kPlace);
                      }},
        RememberedRow{"BarsHidden",
                      [](CMainFrame& frame, const TempFolder&) {
                          frame.Action(ID_VIEW_TOOLBAR)->trigger();
                          frame.Action(ID_VIEW_STATUS_BAR)->trigger();
                      },
                      [](CMainFrame& frame, const TempFolder&) {
                          EXPECT_TRUE(frame.ToolBar()->isHidden());
                          EXPECT_TRUE(frame.statusBar()->isHidden());
                          EXPECT_FALSE(frame.Action(ID_VIEW_TOOLBAR)->isChecked());
                      }},
        RememberedRow{"ToolbarDockedLeft",
                      [](CMainFrame& frame, const TempFolder&) {
                          frame.addToolBar(Qt::LeftToolBarArea, frame.ToolBar());
                      },
                      [](CMainFrame& frame, const TempFolder&) {
                          EXPECT_EQ(frame.toolBarArea(frame.ToolBar()), Qt::LeftToolBarArea);
                          EXPECT_FALSE(frame.ToolBar()->isHidden());
                          EXPECT_FALSE(frame.statusBar()->isHidden());
                      }},
        RememberedRow{
            "OpenDialogFolder",
            [](CMainFrame& frame, const TempFolder& folder) {
                std::filesystem::create_directory(folder / "palettes");
                std::filesystem::copy_file(PALVANE_SAMPLE_COLORMAP, folder / "palettes/a.cmp");
                OpenThroughTheDialog(frame, folder / "palettes/a.cmp", [](QFileDialog&) {});
            },
            [](CMainFrame& frame, const TempFolder& folder) {
                QString shown;
                OpenThroughTheDialog(frame, folder / "palettes/a.cmp", [&](QFileDialog& dialog) {
                    shown = dialog.directory().absolutePath();
                });
                EXPECT_EQ(shown.toStdString(), folder / "palettes");
            }}),
    [](const ::testing::TestParamInfo<RememberedRow>& info) {
        return std::string(info.param.name);
    });

class OffScreenTest : public WindowStateTest, public ::testing::WithParamInterface<QRect> {};

TEST_P(OffScreenTest, AGeometryThatFitsNoScreenIsMovedAndShrunkOntoOne)
{
    // As a window left on a screen that is gone, or larger than this one.
    Start();
    Frame().setGeometry(GetParam());
    Settle();
    Exit();
    Start();
    const QRect placed = Frame().frameGeometry();
    const QSize frame = placed.size() - Frame().geometry().size();
    EXPECT_TRUE(Available().contains(placed))
        << placed.x() << "," << placed.y() << " " << placed.width() << "x" << placed.height();
    // Moved or shrunk only as far as it must be.
    EXPECT_EQ(placed.size(), (GetParam().size() + frame).boundedTo(Available().size()));
}

INSTANTIATE_TEST_SUITE_P(Geometries, OffScreenTest,
                         ::testing::Values(QRect(5000, 4000, 500, 400), QRect(-900, 20, 500, 400),
                                           QRect(10, 10, 3000, 2000),
                                           QRect(-4000, -3000, 5000, 4000)));

struct FirstWindowRow {
    const char* scaleFactor;
    QSize largest; // in the screen's pixels
};

void PrintTo(const FirstWindowRow& row, std::ostream* out)
{
    *out << "scale " << row.scaleFactor;
}

class FirstWindowTest : public ::testing::TestWithParam<FirstWindowRow> {};

// A start without settings on a 1600 x 1000 screen: its window, as the
// editor draws it with --render, takes at most 80% of the screen each way.
TEST_P(FirstWindowTest, FitsTheScreenAtAnyScaleFactor)
{
    const TempFolder folder;
    {
        std::ofstream screen(folder / "screen.json");
        screen << R"({"screens": [{"name": "wide", "x": 0, "y": 0, "width": 1600,)"
               << R"( "height": 1000, "logicalDpi": 96, "logicalBaseDpi": 96}]})";
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM",
                       QString::fromStdString("offscreen:configfile=" + folder / "screen.json"));
    environment.insert("QT_SCALE_FACTOR", GetParam().scaleFactor);
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"}) {
        std::filesystem::create_directory(folder / name);
        environment.insert(name, QString::fromStdString(folder / name));
    }
    QProcess editor;
    editor.setProcessEnvironment(environment);
    const QString picture = QString::fromStdString(folder / "window.png");
    editor.start(PALVANE_EXECUTABLE, {"--render", picture});
    ASSERT_TRUE(editor.waitForFinished(60000));
    ASSERT_EQ(editor.exitCode(), 0) << editor.readAllStandardError().toStdString();
    const QImage window(picture);
    EXPECT_LE(window.width(), GetParam().largest.width());
    EXPECT_LE(window.height(), GetParam().largest.height());
    EXPECT_GE(window.height(), GetParam().largest.height() / 2) << "a first window that small?";
}

INSTANTIATE_TEST_SUITE_P(Screens, FirstWindowTest,
                         ::testing::Values(FirstWindowRow{"1", QSize(1280, 800)},
                                           FirstWindowRow{"2", QSize(1280, 800)}));

// The windows show the icons at every size the desktop asks for, and the
// toolbar's buttons have pictures drawn for a scale factor of 2, not the
// small ones blurred.
TEST_F(WindowStateTest, IconsComeAtEverySizeAndTheToolbarAtScaleTwo)
{
    Start();
    for (const QIcon& icon :
         {QApplication::windowIcon(), Frame().windowIcon(), Frame().MDIGetActive()->windowIcon()})
        for (int size : {16, 24, 32, 48, 64, 128, 256})
            EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
    const QImage drawn = ResourceImages::LoadImage("toolbar@2x.bmp");
    int button = 0;
    for (QAction* action : Frame().ToolBar()->actions()) {
        if (action->isSeparator())
            continue;
        QImage sharp = action->icon().pixmap(QSize(16, 15), 2.0).toImage();
        sharp.setDevicePixelRatio(1);
        EXPECT_EQ(sharp.convertToFormat(QImage::Format_ARGB32),
                  drawn.copy(button++ * 32, 0, 32, 30).convertToFormat(QImage::Format_ARGB32))
            << action->objectName().toStdString();
    }
    EXPECT_EQ(button, 7);
}

struct MarkRow {
    const char* step;
    std::function<void(WindowStateTest&, CPalvaneDoc&)> run;
    const char* title; // the main window's, afterwards
};

class UnsavedMarkTest : public WindowStateTest {};

// The titles of the child windows and of the main window show "*" after
// the document's name while it has unsaved changes.
TEST_F(UnsavedMarkTest, FollowsTheModifiedFlag)
{
    Start();
    Run(ID_WINDOW_NEW);
    CPalvaneDoc& document = *Frame().MDIGetActive()->GetView()->GetDocument();
    const std::string saved = folder / "saved.cmp";
    const MarkRow steps[] = {
        {"edit a cell",
         [](WindowStateTest& test, CPalvaneDoc&) {
             CPalvaneView* view = test.Frame().MDIGetActive()->GetView();
             test.ui.QueueColor(0x123456);
             const QPoint cell(view->Gap() + view->CellWidth() / 2,
                               view->Gap() + view->CellHeight() / 2);
             QTest::mouseDClick(view, Qt::LeftButton, {}, cell);
         },
         "Palvane - JKCMP1*"},
        {"save",
         [&](WindowStateTest& test, CPalvaneDoc&) {
             test.ui.QueueFile(saved);
             test.Run(ID_FILE_SAVE);
         },
         "Palvane - saved.cmp"},
        {"gradient",
         [](WindowStateTest& test, CPalvaneDoc& doc) {
             doc.m_nSelStart = 0;
             doc.m_nSelEnd = 9;
             test.Frame().UpdateCommandUI();
             test.Run(ID_PALETTE_GRADIENT);
         },
         "Palvane - saved.cmp*"},
        // As undoing back to the saved state does.
        {"back to the saved state",
         [](WindowStateTest&, CPalvaneDoc& doc) { doc.SetModifiedFlag(false); },
         "Palvane - saved.cmp"},
    };
    for (const MarkRow& step : steps) {
        SCOPED_TRACE(step.step);
        step.run(*this, document);
        Settle();
        EXPECT_EQ(Frame().windowHandle()->title().toStdString(), step.title)
            << Frame().windowTitle().toStdString() << Frame().isWindowModified();
        const std::string name = std::string(step.title).substr(std::strlen("Palvane - "));
        const std::string mark = name.back() == '*' ? "*" : "";
        const QList<QMdiSubWindow*> children =
            Frame().MdiArea()->subWindowList(QMdiArea::CreationOrder);
        ASSERT_EQ(children.size(), 2);
        const std::string bare = mark.empty() ? name : name.substr(0, name.size() - 1);
        EXPECT_EQ(WindowTitle::Shown(*children[0]).toStdString(), bare + ":1" + mark);
        EXPECT_EQ(WindowTitle::Shown(*children[1]).toStdString(), bare + ":2" + mark);
    }
}

} // namespace
