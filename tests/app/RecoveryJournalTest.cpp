// Recovery journals of the running editor: written after an edit, gone after
// a save or a close, offered back after the editor is killed, and left alone
// while their editor still runs.

#include "document/RecoveryJournal.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CPalvaneApp.h"
#include "app/RecoveryJournalKeeper.h"
#include "document/CPalvaneDoc.h"
#include "framework/ScriptedUserInterface.h"
#include "res/CommandIds.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"
#include "view/CPalvaneView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

using Texts = std::vector<std::string>;

constexpr ColorRef kEditedColor = 0x123456;
// The killed editor's own test, run as a process of its own by the others.
constexpr const char* kChildTest = "RecoveryJournalTest.DISABLED_EditsAndWaitsToBeKilled";
constexpr const char* kChildReady = "journals written";

class RecoveryJournalTest : public ::testing::Test {
protected:
    RecoveryJournalTest()
    {
        const QString settings = QString::fromStdString(folder / "settings");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings);
        ui.SetStandingAnswer("Would you like to encode transparency information?", IDNO);
    }

    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static std::string RecoveryFolder()
    {
        return qEnvironmentVariable("XDG_STATE_HOME").toStdString() + "/palvane/recovery";
    }
    // The journals in the recovery folder, sorted.
    static Texts Journals()
    {
        Texts journals;
        if (std::filesystem::is_directory(RecoveryFolder()))
            for (const std::string& name : FolderEntries(RecoveryFolder()))
                if (name.ends_with(".journal"))
                    journals.push_back(name);
        return journals;
    }
    std::string Sample(const std::string& name)
    {
        const std::string path = folder / name;
        std::filesystem::copy_file(PALVANE_SAMPLE_COLORMAP, path);
        return path;
    }
    CPalvaneDoc* Open(CPalvaneApp& editor, const std::string& path)
    {
        ui.QueueFile(path);
        editor.GetMainFrame()->ExecuteCommand(ID_FILE_OPEN);
        Settle();
        return editor.GetMainFrame()->MDIGetActive()->GetView()->GetDocument();
    }
    // Clicks cell `index` of the active view and double-clicks it to give it
    // kEditedColor.
    void EditCell(CPalvaneApp& editor, int index)
    {
        CPalvaneView* view = editor.GetMainFrame()->MDIGetActive()->GetView();
        const int pitchX = view->CellWidth() + view->Gap();
        const int pitchY = view->CellHeight() + view->Gap();
        const QPoint cell(view->Gap() + index % 16 * pitchX + view->CellWidth() / 2,
                          view->Gap() + index / 16 * pitchY + view->CellHeight() / 2);
        ui.QueueColor(kEditedColor);
        QTest::mouseMove(view, cell);
        QTest::mouseClick(view, Qt::LeftButton, {}, cell);
        QTest::mouseDClick(view, Qt::LeftButton, {}, cell);
        Settle();
    }
    // The sample's palette with `index` edited, as the killed editor left it.
    static CPalvaneDoc::Palette EditedSample(int index)
    {
        CPalvaneDoc sample;
        EXPECT_TRUE(sample.OnOpenDocument(PALVANE_SAMPLE_COLORMAP));
        sample.m_palette[static_cast<std::size_t>(index)] = ColorTriple::FromColorRef(kEditedColor);
        return sample.m_palette;
    }
    // An editor in a process of its own that opens `path`, edits cell 5 (and
    // cell 9 of its untitled colormap with `untitledToo`), and runs until
    // killed once its journals are written, into our recovery folder.
    QProcess& StartEditorProcess(const std::string& path, bool untitledToo)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PALVANE_CHILD_FILE", QString::fromStdString(path));
        environment.insert("PALVANE_CHILD_UNTITLED", untitledToo ? "1" : "0");
        environment.insert("PALVANE_CHILD_STATE_HOME", qEnvironmentVariable("XDG_STATE_HOME"));
        // Its temporary folders die with it, inside ours.
        std::filesystem::create_directories(folder / "child-tmp");
        environment.insert("TMPDIR", QString::fromStdString(folder / "child-tmp"));
        auto& process = children.emplace_back(std::make_unique<QProcess>());
        process->setProcessEnvironment(environment);
        process->start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--gtest_filter=%1").arg(kChildTest),
                        "--gtest_also_run_disabled_tests"});
        QByteArray output;
        QElapsedTimer waited;
        waited.start();
        while (!output.contains(kChildReady) && process->state() != QProcess::NotRunning &&
               waited.elapsed() < 60000) {
            process->waitForReadyRead(200);
            output += process->readAllStandardOutput();
        }
        EXPECT_TRUE(output.contains(kChildReady)) << output.toStdString();
        return *process;
    }
    static void Kill(QProcess& process)
    {
        process.kill(); // SIGKILL: nothing of the editor runs any more
        process.waitForFinished(10000);
    }
    ~RecoveryJournalTest() override
    {
        for (const auto& child : children)
            Kill(*child);
    }

    TempFolder folder;
    ScriptedUserInterface ui;
    ScopedUserInterface installed{ui};
    std::vector<std::unique_ptr<QProcess>> children;
};

TEST_F(RecoveryJournalTest, AnEditIsJournalledWithinASecondUntilSavedOrClosed)
{
    struct Row {
        const char* name;
        int answer; // to "Save changes to ...?", 0 when not asked
        unsigned command;
    };
    const Row rows[] = {
        {"saved.cmp", 0, ID_FILE_SAVE},
        {"closed-unsaved.cmp", IDNO, ID_FILE_CLOSE},
        {"closed-saved.cmp", IDYES, ID_FILE_CLOSE},
        {"quit-unsaved.cmp", IDNO, ID_APP_EXIT},
    };
    CPalvaneApp editor;
    ASSERT_TRUE(editor.InitInstance({}));
    Settle();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CPalvaneDoc* document = Open(editor, Sample(row.name));
        EXPECT_TRUE(Journals().empty());
        EditCell(editor, 40);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !Journals().empty(); }, 1000));
        ASSERT_EQ(Journals().size(), 1u);
        std::string reason;
        const auto journal =
            RecoveryJournal::Read(RecoveryFolder() + "/" + Journals().front(), reason);
        ASSERT_TRUE(journal.has_value()) << reason;
        EXPECT_EQ(*journal, RecoveryJournal::Of(*document));
        EXPECT_EQ(journal->path, folder / row.name);
        EXPECT_EQ(journal->selectionStart, 40);
        EXPECT_EQ(journal->palette[40], ColorTriple::FromColorRef(kEditedColor));

        if (row.answer != 0)
            ui.QueueMessageBoxAnswer(row.answer);
        editor.GetMainFrame()->ExecuteCommand(row.command);
        Settle();
        EXPECT_TRUE(Journals().empty());
    }
    EXPECT_FALSE(editor.GetMainFrame()->isVisible());
}

#ifndef _WIN32
// The superuser started with another user's home leaves nothing of its own
// there: root-owned journals or settings would keep the user's own editor
// from writing its own.
TEST_F(RecoveryJournalTest, AHomeOfAnotherUserGetsNothingOfTheEditors)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the superuser can make a folder another user's";
    const std::string home = folder / "someone";
    std::filesystem::create_directories(home);
    ASSERT_EQ(::chown(home.c_str(), 65534, 65534), 0);
    const QByteArray state = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", QByteArray::fromStdString(home + "/.local/state"));
    const QString config = QString::fromStdString(home + "/.config");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config);
    {
        CPalvaneApp editor;
        ASSERT_TRUE(editor.InitInstance({}));
        Settle();
        CPalvaneDoc* document = Open(editor, Sample("edited.cmp"));
        EditCell(editor, 40);
        QTest::qWait(2 * RecoveryJournalKeeper::kWriteDelayMs);
        EXPECT_TRUE(document->IsModified());
        ui.QueueMessageBoxAnswer(IDNO);
        editor.GetMainFrame()->ExecuteCommand(ID_APP_EXIT); // writes the recent files
        Settle();
    }
    EXPECT_TRUE(FolderEntries(home).empty());
    qputenv("XDG_STATE_HOME", state);
}
#endif

// Not run by itself: the editor that the tests below start and kill.
TEST_F(RecoveryJournalTest, DISABLED_EditsAndWaitsToBeKilled)
{
    qputenv("XDG_STATE_HOME", qgetenv("PALVANE_CHILD_STATE_HOME"));
    CPalvaneApp editor;
    ASSERT_TRUE(editor.InitInstance({}));
    Settle();
    std::size_t edited = 0;
    if (qgetenv("PALVANE_CHILD_UNTITLED") == "1") {
        EditCell(editor, 9);
        ++edited;
    }
    Open(editor, qEnvironmentVariable("PALVANE_CHILD_FILE").toStdString());
    EditCell(editor, 5);
    ++edited;
    ASSERT_TRUE(QTest::qWaitFor([&] { return Journals().size() == edited; }, 5000));
    std::printf("%s\n", kChildReady);
    std::fflush(stdout);
    QEventLoop().exec();
}

#ifndef _WIN32
TEST_F(RecoveryJournalTest, AKilledEditorsColormapsAreOfferedBackAtTheNextStart)
{
    struct Row {
        bool untitledToo;
        int answer;
        const char* question;
    };
    const Row rows[] = {
        {true, IDYES, "Palvane was closed without saving 2 colormaps. Restore them?"},
        {false, IDNO, "Palvane was closed without saving 1 colormap. Restore them?"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.question);
        const std::string path = Sample(row.answer == IDYES ? "restored.cmp" : "dropped.cmp");
        Kill(StartEditorProcess(path, row.untitledToo));

        CPalvaneApp editor;
        ui.ForgetAsked();
        ui.QueueMessageBoxAnswer(row.answer);
        // Started with the same file: the journal goes into its window.
        ASSERT_TRUE(editor.InitInstance({QString::fromStdString(path)}));
        Settle();
        ASSERT_EQ(ui.MessagesShown(), Texts{row.question});
        EXPECT_EQ(ui.Asked().front().type, MB_YESNO | MB_ICONQUESTION);

        const std::vector<CPalvaneDoc*> documents = editor.GetDocTemplate().GetDocuments();
        CPalvaneDoc* file = editor.GetDocTemplate().FindDocument(path);
        ASSERT_NE(file, nullptr);
        if (row.answer == IDNO) {
            EXPECT_EQ(documents.size(), 1u);
            EXPECT_FALSE(file->IsModified());
            EXPECT_TRUE(Journals().empty());
            EXPECT_TRUE(FolderEntries(RecoveryFolder()).empty());
            continue;
        }
        ASSERT_EQ(documents.size(), 2u);
        EXPECT_TRUE(file->IsModified());
        EXPECT_EQ(file->GetTitle(), "restored.cmp");
        EXPECT_EQ(file->m_palette, EditedSample(5));
        EXPECT_EQ(file->m_nSelStart, 5);
        EXPECT_EQ(file->GetFileStamp(), FileStamp::OfPath(path)); // still compared at Save
        EXPECT_EQ(editor.GetDocTemplate().GetFrames(file).size(), 1u);
        CPalvaneDoc* untitled = documents[0] == file ? documents[1] : documents[0];
        EXPECT_TRUE(untitled->IsModified());
        EXPECT_EQ(untitled->GetTitle(), "JKCMP1");
        EXPECT_EQ(untitled->GetPathName(), "");
        EXPECT_EQ(untitled->m_palette[9], ColorTriple::FromColorRef(kEditedColor));
        EXPECT_EQ(untitled->m_nSelEnd, 9);
        EXPECT_EQ(editor.GetDocTemplate().GetFrames(untitled).size(), 1u);
        // The journals now belong to this editor: a later start asks nothing.
        EXPECT_EQ(Journals().size(), 2u);
        CPalvaneApp later;
        ui.ForgetAsked();
        ASSERT_TRUE(later.InitInstance({}));
        Settle();
        EXPECT_TRUE(ui.Asked().empty());
    }
}

TEST_F(RecoveryJournalTest, ASecondEditorLeavesTheJournalsOfARunningOneAlone)
{
    QProcess& running = StartEditorProcess(Sample("running.cmp"), true);
    const std::string recovery = RecoveryFolder();
    std::vector<Bytes> before;
    const Texts entries = FolderEntries(recovery);
    for (const std::string& name : entries)
        before.push_back(ReadFileBytes(recovery + "/" + name));
    ASSERT_EQ(entries.size(), 3u); // the lock and two journals

    CPalvaneApp second;
    ASSERT_TRUE(second.InitInstance({}));
    Settle();
    EXPECT_TRUE(ui.Asked().empty());
    EXPECT_EQ(FolderEntries(recovery), entries);
    for (std::size_t i = 0; i < entries.size(); ++i)
        EXPECT_EQ(ReadFileBytes(recovery + "/" + entries[i]), before[i]) << entries[i];
    Kill(running);
    std::filesystem::remove_all(recovery);
}
#endif

} // namespace
