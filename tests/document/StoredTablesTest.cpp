// An opened colormap keeps the tables its file holds; the report tells how a
// save changes them, and the first save of a colormap whose tables were not
// made from its palette asks before replacing them.

#include "document/TableText.h"
#include "framework/CDocTemplate.h"
#include "res/CommandIds.h"
#include "tests/support/ColormapFixtures.h"

#include <cctype>
#include <functional>
#include <optional>

namespace {

constexpr std::size_t kLight = 832;
constexpr std::size_t kTranslucency = 17216;

// Changes `count` entries of the table at `offset`, `step` entries apart.
void ChangeEntries(Bytes& file, std::size_t offset, int count, int step)
{
    for (int k = 0; k < count; ++k)
        file[offset + static_cast<std::size_t>(k * step)] ^= 1;
}

// Without its translucency table, as a save answered No writes it.
void DropTranslucency(Bytes& file)
{
    file.resize(kTranslucency);
    file[8] = 0;
}

struct Row {
    const char* name;
    std::function<void(Bytes&)> change; // the sample colormap, changed by hand
    const char* report;
    bool asks;
};

const Row kRows[] = {
    {"saved by Palvane", [](Bytes&) {}, "The file's tables match", false},
    {"both tables changed by hand",
     [](Bytes& file) {
         ChangeEntries(file, kLight, 1204, 13);
         ChangeEntries(file, kTranslucency, 3911, 16);
     },
     "Saving will change 1,204 of 16,384 light entries and 3,911 of 65,536 translucency entries",
     true},
    {"an entry below 32 remapped", [](Bytes& file) { file[kLight + 256 * 40 + 3] = 7; },
     "Saving will change 1 of 16,384 light entries and 0 of 65,536 translucency entries", true},
    {"without a translucency table", DropTranslucency, "The file's tables match", false},
    {"one light entry changed, without a translucency table",
     [](Bytes& file) {
         DropTranslucency(file);
         file[kLight + 5000] ^= 1;
     },
     "Saving will change 1 of 16,384 light entries", true},
    {"translucency table cut short", [](Bytes& file) { file.resize(kTranslucency + 100); },
     "The file's tables match", false},
    {"light tables cut short", [](Bytes& file) { file.resize(kTranslucency - 1); },
     "The file holds no tables", false},
    {"palette only", [](Bytes& file) { file.resize(kLight); }, "The file holds no tables", false},
};

class StoredTablesTest : public ColormapTest, public ::testing::WithParamInterface<Row> {
protected:
    StoredTablesTest() { ui.SetStandingAnswer(CPalvaneDoc::kTransparencyQuestion, IDYES); }

    std::string Report() const
    {
        const std::optional<TableChanges> changes =
            document.GetTables().ChangesFor(document.m_palette);
        return TableComparisonText(changes ? &*changes : nullptr);
    }
    int QuestionsAsked() const
    {
        int count = 0;
        for (const auto& question : ui.Asked()) {
            if (question.text == CPalvaneDoc::kReplaceForeignTablesQuestion) {
                EXPECT_EQ(question.type, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
                ++count;
            }
        }
        return count;
    }

    CPalvaneDoc document;
    CDocTemplate kind{std::string()};
};

TEST_P(StoredTablesTest, ReportsTheChangesAndAsksOnceBeforeReplacingForeignTables)
{
    const Row& row = GetParam();
    Bytes file = ReadFileBytes(PALVANE_SAMPLE_COLORMAP);
    row.change(file);
    const std::string path = folder / "hand.cmp";
    WriteFileBytes(path, file);
    ASSERT_TRUE(kind.InitOpenDocument(document, path));
    EXPECT_EQ(Report(), row.report);

    if (row.asks) {
        // No, the default button, cancels the save: the file stays as it was.
        ui.QueueDefaultButton();
        document.OnCommand(ID_FILE_SAVE);
        EXPECT_EQ(QuestionsAsked(), 1);
        EXPECT_EQ(ReadFileBytes(path), file);
        ui.QueueMessageBoxAnswer(IDYES);
    }
    // A save replaces the tables with those made from the palette.
    document.OnCommand(ID_FILE_SAVE);
    EXPECT_EQ(QuestionsAsked(), row.asks ? 2 : 0);
    EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(PALVANE_SAMPLE_COLORMAP));
    EXPECT_EQ(Report(), "The file's tables match");

    // Asked once: an edit and another save do not ask again.
    ui.ForgetAsked();
    document.m_palette[40] = ColorTriple(1, 2, 3);
    document.NotifyPaletteChanged();
    EXPECT_NE(Report(), "The file's tables match");
    document.OnCommand(ID_FILE_SAVE);
    EXPECT_EQ(QuestionsAsked(), 0);
    EXPECT_FALSE(document.IsModified());
}

INSTANTIATE_TEST_SUITE_P(Files, StoredTablesTest, ::testing::ValuesIn(kRows), [](const auto& info) {
    std::string name;
    for (const char c : std::string(info.param.name))
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += c;
    return name;
});

TEST_F(ColormapTest, EditingAPalvaneColormapBeforeItsFirstSaveDoesNotAsk)
{
    CPalvaneDoc document;
    CDocTemplate kind{std::string()};
    const std::string path = folder / "sample.cmp";
    WriteFileBytes(path, ReadFileBytes(PALVANE_SAMPLE_COLORMAP));
    ASSERT_TRUE(kind.InitOpenDocument(document, path));
    document.m_palette[100] = ColorTriple(250, 0, 0);
    ui.SetStandingAnswer(CPalvaneDoc::kTransparencyQuestion, IDNO);
    EXPECT_TRUE(document.DoSave(path));
    EXPECT_EQ(ui.MessagesShown(), std::vector<std::string>{CPalvaneDoc::kTransparencyQuestion});
}

} // namespace
