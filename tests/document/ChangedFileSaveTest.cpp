// A save to the document's own file that another program has changed since
// the document read it asks first; anything else saves without a word.

#include "framework/CDocTemplate.h"
#include "res/CommandIds.h"
#include "tests/support/ColormapFixtures.h"

#include <chrono>
#include <filesystem>
#include <functional>

namespace {

constexpr const char* kQuestion = "shared.cmp has been changed by another program since it was "
                                  "opened. Replace it with this version?";

enum class Command { save, saveAs, close };

struct Row {
    const char* name;
    std::function<void(const std::string& path)> otherProgram;
    Command command;
    bool asks;
    int answer; // to the question; 0: its default button
    bool saves;
};

Bytes OtherColormap()
{
    Bytes bytes = ReadFileBytes(PALVANE_SAMPLE_COLORMAP);
    bytes[64] ^= 0xFF;
    return bytes;
}

void Nothing(const std::string&) {}
void Touch(const std::string& path)
{
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) +
                                               std::chrono::seconds(3));
}
void RewriteTheSame(const std::string& path)
{
    ReplaceFileBytes(path, ReadFileBytes(path));
}
void Replace(const std::string& path)
{
    ReplaceFileBytes(path, OtherColormap());
}
void WriteInPlace(const std::string& path)
{
    WriteFileBytes(path, Bytes{'J', 'A', 'S', 'C', '-', 'P', 'A', 'L', '\r', '\n'});
}
void Delete(const std::string& path)
{
    std::filesystem::remove(path);
}
void RenameAway(const std::string& path)
{
    std::filesystem::rename(path, path + ".old");
}

class ChangedFileSaveTest : public ColormapTest {
protected:
    std::size_t QuestionsAsked() const
    {
        std::size_t count = 0;
        for (const auto& question : ui.Asked()) {
            if (question.text == kQuestion) {
                EXPECT_EQ(question.type, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
                ++count;
            }
        }
        return count;
    }
    // Our save: a complete colormap with the document's edit.
    static bool IsOurSave(const Bytes& bytes)
    {
        return bytes.size() == 17216 && bytes[64 + 15] == 1 && bytes[64 + 17] == 3;
    }
};

} // namespace

TEST_F(ChangedFileSaveTest, AsksOnlyBeforeReplacingOtherData)
{
    const Row rows[] = {
        {"unchanged", Nothing, Command::save, false, 0, true},
        {"touched", Touch, Command::save, false, 0, true},
        {"rewritten with the same bytes", RewriteTheSame, Command::save, false, 0, true},
        {"replaced, yes", Replace, Command::save, true, IDYES, true},
        {"replaced, Enter", Replace, Command::save, true, 0, false},
        {"written in place, no", WriteInPlace, Command::save, true, IDNO, false},
        {"deleted", Delete, Command::save, false, 0, true},
        {"renamed away", RenameAway, Command::save, false, 0, true},
        {"replaced, saved as another file", Replace, Command::saveAs, false, 0, true},
        {"replaced, closing, no", Replace, Command::close, true, IDNO, false},
        {"replaced, closing, yes", Replace, Command::close, true, IDYES, true},
    };
    ui.SetStandingAnswer(CPalvaneDoc::kTransparencyQuestion, IDNO);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = folder / "shared.cmp";
        const std::string other = folder / "other.cmp";
        std::filesystem::remove(other);
        std::filesystem::copy_file(PALVANE_SAMPLE_COLORMAP, path,
                                   std::filesystem::copy_options::overwrite_existing);
        CPalvaneDoc document;
        CDocTemplate kind{std::string()};
        ASSERT_TRUE(kind.InitOpenDocument(document, path));
        document.m_palette[5] = ColorTriple(1, 2, 3);
        document.NotifyPaletteChanged();

        row.otherProgram(path);
        const Bytes left = std::filesystem::exists(path) ? ReadFileBytes(path) : Bytes();
        ui.ForgetAsked();
        if (row.command == Command::close)
            ui.QueueMessageBoxAnswer(IDYES); // Save changes to shared.cmp?
        if (row.asks && row.answer != 0)
            ui.QueueMessageBoxAnswer(row.answer);
        else if (row.asks)
            ui.QueueDefaultButton();
        bool kept = true;
        switch (row.command) {
        case Command::save:
            document.OnCommand(ID_FILE_SAVE);
            break;
        case Command::saveAs:
            ui.QueueFile(other);
            document.OnCommand(ID_FILE_SAVE_AS);
            break;
        case Command::close:
            kept = document.SaveModified();
            break;
        }
        EXPECT_EQ(QuestionsAsked(), row.asks ? 1u : 0u);
        EXPECT_EQ(document.IsModified(), !row.saves);
        EXPECT_EQ(kept, row.command != Command::close || row.saves) << "a close goes on";
        const std::string saved = row.command == Command::saveAs ? other : path;
        EXPECT_EQ(IsOurSave(ReadFileBytes(saved)), row.saves);
        if (!row.saves || row.command == Command::saveAs) {
            EXPECT_EQ(ReadFileBytes(path), left) << "the other program's file is intact";
        }
        if (!row.saves)
            continue;
        // The document now knows the file it saved.
        ui.ForgetAsked();
        document.OnCommand(ID_FILE_SAVE);
        EXPECT_EQ(QuestionsAsked(), 0u);
    }
    EXPECT_EQ(ReadFileBytes(folder / "shared.cmp.old"), ReadFileBytes(PALVANE_SAMPLE_COLORMAP));
}
