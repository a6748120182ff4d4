// The framework's document paths: open, save, Save As and the close prompt,
// with a small document whose contents are a run of bytes.

#include "framework/CArchive.h"
#include "framework/CArchiveException.h"
#include "framework/CDocTemplate.h"
#include "framework/CDocument.h"
#include "framework/CFile.h"
#include "framework/DocumentView.h"
#include "framework/ScriptedUserInterface.h"
#include "res/DocumentStrings.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// Reads exactly four bytes; writes its bytes. Counts what the framework runs.
class ByteDocument : public CDocument {
public:
    void Serialize(CArchive& archive) override
    {
        ++serializeCount;
        if (archive.IsStoring()) {
            archive.Write(bytes.data(), bytes.size());
            return;
        }
        bytes.clear();
        for (int i = 0; i < 4; ++i)
            bytes.push_back(archive.ReadByte());
    }
    void DeleteContents() override { ++deleteCount; }

    Bytes bytes;
    int serializeCount = 0;
    int deleteCount = 0;
};

struct RecordingView : DocumentView {
    void OnUpdate(DocumentView* sender, std::intptr_t hint, void*) override
    {
        ++updates;
        lastSender = sender;
        lastHint = hint;
    }
    int updates = 0;
    DocumentView* lastSender = nullptr;
    std::intptr_t lastHint = -1;
};

class DocumentPathsTest : public ::testing::Test {
protected:
    ScriptedUserInterface ui;
    ScopedUserInterface installed{ui};
    TempFolder folder;
    CDocTemplate docTemplate{kColormapDocumentString};
};

} // namespace

TEST_F(DocumentPathsTest, OpenReadsTheFileAndClearsTheModifiedFlag)
{
    const std::string path = folder / "four.cmp";
    WriteFileBytes(path, {1, 2, 3, 4, 5});
    ByteDocument document;
    ASSERT_TRUE(document.OnOpenDocument(path));
    EXPECT_EQ(document.bytes, (Bytes{1, 2, 3, 4}));
    EXPECT_FALSE(document.IsModified());
    EXPECT_TRUE(ui.Asked().empty());
    EXPECT_EQ(ui.WaitCursorCount(), 1);
    EXPECT_EQ(ui.WaitCursorDepth(), 0);

    document.SetPathName(path);
    EXPECT_EQ(document.GetPathName(), path);
    EXPECT_EQ(document.GetTitle(), "four.cmp");
}

TEST_F(DocumentPathsTest, AnEmptyFileIsNotRead)
{
    const std::string path = folder / "empty.cmp";
    WriteFileBytes(path, {});
    ByteDocument document;
    ASSERT_TRUE(document.OnOpenDocument(path));
    EXPECT_EQ(document.serializeCount, 0);
    EXPECT_FALSE(document.IsModified());
    EXPECT_TRUE(ui.Asked().empty());
}

TEST_F(DocumentPathsTest, OpenFailuresAreReportedAndTheOpenFails)
{
    ByteDocument missing;
    EXPECT_FALSE(missing.OnOpenDocument(folder / "missing.cmp"));
    EXPECT_EQ(missing.serializeCount, 0);

    const std::string shortFile = folder / "short.cmp";
    WriteFileBytes(shortFile, {1, 2});
    ByteDocument truncated;
    EXPECT_FALSE(truncated.OnOpenDocument(shortFile));
    EXPECT_EQ(truncated.deleteCount, 2) << "contents are cleared before and after a failed load";

    EXPECT_FALSE(ByteDocument().OnOpenDocument(folder.Path()));

    ASSERT_EQ(ui.Asked().size(), 3u);
    EXPECT_EQ(ui.Asked()[0].text, folder / "missing.cmp" + " was not found.");
    EXPECT_EQ(ui.Asked()[1].text, "Unexpected file format.");
    EXPECT_EQ(ui.Asked()[2].text, "Access to " + folder.Path() + " was denied.");
    for (const auto& question : ui.Asked())
        EXPECT_EQ(question.type & 0x0F, MB_OK);
    EXPECT_EQ(ui.WaitCursorDepth(), 0);
}

TEST_F(DocumentPathsTest, SaveWritesTheFileAndClearsTheModifiedFlag)
{
    ByteDocument document;
    document.bytes = {7, 8, 9};
    document.SetModifiedFlag();
    const std::string path = folder / "saved.cmp";
    ASSERT_TRUE(document.OnSaveDocument(path));
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(ReadFileBytes(path), (Bytes{7, 8, 9}));
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"saved.cmp"});
}

TEST_F(DocumentPathsTest, SaveAsAsksForANameMadeFromTheTitle)
{
    ByteDocument document;
    document.SetDocTemplate(&docTemplate);
    document.SetTitle(docTemplate.NextUntitledTitle());
    document.bytes = {1};
    document.SetModifiedFlag();

    ui.QueueCancel(ScriptedUserInterface::Kind::file);
    EXPECT_FALSE(document.DoFileSave());
    EXPECT_TRUE(document.IsModified());

    const std::string chosen = folder / "chosen"; // typed without its extension
    ui.QueueFile(chosen);
    ASSERT_TRUE(document.DoFileSave());
    ASSERT_EQ(ui.Asked().size(), 2u);
    const FileDialogRequest& asked = ui.Asked()[1].file;
    EXPECT_FALSE(asked.openFileDialog);
    EXPECT_EQ(asked.initialFileName, "JKCMP1.cmp");
    EXPECT_EQ(asked.defaultExtension, "cmp");
    EXPECT_EQ(asked.filter, "Jedi Knight Palette Files (*.cmp)|*.cmp|All Files (*.*)|*.*||");
    EXPECT_EQ(asked.title, "Save As");
    EXPECT_EQ(asked.flags, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST);
    EXPECT_EQ(document.GetPathName(), chosen + ".cmp");
    EXPECT_EQ(document.GetTitle(), "chosen.cmp");
    EXPECT_FALSE(document.IsModified());

    // With a file of its own, Save writes there without asking.
    document.bytes = {2};
    ASSERT_TRUE(document.DoFileSave());
    EXPECT_EQ(ui.Asked().size(), 2u);
    EXPECT_EQ(ReadFileBytes(chosen + ".cmp"), (Bytes{2}));
}

TEST_F(DocumentPathsTest, SaveOfAWriteProtectedFileGoesThroughSaveAs)
{
    const std::string path = folder / "locked.cmp";
    WriteFileBytes(path, {1});
    ::chmod(path.c_str(), 0444);
    ::chmod(folder.Path().c_str(), 0755);
    ByteDocument document;
    document.SetPathName(path);
    document.SetModifiedFlag();
    ui.QueueCancel(ScriptedUserInterface::Kind::file);
    const auto check = [&]() -> std::string {
        if (document.DoFileSave())
            return "the save went ahead";
        if (ui.Asked().size() != 1 || ui.Asked()[0].kind != ScriptedUserInterface::Kind::file)
            return "Save As was not offered";
        return ReadFileBytes(path) == Bytes{1} ? "" : "the protected file changed";
    };
#ifdef _WIN32
    const std::string problems = check(); // the read-only attribute holds for everyone
#else
    const std::string problems = RunInChild(check, true);
#endif
    EXPECT_EQ(problems, "");
}

TEST_F(DocumentPathsTest, ClosePromptOffersToSaveAModifiedDocument)
{
    ByteDocument document;
    document.SetTitle("JKCMP3");
    EXPECT_TRUE(document.SaveModified()) << "an unmodified document closes without a question";
    EXPECT_TRUE(ui.Asked().empty());

    document.SetModifiedFlag();
    ui.QueueMessageBoxAnswer(IDCANCEL);
    EXPECT_FALSE(document.SaveModified());
    ui.QueueMessageBoxAnswer(IDNO);
    EXPECT_TRUE(document.SaveModified());
    ASSERT_EQ(ui.Asked().size(), 2u);
    EXPECT_EQ(ui.Asked()[0].text, "Save changes to JKCMP3?");
    EXPECT_EQ(ui.Asked()[0].type, MB_YESNOCANCEL);

    // Yes saves; when that save is cancelled the document stays open.
    ui.QueueMessageBoxAnswer(IDYES);
    ui.QueueCancel(ScriptedUserInterface::Kind::file);
    EXPECT_FALSE(document.SaveModified());

    const std::string path = folder / "named.cmp";
    document.SetPathName(path);
    ui.QueueMessageBoxAnswer(IDYES);
    EXPECT_TRUE(document.SaveModified());
    EXPECT_EQ(ui.Asked().back().text, "Save changes to named.cmp?");
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(ui.UnscriptedCount(), 0);
}

TEST_F(DocumentPathsTest, ViewsHearOfChangesExceptTheSender)
{
    ByteDocument document;
    RecordingView first;
    RecordingView second;
    document.AddView(&first);
    document.AddView(&second);
    document.AddView(&first);
    document.UpdateAllViews(&first, 5);
    EXPECT_EQ(first.updates, 0);
    EXPECT_EQ(second.updates, 1);
    EXPECT_EQ(second.lastSender, &first);
    EXPECT_EQ(second.lastHint, 5);
    document.RemoveView(&second);
    document.UpdateAllViews(nullptr);
    EXPECT_EQ(first.updates, 1);
    EXPECT_EQ(second.updates, 1);
}

TEST(DocTemplateTest, ReadsTheDocumentStringAndNumbersUntitledDocuments)
{
    CDocTemplate docTemplate(kColormapDocumentString);
    EXPECT_EQ(docTemplate.GetDocString(CDocTemplate::windowTitle), "");
    EXPECT_EQ(docTemplate.GetDocString(CDocTemplate::docName), "JKCMP");
    EXPECT_EQ(docTemplate.GetDocString(CDocTemplate::filterName),
              "Jedi Knight Palette Files (*.cmp)");
    EXPECT_EQ(docTemplate.GetDocString(CDocTemplate::filterExt), ".cmp");
    EXPECT_EQ(docTemplate.GetDocString(CDocTemplate::regFileTypeId), "JediKnight.CMP");
    EXPECT_EQ(docTemplate.GetDocString(CDocTemplate::regFileTypeName), "Jedi Knight CMP");
    EXPECT_EQ(docTemplate.NextUntitledTitle(), "JKCMP1");
    EXPECT_EQ(docTemplate.NextUntitledTitle(), "JKCMP2");

    std::string field;
    EXPECT_FALSE(CDocTemplate("only\ntwo").GetDocString(field, CDocTemplate::filterName));
    EXPECT_EQ(CDocTemplate("").MakeFileDialogRequest(true, "", 0).filter, "All Files (*.*)|*.*||");
}
