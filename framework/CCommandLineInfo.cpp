#include "framework/CCommandLineInfo.h"

#include <algorithm>
#include <cctype>

namespace {

bool EqualsIgnoringCase(const std::string& a, const char* b)
{
    const std::string other(b);
    return std::equal(a.begin(), a.end(), other.begin(), other.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

bool IsUnregister(const std::string& flag)
{
    return EqualsIgnoringCase(flag, "Unregister") || EqualsIgnoringCase(flag, "Unregserver");
}

bool IsFlagWord(const std::string& flag)
{
    return flag == "p" || flag == "pt" || flag == "dde" || IsUnregister(flag);
}

bool IsFlag(const std::string& argument, CCommandLineInfo::FlagStyle style)
{
    if (argument.size() < 2)
        return false;
    if (argument[0] == '-')
        return true;
    if (argument[0] != '/')
        return false;
    return style == CCommandLineInfo::FlagStyle::windows || IsFlagWord(argument.substr(1));
}

} // namespace

void CCommandLineInfo::ParseParam(const std::string& param, bool bFlag, bool bLast)
{
    if (bFlag) {
        if (param == "p")
            m_nShellCommand = FilePrint;
        else if (param == "pt")
            m_nShellCommand = FilePrintTo;
        else if (param == "dde")
            m_bShellDDE = true;
        else if (IsUnregister(param))
            m_nShellCommand = AppUnregister;
    } else if (m_nShellCommand == FilePrintTo && !m_fileNames.empty()) {
        if (m_strPrinterName.empty())
            m_strPrinterName = param;
        else if (m_strDriverName.empty())
            m_strDriverName = param;
        else if (m_strPortName.empty())
            m_strPortName = param;
    } else {
        m_fileNames.push_back(param);
    }
    if (bLast)
        ParseLast();
}

std::string CCommandLineInfo::UsageError() const
{
    std::string error;
    if (m_nShellCommand == FilePrint && m_fileNames.empty())
        error = "-p needs a file name";
    else if (m_nShellCommand == FilePrintTo && (m_fileNames.empty() || m_strPrinterName.empty()))
        error = "-pt needs a file name and a printer name";
    else
        return error;
    // A file whose name begins with "-" reads as a flag.
    for (const std::string& flag : m_unknownFlags)
        error += "; " + flag + " is taken for a flag (a file of that name is ./" + flag + ")";
    return error;
}

void CCommandLineInfo::ParseLast()
{
    if (m_nShellCommand == FileNew && !m_fileNames.empty())
        m_nShellCommand = FileOpen;
    if (m_bShellDDE && (m_nShellCommand == FileNew || m_nShellCommand == FileOpen))
        m_nShellCommand = FileDDE;
}

void ParseCommandLine(const std::vector<std::string>& arguments, CCommandLineInfo& info,
                      CCommandLineInfo::FlagStyle style)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const bool flag = IsFlag(arguments[i], style);
        if (flag && !IsFlagWord(arguments[i].substr(1)))
            info.m_unknownFlags.push_back(arguments[i]);
        info.ParseParam(flag ? arguments[i].substr(1) : arguments[i], flag,
                        i + 1 == arguments.size());
    }
}
