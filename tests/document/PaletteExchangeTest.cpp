// Dark Forces and JASC-PAL palette files, written and read through the
// document's commands with their real file dialogs' requests.

#include "document/DarkForcesPaletteCheck.h"
#include "framework/FrameworkMessages.h"
#include "res/CommandIds.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ColormapFixtures.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace {

using Palette = std::array<ColorTriple, CPalvaneDoc::kPaletteSize>;
using Texts = std::vector<std::string>;

std::string TextOf(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

std::string JascLine(const ColorTriple& entry)
{
    char line[16];
    std::snprintf(line, sizeof line, "%d %d %d\r\n", entry.red, entry.green, entry.blue);
    return line;
}

// What a new, grey document exports as JASC-PAL.
const std::string& GreyJascExport()
{
    static const std::string text = [] {
        std::string lines = "JASC-PAL\r\n0100\r\n256\r\n";
        for (int i = 0; i < 256; ++i)
            lines += "128 128 128\r\n";
        return lines;
    }();
    return text;
}

class PaletteExchangeTest : public PaletteCommandTest {
protected:
    // Runs the command on `name` in the folder, as a user choosing it would.
    void RunOn(unsigned id, const std::string& name)
    {
        ui.QueueFile(folder / name);
        EXPECT_TRUE(document.OnCommand(id));
    }
    void FillWithAPattern()
    {
        for (int i = 0; i < CPalvaneDoc::kPaletteSize; ++i)
            document.m_palette[i] =
                ColorTriple(std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 7));
    }
};

TEST_F(PaletteExchangeTest, EachCommandAsksWithItsOwnFileDialog)
{
    struct Row {
        unsigned id;
        bool open;
        const char* filter;
    };
    for (const Row& row : {Row{ID_FILE_EXPORT_DFPAL, false, "Dark Forces Palette (*.pal)|*.pal||"},
                           Row{ID_FILE_IMPORT_DFPAL, true, "Dark Forces Palette (*.pal)|*.pal||"},
                           Row{ID_FILE_EXPORT_JASC, false, "JASC Palette (*.pal)|*.pal||"}}) {
        ui.ForgetAsked();
        ui.QueueCancel(ScriptedUserInterface::Kind::file);
        EXPECT_TRUE(document.OnCommand(row.id));
        ASSERT_EQ(ui.Asked().size(), 1u) << "a cancelled dialog ends the command quietly";
        const FileDialogRequest& request = ui.Asked()[0].file;
        EXPECT_EQ(request.openFileDialog, row.open);
        EXPECT_EQ(request.defaultExtension, "pal");
        EXPECT_EQ(request.initialFileName, "");
        EXPECT_EQ(request.flags, 6u);
        EXPECT_EQ(request.filter, row.filter);
        EXPECT_EQ(request.title, "");
    }
    ExpectUnchanged();
    EXPECT_TRUE(FolderEntries(folder.Path()).empty());
}

TEST_F(PaletteExchangeTest, DarkForcesRoundTripDropsTheLowTwoBits)
{
    FillWithAPattern();
    document.m_palette[0] = ColorTriple(255, 130, 7);
    const Palette exported = document.m_palette;
    RunOn(ID_FILE_EXPORT_DFPAL, "out.pal");
    const Bytes bytes = ReadFileBytes(folder / "out.pal");
    ASSERT_EQ(bytes.size(), 768u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 3), (Bytes{63, 32, 1}));
    ExpectUnchanged();

    Select(5, 9);
    document.m_palette.fill(ColorTriple(1, 1, 1));
    RunOn(ID_FILE_IMPORT_DFPAL, "out.pal");
    EXPECT_EQ(document.m_palette[0], ColorTriple(252, 128, 4));
    for (int i = 0; i < CPalvaneDoc::kPaletteSize; ++i)
        EXPECT_EQ(
            document.m_palette[i],
            ColorTriple(exported[i].red & 0xFC, exported[i].green & 0xFC, exported[i].blue & 0xFC));
    ExpectChangedOnce();
    EXPECT_EQ(document.m_nSelStart, 5) << "the selection stays where it was";
    EXPECT_EQ(document.m_nSelEnd, 9);
    EXPECT_EQ(document.GetTitle(), "");
    EXPECT_EQ(document.GetPathName(), "");
}

// Values 0 to 63 over and over, as in a Dark Forces palette, but for `value` at `at`.
Bytes SixBitValues(std::size_t size, std::size_t at = 0, std::uint8_t value = 0)
{
    Bytes bytes(size);
    for (std::size_t k = 0; k < size; ++k)
        bytes[k] = std::uint8_t(k % 64);
    if (at < size)
        bytes[at] = value;
    return bytes;
}

TEST(DarkForcesPaletteCheckTest, AFileIsJudgedByItsLengthThenByItsFirstByteAbove63)
{
    Bytes two = SixBitValues(768, 9, 255);
    two[5] = 200;
    const std::tuple<std::uint64_t, Bytes, std::string> rows[] = {
        {768, SixBitValues(768), ""},
        {768, SixBitValues(768, 767, 64), "byte 767 holds 64, above 63"},
        {768, two, "byte 5 holds 200, above 63"},
        {767, Bytes(767), "it is 767 bytes long"},
        {5000000000, two, "it is 5000000000 bytes long"},
    };
    for (const auto& [length, head, reason] : rows) {
        const auto mismatch = dfpal_format::FindMismatch(length, head);
        EXPECT_EQ(mismatch ? dfpal_format::ReasonFor(*mismatch) : "", reason);
    }
    EXPECT_EQ(dfpal_format::ReasonIn(dfpal_format::NotAPaletteStatement("a (1).pal", "b")), "b");
}

// A file that is not 768 bytes of 0 to 63 is imported only on Yes, and then
// as any other: each component it holds is its byte times four in a byte.
struct DarkForcesImportRow {
    Bytes bytes;
    const char* reason; // "": no question
};

class DarkForcesImportTest : public PaletteExchangeTest,
                             public testing::WithParamInterface<DarkForcesImportRow> {};

TEST_P(DarkForcesImportTest, AsksAboutAnythingElseAndYesImportsAsEver)
{
    const auto& [bytes, reason] = GetParam();
    WriteFileBytes(folder / "in.pal", bytes);
    FillWithAPattern();
    const Palette before = document.m_palette;
    Palette expected = before;
    for (std::size_t k = 0; k < std::min<std::size_t>(bytes.size(), 768); ++k)
        reinterpret_cast<std::uint8_t*>(expected.data())[k] = std::uint8_t(bytes[k] * 4);
    const std::string question = (folder / "in.pal") +
                                 " does not look like a Dark Forces palette (" + reason +
                                 "). Import it anyway?";
    for (const int answer : *reason == '\0' ? std::vector{IDYES} : std::vector{IDNO, IDYES}) {
        ui.ForgetAsked();
        ui.QueueMessageBoxAnswer(answer);
        RunOn(ID_FILE_IMPORT_DFPAL, "in.pal");
        EXPECT_EQ(ui.MessagesShown(), *reason == '\0' ? Texts{} : Texts{question});
        if (answer == IDNO) {
            EXPECT_EQ(ui.Asked().back().type, unsigned(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
            EXPECT_EQ(document.m_palette, before);
            ExpectUnchanged();
        }
    }
    EXPECT_EQ(document.m_palette, expected);
    ExpectChangedOnce();
}

INSTANTIATE_TEST_SUITE_P(
    Files, DarkForcesImportTest,
    testing::Values(DarkForcesImportRow{SixBitValues(768), ""},
                    DarkForcesImportRow{SixBitValues(768, 100, 64), "byte 100 holds 64, above 63"},
                    DarkForcesImportRow{Bytes(GreyJascExport().begin(), GreyJascExport().end()),
                                        "it is 3349 bytes long"},
                    DarkForcesImportRow{SixBitValues(1000), "it is 1000 bytes long"},
                    DarkForcesImportRow{{}, "it is 0 bytes long"}));

TEST_F(PaletteExchangeTest, GreyDocumentExports)
{
    RunOn(ID_FILE_EXPORT_DFPAL, "grey.pal");
    EXPECT_EQ(ReadFileBytes(folder / "grey.pal"), Bytes(768, 32));
    RunOn(ID_FILE_EXPORT_JASC, "grey-jasc.pal");
    EXPECT_EQ(TextOf(ReadFileBytes(folder / "grey-jasc.pal")), GreyJascExport());
    ExpectUnchanged();
}

TEST_F(PaletteExchangeTest, JascAnswersProtectTheFirst32Colours)
{
    FillWithAPattern();
    const Palette before = document.m_palette;
    for (const int answer : {IDYES, IDNO}) {
        ui.ForgetAsked();
        ui.QueueMessageBoxAnswer(answer);
        RunOn(ID_FILE_EXPORT_JASC, "out.pal");
        std::string expected = "JASC-PAL\r\n0100\r\n256\r\n";
        for (int i = 0; i < 256; ++i)
            expected += answer == IDYES && i < 32 ? std::string("0 0 0\r\n") : JascLine(before[i]);
        EXPECT_EQ(TextOf(ReadFileBytes(folder / "out.pal")), expected) << answer;
        ASSERT_EQ(ui.Asked().size(), 2u);
        EXPECT_EQ(ui.Asked()[1].text, "Would you like to protect the usage of the first 32 colors "
                                      "by making them all black?");
        EXPECT_EQ(ui.Asked()[1].type, unsigned(MB_YESNO | MB_ICONQUESTION));
    }
    EXPECT_EQ(document.m_palette, before);
    ExpectUnchanged();
}

TEST_F(PaletteExchangeTest, AFailedImportLeavesThePaletteAsItWas)
{
    struct Row {
        const char* name;
        std::string message;
    };
    std::vector<Row> rows = {{"missing.pal", (folder / "missing.pal") + " was not found."}};
#ifndef _WIN32
    // Reading this process's memory at offset 0 fails with an I/O error.
    std::filesystem::create_symlink("/proc/self/mem", folder / "unreadable.pal");
    rows.push_back({"unreadable.pal", "A hardware I/O error was reported while accessing " +
                                          (folder / "unreadable.pal") + "."});
#endif
    for (const Row& row : rows) {
        ui.ForgetAsked();
        const Palette before = document.m_palette;
        RunOn(ID_FILE_IMPORT_DFPAL, row.name);
        EXPECT_EQ(document.m_palette, before);
        ASSERT_EQ(ui.MessagesShown(), std::vector<std::string>{row.message});
        EXPECT_EQ(ui.Asked().back().type, unsigned(MB_ICONSTOP));
    }
    ExpectUnchanged();
}

TEST_F(PaletteExchangeTest, AFailedExportLeavesTheOldFileIntact)
{
#ifdef _WIN32
    GTEST_SKIP() << kNeedsPosix;
#else
    ::chmod(folder.Path().c_str(), 0755); // reachable by an unprivileged child
    std::filesystem::create_directory(folder / "work");
    const std::string target = folder / "work/old.pal";
    const Bytes old = {1, 2, 3};
    WriteFileBytes(target, old);
    ::chmod(target.c_str(), 0666);
    struct Row {
        bool readOnlyFolder;
        rlim_t sizeLimit; // a limit stops writing part way, as a full disk would
        const char* message;
    };
    for (const Row& row : {Row{true, RLIM_INFINITY, "Access to %1 was denied."},
                           Row{false, 100, "Disk full while accessing %1."}}) {
        ::chmod((folder / "work").c_str(), row.readOnlyFolder ? 0555 : 0755);
        for (const unsigned id : {ID_FILE_EXPORT_DFPAL, ID_FILE_EXPORT_JASC}) {
            const std::string problem = RunInChild(
                [&]() -> std::string {
                    std::signal(SIGXFSZ, SIG_IGN);
                    const rlimit limit{row.sizeLimit, row.sizeLimit};
                    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                        return "cannot limit the file size";
                    ui.QueueFile(target);
                    document.OnCommand(id);
                    const std::vector<std::string> shown = ui.MessagesShown();
                    if (shown.empty() || shown.back() != AfxFormatString1(row.message, target) ||
                        ui.Asked().back().type != MB_ICONSTOP)
                        return "message was '" + (shown.empty() ? "" : shown.back()) + "'";
                    return "";
                },
                row.readOnlyFolder);
            EXPECT_EQ(problem, "") << id << " " << row.message;
            EXPECT_EQ(ReadFileBytes(target), old);
            EXPECT_EQ(FolderEntries(folder / "work"), std::vector<std::string>{"old.pal"});
        }
    }
#endif
}

} // namespace
