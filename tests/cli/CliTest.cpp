#include "cli/DocumentJson.h"
#include "tests/cli/CliRun.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
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
                              "\"title\":\"JKCMP1\",\"path\":\"\"}\n"
                              "{\"palette\":\"" +
                              grey +
                              "\",\"selStart\":-1,\"selEnd\":-1,\"modified\":false,"
                              "\"title\":\"JKCMP2\",\"path\":\"\"}\n");
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
    EXPECT_EQ(result.err, "palvane-cli: Not a CMP File.\n");
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
