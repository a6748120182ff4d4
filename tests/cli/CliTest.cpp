#include "cli/DocumentJson.h"
#include "framework/PlatformFile.h"
#include "tests/cli/CliRun.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

std::string Repeat(const std::string& text, int count)
{
    std::string result;
    for (int i = 0; i < count; ++i)
        result += text;
    return result;
}

} // namespace

TEST(CliTest, NewDocumentDumpsAsOneLineOfJson)
{
    const CliResult result = RunCli({"--new", "--select", "3:9", "--dump", "--new", "--dump"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    const std::string grey = Repeat("808080", 256);
    EXPECT_EQ(result.out, "{\"palette\":\"" + grey +
                              "\",\"selStart\":3,\"selEnd\":9,\"modified\":false,"
                              "\"title\":\"JKCMP1\",\"path\":\"\",\"storedTables\":null}\n"
                              "{\"palette\":\"" +
                              grey +
                              "\",\"selStart\":-1,\"selEnd\":-1,\"modified\":false,"
                              "\"title\":\"JKCMP2\",\"path\":\"\",\"storedTables\":null}\n");
}

TEST(CliTest, SavesWithTheTransparencyAnswerGivenAndBelongsToTheFileSaved)
{
    TempFolder folder;
    const CliResult result = RunCli({"--new", "--save", folder / "plain.cmp", "--transparency",
                                     "--save", folder / "full.cmp", "--no-transparency", "--save",
                                     folder / "again.cmp", "--dump"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFileBytes(folder / "plain.cmp").size(), 17216u);
    EXPECT_EQ(ReadFileBytes(folder / "full.cmp").size(), 82752u);
    EXPECT_EQ(ReadFileBytes(folder / "again.cmp").size(), 17216u);
    EXPECT_NE(
        result.out.find("\"title\":\"again.cmp\",\"path\":" + JsonString(folder / "again.cmp")),
        std::string::npos)
        << result.out;
}

TEST(CliTest, OpensTheSampleAndSelectsAsClicksWould)
{
    const CliResult result = RunCli({"--open", PALVANE_SAMPLE_COLORMAP, "--select", "32:63",
                                     "--dump", "--select", "7:7", "--dump"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find(
                  "\"selStart\":32,\"selEnd\":63,\"modified\":false,\"title\":\"sample.cmp\""),
              std::string::npos);
    EXPECT_NE(result.out.find("\"selStart\":7,\"selEnd\":7"), std::string::npos);
    EXPECT_EQ(result.out.find("\"palette\":\"000000111111"), 1u);
}

TEST(CliTest, StopsAtTheFirstFailingStepWithTheEditorsMessage)
{
    TempFolder folder;
    WriteFileBytes(folder / "bad.cmp", {'R', 'I', 'F', 'F'});
    CliResult result = RunCli({"--open", folder / "bad.cmp", "--dump"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "palvane-cli: " + (folder / "bad.cmp") + ": Not a CMP File.\n");
    EXPECT_EQ(result.out, "") << "a batch run must not go on with a black palette";

    result = RunCli({"--new", "--dump", "--open", folder / "missing.cmp", "--dump"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "palvane-cli: " + (folder / "missing.cmp") + " was not found.\n");
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 1);

    WriteFileBytes(folder / "short.cmp", {'C', 'M', 'P', ' ', 0});
    EXPECT_EQ(RunCli({"--open", folder / "short.cmp"}).err,
              "palvane-cli: Unexpected file format.\n");

    result = RunCli({"--new", "--save", folder.Path()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "palvane-cli: Access to " + folder.Path() + " was denied.\n");
}

TEST(CliTest, SavingReplacesItsOwnFileWhateverChangedIt)
{
    TempFolder folder;
    const std::string path = folder / "own.cmp";
    std::filesystem::copy_file(PALVANE_SAMPLE_COLORMAP, path);
    // The export overwrites the document's file behind its back.
    const CliResult result =
        RunCli({"--open", path, "--export-dfpal", path, "--set", "0=#010203", "--save", path});
    EXPECT_EQ(result.status, 0) << result.err;
    const Bytes saved = ReadFileBytes(path);
    ASSERT_EQ(saved.size(), 17216u);
    EXPECT_EQ(Bytes(saved.begin() + 64, saved.begin() + 67), (Bytes{1, 2, 3}));
}

// The colour of palette entry `index` in a --dump line, as six hex digits.
std::string DumpedEntry(const std::string& dump, int index)
{
    return dump.substr(dump.find("\"palette\":\"") + 11 + 6 * std::size_t(index), 6);
}

TEST(CliTest, PaletteStepsRunTheDocumentsCommands)
{
    TempFolder folder;
    const CliResult result = RunCli({"--new",          "--set",           "0=#FF0000",
                                     "--set",          "105=#000000",     "--gradient",
                                     "0:105",                                                   //
                                     "--export-dfpal", folder / "df.pal",                       //
                                     "--black32",      "--export-jasc",   folder / "black.pal", //
                                     "--no-black32",   "--export-jasc",   folder / "plain.pal", //
                                     "--colorize",     "200:201=#00FF00", "--colorize",
                                     "150:150=cancel", "--dump", //
                                     "--import-dfpal", folder / "df.pal", "--dump"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const std::string edited = result.out.substr(0, result.out.find('\n'));
    const std::string imported = result.out.substr(edited.size() + 1);
    EXPECT_EQ(DumpedEntry(edited, 21), "cd0000");
    EXPECT_EQ(DumpedEntry(edited, 201), "00ff00");
    EXPECT_EQ(DumpedEntry(edited, 150), "808080");
    EXPECT_NE(edited.find("\"selStart\":150,\"selEnd\":150,\"modified\":true"), std::string::npos);
    EXPECT_EQ(DumpedEntry(imported, 21), "cc0000") << "the low two bits are dropped";
    EXPECT_EQ(DumpedEntry(imported, 201), "808080") << "exported before the colorize";
    EXPECT_EQ(ReadFileBytes(folder / "df.pal").size(), 768u);
    const Bytes black = ReadFileBytes(folder / "black.pal");
    const Bytes plain = ReadFileBytes(folder / "plain.pal");
    EXPECT_EQ(std::string(black.begin(), black.begin() + 28),
              "JASC-PAL\r\n0100\r\n256\r\n0 0 0\r\n");
    EXPECT_EQ(std::string(plain.begin(), plain.begin() + 30),
              "JASC-PAL\r\n0100\r\n256\r\n255 0 0\r\n");

    EXPECT_EQ(RunCli({"--new", "--import-dfpal", "palvane-none.pal", "--dump"}).err,
              "palvane-cli: " + (std::filesystem::current_path() / "palvane-none.pal").string() +
                  " was not found.\n")
        << "file errors name the full path";
    EXPECT_EQ(RunCli({"--new", "--export-jasc", folder / "no/such.pal"}).err,
              "palvane-cli: " + platform_file::AbsolutePath(folder / "no/such.pal") +
                  " contains an invalid path.\n");
}

TEST(CliTest, ImportingWhatIsNotADarkForcesPaletteWarnsAndImportsAsEver)
{
    TempFolder folder;
    ASSERT_EQ(RunCli({"--new", "--export-jasc", folder / "jasc.pal"}).status, 0);
    Bytes sixBit(768);
    for (std::size_t k = 0; k < sixBit.size(); ++k)
        sixBit[k] = std::uint8_t(k % 64);
    Bytes high = sixBit;
    high[100] = 64;
    const std::tuple<const char*, Bytes, std::string> rows[] = {
        {"dark.pal", sixBit, ""},
        {"high.pal", high, "byte 100 holds 64, above 63"},
        {"jasc.pal", ReadFileBytes(folder / "jasc.pal"), "it is 3349 bytes long"},
        {"long.pal", Bytes(1000, 7), "it is 1000 bytes long"},
        {"empty.pal", {}, "it is 0 bytes long"},
    };
    for (const auto& [name, bytes, reason] : rows) {
        WriteFileBytes(folder / name, bytes);
        // Named as given, not as the file chooser completes the name.
        const std::string given = folder.Path() + "/./" + name;
        const CliResult result = RunCli({"--new", "--import-dfpal", given, "--dump"});
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.err, reason.empty() ? ""
                                             : "palvane-cli: warning: " + given +
                                                   " does not look like a Dark Forces palette (" +
                                                   reason + ")\n");
        std::array<ColorTriple, 256> expected;
        expected.fill(ColorTriple(128, 128, 128));
        for (std::size_t k = 0; k < std::min<std::size_t>(bytes.size(), 768); ++k)
            reinterpret_cast<std::uint8_t*>(expected.data())[k] = std::uint8_t(bytes[k] * 4);
        EXPECT_EQ(result.out.find("{\"palette\":\"" + PaletteToHex(expected)), 0u) << name;
    }
}

TEST(CliTest, UsageErrorsExitWithTwoBeforeRunningAnything)
{
    TempFolder folder;
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--bogus"},
        {"--open"},
        {"--save", folder / "x.cmp"},
        {"--dump"},
        {"--new", "--select", "9:3"},
        {"--new", "--select", "0:256"},
        {"--new", "--select", "-1:4"},
        {"--new", "--select", "4"},
        {"--new", "--select", "a:b"},
        {"--new", "--save", ""},
        {"--new", "--save", folder / "early.cmp", "--frobnicate"},
        {"--new", "--gradient", "5:5"},
        {"--new", "--colorize", "1:2=#12345"},
        {"--new", "--colorize", "1:2=red"},
        {"--new", "--colorize", "2:1=#000000"},
        {"--new", "--set", "256=#000000"},
        {"--new", "--set", "1=#-12345"},
        {"--new", "--import-dfpal"},
        {"--export-jasc", folder / "x.pal"},
    };
    for (const auto& arguments : cases) {
        const CliResult result = RunCli(arguments);
        EXPECT_EQ(result.status, 2) << testing::PrintToString(arguments);
        EXPECT_NE(result.err.find("Usage: palvane-cli"), std::string::npos);
        EXPECT_EQ(result.out, "");
    }
    EXPECT_FALSE(std::ifstream(folder / "early.cmp").good()) << "no step runs after a usage error";
}

TEST(CliTest, HelpAndVersion)
{
    CliResult result = RunCli({"--version"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "palvane-cli 1.1.0.1999\n");
    result = RunCli({"--new", "--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out.rfind("Usage: palvane-cli STEP...", 0), 0u);
}

TEST(CliTest, JsonStringsAreEscaped)
{
    EXPECT_EQ(JsonString("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\u000a\\u0001\"");
    EXPECT_EQ(JsonString("caf\xC3\xA9"), "\"caf\xC3\xA9\"");
    EXPECT_EQ(JsonString("bad\xFF\xC3"), "\"bad\\ufffd\\ufffd\"");
}

TEST(CliTest, TheProgramRunsOnTheSample)
{
    const std::string command = std::string(PALVANE_CLI_PATH) + " --open \"" +
                                PALVANE_SAMPLE_COLORMAP + "\" --select 1:2 --dump";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        output += buffer;
    EXPECT_EQ(::pclose(pipe), 0);
    EXPECT_EQ(output.rfind("{\"palette\":\"000000111111", 0), 0u) << output;
    EXPECT_NE(output.find("\"selStart\":1,\"selEnd\":2,"), std::string::npos);
    EXPECT_EQ(output.back(), '\n');
}

TEST(CliTest, ExportsEveryPaletteFormatAndImportsItBackByContent)
{
    TempFolder folder;
    const auto paletteOf = [](const std::string& dump) { return dump.substr(0, dump.find(',')); };
    const std::string sample = paletteOf(RunCli({"--open", PALVANE_SAMPLE_COLORMAP, "--dump"}).out);
    struct Row {
        const char* option;
        const char* name;
        const char* warning;
    };
    std::vector<Row> rows{Row{"--export-gpl", "a.gpl", ""}, Row{"--export-riff", "a.pal", ""},
                          Row{"--export-act", "a.act", ""},
                          Row{"--export-paintnet", "a.txt",
                              "palvane-cli: warning: Paint.NET shows only the first 96 of the "
                              "256 colours\n"},
                          Row{"--export-hex", "a.hex", ""}};
    if (CliHasImages()) {
        rows.push_back(Row{"--export-swatch", "a.png", ""});
    } else {
        const CliResult result = RunCli({"--new", "--export-swatch", folder / "a.png"});
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err.rfind("palvane-cli: --export-swatch needs images, which this build "
                                   "of palvane-cli does not read or write\n",
                                   0),
                  0u);
        EXPECT_EQ(RunCli({"--help"}).out.find("--export-swatch"), std::string::npos);
    }
    for (const Row& row : rows) {
        // Each file under a name that hides its format.
        const std::string path = folder / (std::string(row.name) + ".data");
        CliResult result = RunCli({"--open", PALVANE_SAMPLE_COLORMAP, row.option, path});
        EXPECT_EQ(result.status, 0) << row.option;
        EXPECT_EQ(result.err, row.warning);
        result = RunCli({"--new", "--select", "9:9", "--import-palette", path, "--dump"});
        EXPECT_EQ(result.status, 0) << row.option;
        EXPECT_EQ(result.err, "palvane-cli: Cells 0\u2013255 (256 colours) from " + path + "\n");
        EXPECT_EQ(paletteOf(result.out), sample) << row.option;
    }

    WriteFileBytes(folder / "notes.gpl", {'G', 'I', 'M', 'P', ' ', 'P', 'a', 'l', 'e', 't', 't',
                                          'e', '\n', '1', ' ', '2', '\n'});
    const CliResult refused = RunCli({"--new", "--import-palette", folder / "notes.gpl", "--dump"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "palvane-cli: " + (folder / "notes.gpl") +
                               " is not a valid GIMP palette: line 2: expected three numbers "
                               "from 0 to 255\n");
    EXPECT_EQ(refused.out, "");
}

TEST(CliTest, ReportsTheStoredTablesAndAnswersTheReplaceQuestionFromItsArguments)
{
    TempFolder folder;
    Bytes file = ReadFileBytes(PALVANE_SAMPLE_COLORMAP);
    file[832 + 256 * 40 + 100] ^= 1; // one light entry changed by hand
    const std::string path = folder / "hand.cmp";
    const std::string tables =
        "the tables of " + path + " were not made from its palette by Palvane; ";
    struct Row {
        std::vector<std::string> steps;
        int status;
        std::string out;
        std::string err;
        bool saved;
    };
    const Row rows[] = {
        {{"--table-report"},
         0,
         "Saving will change 1 of 16,384 light entries and 0 of 65,536 translucency entries\n",
         "",
         false},
        {{"--keep-tables", "--save", path},
         1,
         "",
         "palvane-cli: " + tables + "not saved (--keep-tables)\n",
         false},
        {{"--transparency", "--save", path, "--table-report"},
         0,
         "The file's tables match\n",
         "palvane-cli: warning: " + tables + "the save replaced them\n",
         true},
    };
    for (const Row& row : rows) {
        WriteFileBytes(path, file);
        std::vector<std::string> arguments = {"--open", path};
        arguments.insert(arguments.end(), row.steps.begin(), row.steps.end());
        const CliResult result = RunCli(arguments);
        EXPECT_EQ(result.status, row.status);
        EXPECT_EQ(result.out.substr(0, result.out.find('\n') + 1), row.out);
        EXPECT_EQ(result.err, row.err);
        EXPECT_EQ(ReadFileBytes(path) == file, !row.saved);
    }
    const CliResult dumped = RunCli({"--open", PALVANE_SAMPLE_COLORMAP, "--dump"});
    EXPECT_NE(dumped.out.find(",\"storedTables\":{\"translucency\":true,\"lightChanges\":0,"
                              "\"translucencyChanges\":0,\"madeFromPalette\":true}}"),
              std::string::npos)
        << dumped.out;
}
