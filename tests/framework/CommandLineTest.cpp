#include "framework/CCommandLineInfo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// What the parser made of a command line, in one line.
std::string Describe(const CCommandLineInfo& info)
{
    const char* commands[] = {"new", "open", "print", "printto", "dde", "unregister"};
    std::string text = commands[info.m_nShellCommand];
    if (info.m_bShellDDE && info.m_nShellCommand != CCommandLineInfo::FileDDE)
        text += "+dde";
    for (const std::string& file : info.m_fileNames)
        text += " " + file;
    if (!info.m_strPrinterName.empty())
        text +=
            " on " + info.m_strPrinterName + "," + info.m_strDriverName + "," + info.m_strPortName;
    return text;
}

TEST(CommandLineTest, ReadsFlagsAndFileNamesAsThePlatformMarksThem)
{
    using Style = CCommandLineInfo::FlagStyle;
    const struct {
        Style style;
        std::vector<std::string> arguments;
        std::string expected;
    } cases[] = {
        {Style::posix, {}, "new"},
        {Style::posix, {"a.cmp", "/home/u/b.cmp"}, "open a.cmp /home/u/b.cmp"},
        // After "/" only the flag words themselves are flags here.
        {Style::posix, {"/p", "/P"}, "print /P"},
        {Style::posix, {"/dde", "/dd"}, "dde /dd"},
        {Style::posix, {"/UNREGISTER"}, "unregister"},
        {Style::posix, {"/unregserver"}, "unregister"},
        {Style::posix, {"/Unregisterx"}, "open /Unregisterx"},
        {Style::windows, {"/P", "a.cmp"}, "open a.cmp"},
        {Style::windows, {"/p", "C:\\a.cmp"}, "print C:\\a.cmp"},
        {Style::windows, {"/x"}, "new"},
        // "-" always marks a flag; "p", "pt" and "dde" keep their case.
        {Style::posix, {"-PT", "-DDE", "a.cmp"}, "open a.cmp"},
        {Style::posix, {"-uNrEgIsTeR"}, "unregister"},
        {Style::posix, {"-", "a.cmp"}, "open - a.cmp"},
        {Style::posix,
         {"-pt", "a.cmp", "Office", "drv", "port", "x"},
         "printto a.cmp on Office,drv,port"},
        {Style::posix, {"-dde", "a.cmp", "b.cmp"}, "dde a.cmp b.cmp"},
        {Style::posix, {"-dde", "-p", "a.cmp"}, "print+dde a.cmp"},
    };
    for (const auto& row : cases) {
        CCommandLineInfo info;
        ParseCommandLine(row.arguments, info, row.style);
        EXPECT_EQ(Describe(info), row.expected);
    }
}

TEST(CommandLineTest, PrintingWithoutAFileOrAPrinterIsAUsageError)
{
    const struct {
        std::vector<std::string> arguments;
        std::string error;
    } cases[] = {
        {{"-p", "a.cmp"}, ""},
        {{"-pt", "a.cmp", "Office"}, ""},
        {{"-dde"}, ""},
        {{"-x", "a.cmp"}, ""},
        {{"-p"}, "-p needs a file name"},
        {{"-dde", "-p"}, "-p needs a file name"},
        {{"-pt", "a.cmp"}, "-pt needs a file name and a printer name"},
        // A file whose name begins with "-" reads as a flag: the message says so.
        {{"-p", "-a.cmp"},
         "-p needs a file name; -a.cmp is taken for a flag (a file of that name is ./-a.cmp)"},
    };
    for (const auto& row : cases) {
        CCommandLineInfo info;
        ParseCommandLine(row.arguments, info, CCommandLineInfo::FlagStyle::posix);
        EXPECT_EQ(info.UsageError(), row.error) << row.arguments.front();
    }
}

} // namespace
