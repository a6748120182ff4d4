#pragma once

#include <string>
#include <vector>

// What the command line asks for. A parameter beginning with "-" is a flag;
// on Windows one beginning with "/" is too, while elsewhere "/" begins
// absolute paths, so there it marks a flag only for the flag words
// themselves. "p", "pt" and "dde" are matched with case, "Unregister" and
// "Unregserver" without; unknown flags are ignored. Everything else is a
// file name, or, after "pt" and its file, the printer, driver and port.
class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister };
    // Which prefixes mark flags.
    enum class FlagStyle { posix, windows };

    // One parameter, `param` without its prefix when `bFlag`.
    void ParseParam(const std::string& param, bool bFlag, bool bLast);

    ShellCommand m_nShellCommand = FileNew;
    // "dde" was given: the files go to the running instance as requests, if
    // one answers (open, or print with "p" and "pt").
    bool m_bShellDDE = false;
    std::vector<std::string> m_fileNames;
    std::string m_strPrinterName;
    std::string m_strDriverName;
    std::string m_strPortName;
    // The flags that mean nothing here, as they were written.
    std::vector<std::string> m_unknownFlags;

    // Why the command line cannot be acted on, or "" when it can: printing
    // needs a file, and printing to a printer the printer's name too.
    std::string UsageError() const;

private:
    void ParseLast();
};

#ifdef _WIN32
inline constexpr CCommandLineInfo::FlagStyle kNativeFlagStyle =
    CCommandLineInfo::FlagStyle::windows;
#else
inline constexpr CCommandLineInfo::FlagStyle kNativeFlagStyle = CCommandLineInfo::FlagStyle::posix;
#endif

// Feeds `arguments` (without the program's name) to `info`.
void ParseCommandLine(const std::vector<std::string>& arguments, CCommandLineInfo& info,
                      CCommandLineInfo::FlagStyle style = kNativeFlagStyle);
