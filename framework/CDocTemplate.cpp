#include "framework/CDocTemplate.h"

#include "framework/CDocument.h"
#include "framework/CFileDialog.h"
#include "framework/FrameworkMessages.h"

#include <utility>

CDocTemplate::CDocTemplate(std::string documentString) : m_documentString(std::move(documentString))
{
}

bool CDocTemplate::GetDocString(std::string& value, DocStringIndex index) const
{
    value.clear();
    std::size_t start = 0;
    for (int field = 0; field < index; ++field) {
        start = m_documentString.find('\n', start);
        if (start == std::string::npos)
            return false;
        ++start;
    }
    const std::size_t end = m_documentString.find('\n', start);
    value =
        m_documentString.substr(start, end == std::string::npos ? std::string::npos : end - start);
    return true;
}

std::string CDocTemplate::GetDocString(DocStringIndex index) const
{
    std::string value;
    GetDocString(value, index);
    return value;
}

std::string CDocTemplate::NextUntitledTitle()
{
    return GetDocString(docName) + std::to_string(++m_nUntitledCount);
}

bool CDocTemplate::InitNewDocument(CDocument& document)
{
    document.SetDocTemplate(this);
    if (!document.OnNewDocument()) {
        AfxMessageBox(framework_messages::kFailedToCreateDocument, MB_OK);
        return false;
    }
    document.SetTitle(NextUntitledTitle());
    return true;
}

bool CDocTemplate::InitOpenDocument(CDocument& document, const std::string& path)
{
    document.SetDocTemplate(this);
    if (!document.OnOpenDocument(path))
        return false;
    document.SetPathName(path);
    return true;
}

FileDialogRequest CDocTemplate::MakeFileDialogRequest(bool open, const std::string& initialName,
                                                      unsigned flags) const
{
    FileDialogRequest request;
    request.openFileDialog = open;
    request.initialFileName = initialName;
    request.flags = flags;
    request.title = open ? framework_messages::kOpenTitle : framework_messages::kSaveAsTitle;
    const std::string name = GetDocString(filterName);
    const std::string extension = GetDocString(filterExt);
    if (!name.empty() && extension.size() > 1 && extension[0] == '.') {
        request.filter = name + "|*" + extension + "|";
        request.defaultExtension = extension.substr(1);
    }
    request.filter += std::string(framework_messages::kAllFilesFilter) + "|*.*||";
    return request;
}

bool CDocTemplate::DoPromptFileName(std::string& fileName, bool open, unsigned flags) const
{
    CFileDialog dialog(MakeFileDialogRequest(open, fileName, flags));
    if (dialog.DoModal() != IDOK)
        return false;
    fileName = dialog.GetPathName();
    return true;
}

void CDocTemplate::RemoveDocument(CDocument*) {}

void CDocTemplate::AddToRecentFileList(const std::string&) {}

void CDocTemplate::OnDocumentTitleChanged(CDocument*) {}

void CDocTemplate::OnDocumentModifiedChanged(CDocument*) {}
