#include "framework/CCommandLineInfo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Style = CCommandLineInfo::FlagStyle;
using Strings = std::vector<std::string>;

struct CommandLineCase {
    Style style;
    Strings arguments;
    CCommandLineInfo::ShellCommand command;
    bool dde;
    Strings files;
    Strings printer; // printer, driver, port
};

TEST(CommandLineTest, ReadsFlagsAndFileNamesAsThePlatformMarksThem)
{
    const Style posix = Style::posix;
    const Style windows = Style::windows;
    const std::vector<CommandLineCase> cases = {
        {posix, {}, CCommandLineInfo::FileNew, false, {}, {"", "", ""}},
        {posix, {"a.cmp"}, CCommandLineInfo::FileOpen, false, {"a.cmp"}, {"", "", ""}},
        {posix,
         {"/home/u/a.cmp"},
         CCommandLineInfo::FileOpen,
         false,
         {"/home/u/a.cmp"},
         {"", "", ""}},
        // Only the flag words themselves are flags after a "/" here.
        {posix, {"/p", "/pt"}, CCommandLineInfo::FilePrintTo, false, {}, {"", "", ""}},
        {posix, {"/p", "/P"}, CCommandLineInfo::FilePrint, false, {"/P"}, {"", "", ""}},
        {posix, {"/dde", "/dd"}, CCommandLineInfo::FileDDE, true, {"/dd"}, {"", "", ""}},
        {posix, {"/UNREGISTER"}, CCommandLineInfo::AppUnregister, false, {}, {"", "", ""}},
        {posix, {"/unregserver"}, CCommandLineInfo::AppUnregister, false, {}, {"", "", ""}},
        {posix,
         {"/Unregisterx"},
         CCommandLineInfo::FileOpen,
         false,
         {"/Unregisterx"},
         {"", "", ""}},
        {windows, {"/P", "a.cmp"}, CCommandLineInfo::FileOpen, false, {"a.cmp"}, {"", "", ""}},
        {windows,
         {"/p", "C:\\a.cmp"},
         CCommandLineInfo::FilePrint,
         false,
         {"C:\\a.cmp"},
         {"", "", ""}},
        {windows, {"/x"}, CCommandLineInfo::FileNew, false, {}, {"", "", ""}},
        // "-" always marks a flag; "p", "pt" and "dde" keep their case.
        {posix, {"-p", "a.cmp"}, CCommandLineInfo::FilePrint, false, {"a.cmp"}, {"", "", ""}},
        {posix, {"-PT", "a.cmp"}, CCommandLineInfo::FileOpen, false, {"a.cmp"}, {"", "", ""}},
        {posix, {"-DDE", "a.cmp"}, CCommandLineInfo::FileOpen, false, {"a.cmp"}, {"", "", ""}},
        {posix, {"-uNrEgIsTeR"}, CCommandLineInfo::AppUnregister, false, {}, {"", "", ""}},
        {posix, {"-", "a.cmp"}, CCommandLineInfo::FileOpen, false, {"-", "a.cmp"}, {"", "", ""}},
        {posix,
         {"-pt", "a.cmp", "Office", "drv", "port", "extra"},
         CCommandLineInfo::FilePrintTo,
         false,
         {"a.cmp"},
         {"Office", "drv", "port"}},
        {posix,
         {"-dde", "a.cmp", "b.cmp"},
         CCommandLineInfo::FileDDE,
         true,
         {"a.cmp", "b.cmp"},
         {"", "", ""}},
        {posix,
         {"-dde", "-p", "a.cmp"},
         CCommandLineInfo::FilePrint,
         true,
         {"a.cmp"},
         {"", "", ""}},
    };
    for (const CommandLineCase& row : cases) {
        std::string line;
        for (const std::string& argument : row.arguments)
            line += argument + " ";
        SCOPED_TRACE(line + (row.style == posix ? "(posix)" : "(windows)"));
        CCommandLineInfo info;
        ParseCommandLine(row.arguments, info, row.style);
        EXPECT_EQ(info.m_nShellCommand, row.command);
        EXPECT_EQ(info.m_bShellDDE, row.dde);
        EXPECT_EQ(info.m_fileNames, row.files);
        EXPECT_EQ((Strings{info.m_strPrinterName, info.m_strDriverName, info.m_strPortName}),
                  row.printer);
    }
}

} // namespace
