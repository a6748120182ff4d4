#include "framework/CFileDialog.h"

#include "framework/PlatformFile.h"

#include <utility>

CFileDialog::CFileDialog(bool openFileDialog, const char* defaultExtension,
                         const char* initialFileName, unsigned flags, const char* filter)
{
    m_request.openFileDialog = openFileDialog;
    m_request.defaultExtension = defaultExtension != nullptr ? defaultExtension : "";
    m_request.initialFileName = initialFileName != nullptr ? initialFileName : "";
    m_request.flags = flags;
    m_request.filter = filter != nullptr ? filter : "";
}

CFileDialog::CFileDialog(FileDialogRequest request) : m_request(std::move(request)) {}

int CFileDialog::DoModal()
{
    std::string chosen = m_request.initialFileName;
    const int result = AfxGetUserInterface().PickFile(m_request, chosen);
    if (result != IDOK)
        return result;
    const std::string name = platform_file::FileNameOf(chosen);
    if (!m_request.defaultExtension.empty() && !name.empty() && name.find('.') == std::string::npos)
        chosen += "." + m_request.defaultExtension;
    m_pathName = platform_file::AbsolutePath(chosen);
    return result;
}
