#pragma once

#include <string>

// The colormap file type in the registry of the current user: the type
// "JediKnight.CMP" with its icon and its open, print and print-to
// commands, ".cmp" pointing at it unless the user chose another type, and
// the removal of all that and of the editor's settings.
class WindowsShellRegistration {
public:
    // Keys below HKEY_CURRENT_USER: the user's classes, and the software
    // key that holds the organisation's settings.
    explicit WindowsShellRegistration(std::wstring classes = L"Software\\Classes",
                                      std::wstring software = L"Software");

    // The running program's full path.
    static std::wstring ExecutablePath();

    // Writes the values that differ. False at the first key that could not
    // be written; the keys after it are skipped.
    bool Register(const std::wstring& executable) const;

    // Removes the type, ".cmp" when it is ours, the editor's settings and
    // the organisation's key once nothing else is in it. True when none of
    // them is left.
    bool Unregister() const;

private:
    std::wstring m_classes;
    std::wstring m_software;
};
