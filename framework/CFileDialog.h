#pragma once

#include "framework/UserInterface.h"

#include <string>

// An Open or Save file chooser, asked through the current UserInterface.
class CFileDialog {
public:
    CFileDialog(bool openFileDialog, const char* defaultExtension = nullptr,
                const char* initialFileName = nullptr, unsigned flags = 0,
                const char* filter = nullptr);
    explicit CFileDialog(FileDialogRequest request);

    // IDOK when the user chose a file, IDCANCEL otherwise. A chosen name
    // that takes it gets the default extension appended.
    int DoModal();
    // Whether the default extension goes on `path`: its name has no
    // extension, and it names no device, pipe or other existing thing that
    // is not a regular file (nor the program's own standard output, which
    // may be one), since with the extension it would name something else.
    static bool TakesDefaultExtension(const std::string& path);
    // Replaces the system's default title.
    void SetTitle(const std::string& title) { m_request.title = title; }
    // The full path chosen.
    const std::string& GetPathName() const { return m_pathName; }

private:
    FileDialogRequest m_request;
    std::string m_pathName;
};
