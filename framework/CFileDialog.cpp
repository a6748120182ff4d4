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
    if (!m_request.defaultExtension.empty() && TakesDefaultExtension(chosen))
        chosen += "." + m_request.defaultExtension;
    m_pathName = platform_file::AbsolutePath(chosen);
    return result;
}

bool CFileDialog::TakesDefaultExtension(const std::string& path)
{
    const std::string name = platform_file::FileNameOf(path);
    if (name.empty() || name.find('.') != std::string::npos)
        return false;
    // A name that cannot be looked up keeps the extension: whatever is wrong
    // with it is reported when the file is opened.
    platform_file::SaveTarget target;
    if (platform_file::FindSaveTarget(path, target) != 0)
        return true;
    return target.ownHandle < 0 && (target.kind == platform_file::NodeKind::absent ||
                                    target.kind == platform_file::NodeKind::regular);
}
