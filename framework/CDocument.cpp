#include "framework/CDocument.h"

#include "framework/AtomicReplaceFile.h"
#include "framework/CArchive.h"
#include "framework/CArchiveException.h"
#include "framework/CDocTemplate.h"
#include "framework/CFile.h"
#include "framework/DocumentView.h"
#include "framework/FileFormatException.h"
#include "framework/FrameworkMessages.h"
#include "framework/PlatformFile.h"
#include "framework/UserInterface.h"
#include "res/CommandIds.h"

#include <algorithm>
#include <cstdint>

namespace {

const CommandMapEntry kCommands[] = {
    {ID_FILE_SAVE, &CDocument::OnFileSave},
    {ID_FILE_SAVE_AS, &CDocument::OnFileSaveAs},
    {ID_FILE_CLOSE, &CDocument::OnFileClose},
};

} // namespace

constinit const CommandMap CDocument::commandMap{&CCmdTarget::commandMap, kCommands};

void CDocument::SetTitle(const std::string& title)
{
    m_strTitle = title;
    if (m_pDocTemplate != nullptr)
        m_pDocTemplate->OnDocumentTitleChanged(this);
}

void CDocument::SetPathName(const std::string& path)
{
    m_strPathName = platform_file::AbsolutePath(path);
    SetTitle(platform_file::FileNameOf(m_strPathName));
    if (m_pDocTemplate != nullptr)
        m_pDocTemplate->AddToRecentFileList(m_strPathName);
}

void CDocument::SetModifiedFlag(bool modified)
{
    if (m_bModified == modified)
        return;
    m_bModified = modified;
    if (m_pDocTemplate != nullptr)
        m_pDocTemplate->OnDocumentModifiedChanged(this);
}

void CDocument::AddView(DocumentView* view)
{
    if (view != nullptr && std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void CDocument::RemoveView(DocumentView* view)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

void CDocument::UpdateAllViews(DocumentView* sender, std::intptr_t hint, void* hintObject)
{
    const std::vector<DocumentView*> views = m_views;
    for (DocumentView* view : views)
        if (view != sender)
            view->OnUpdate(sender, hint, hintObject);
}

bool CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.clear();
    m_fileStamp = FileStamp();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnOpenDocument(const std::string& path)
{
    CFile file;
    CFileException openError;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite, &openError)) {
        ReportSaveLoadException(path, std::make_exception_ptr(openError),
                                framework_messages::kFailedToOpenDocument);
        return false;
    }
    DeleteContents();
    SetModifiedFlag(true); // stays set if the load fails half way
    FileStamp stamp;
    try {
        CWaitCursor wait;
        // Whether the file is empty is decided by reading it: some files
        // (those under /proc) report a size of 0 and yet have contents.
        std::uint8_t first = 0;
        if (file.Read(&first, 1) != 0) {
            file.Seek(0, CFile::begin);
            CArchive archive(&file, CArchive::load);
            Serialize(archive);
        }
        stamp = FileStamp::OfOpenFile(file);
        file.Close();
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        file.Abort();
        DeleteContents();
        ReportSaveLoadException(path, error, framework_messages::kFailedToOpenDocument);
        return false;
    }
    m_fileStamp = stamp;
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const std::string& path)
{
    AtomicReplaceFile file;
    CFileException openError;
    if (!file.Open(path, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive,
                   &openError)) {
        ReportSaveLoadException(path, std::make_exception_ptr(openError),
                                framework_messages::kInvalidFilename);
        return false;
    }
    try {
        CWaitCursor wait;
        CArchive archive(&file, CArchive::store);
        Serialize(archive);
        archive.Close();
        file.Close(); // only now does the finished file replace the old one
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        file.Abort();
        ReportSaveLoadException(path, error, framework_messages::kFailedToSaveDocument);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

void CDocument::Serialize(CArchive&) {}

bool CDocument::DoSave(const std::string& path, bool replace)
{
    std::string target = path;
    if (target.empty()) {
        target = m_strPathName;
        if (replace && target.empty()) {
            // Suggest the title, cut at the first character that file names
            // often cannot hold, with this kind's extension.
            target = m_strTitle.substr(0, m_strTitle.find_first_of(" #%;/\\"));
            if (m_pDocTemplate != nullptr)
                target += m_pDocTemplate->GetDocString(CDocTemplate::filterExt);
        }
        static const CDocTemplate s_anyFile{std::string()};
        const CDocTemplate& type = m_pDocTemplate != nullptr ? *m_pDocTemplate : s_anyFile;
        if (!type.DoPromptFileName(target, false,
                                   OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST))
            return false;
    }
    if (platform_file::AbsolutePath(target) == m_strPathName && !ConfirmReplacingChangedFile())
        return false;
    CWaitCursor wait;
    // A failed save leaves whatever file was there untouched, so there is
    // nothing to clean up here.
    if (!OnSaveDocument(target))
        return false;
    if (replace) {
        SetPathName(target);
        m_fileStamp = FileStamp::OfPath(m_strPathName);
    }
    return true;
}

bool CDocument::ConfirmReplacingChangedFile() const
{
    // Only a file that is there and holds other data: one deleted or renamed
    // away is simply saved anew, and pipes and devices are never compared.
    if (m_fileStamp.CompareWith(m_strPathName) != FileStamp::Comparison::changed)
        return true;
    const std::string question = AfxFormatString1(framework_messages::kAskToReplaceChangedFile,
                                                  platform_file::FileNameOf(m_strPathName));
    return AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

bool CDocument::DoFileSave()
{
    if (m_strPathName.empty() || platform_file::IsReadOnly(m_strPathName))
        return DoSave(std::string());
    return DoSave(m_strPathName);
}

bool CDocument::SaveModified()
{
    if (!IsModified())
        return true;
    const std::string name =
        m_strPathName.empty() ? m_strTitle : platform_file::FileNameOf(m_strPathName);
    switch (AfxMessageBox(AfxFormatString1(framework_messages::kAskToSave, name), MB_YESNOCANCEL)) {
    case IDCANCEL:
        return false;
    case IDYES:
        return DoFileSave();
    default:
        return true;
    }
}

void CDocument::OnFileSave()
{
    DoFileSave();
}

void CDocument::OnFileSaveAs()
{
    DoSave(std::string());
}

void CDocument::OnFileClose()
{
    if (SaveModified())
        OnCloseDocument();
}

void CDocument::OnCloseDocument()
{
    DeleteContents();
    if (m_pDocTemplate != nullptr)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::ReportSaveLoadException(const std::string& path, std::exception_ptr error,
                                        const char* defaultMessage)
{
    std::string message;
    try {
        if (error)
            std::rethrow_exception(error);
    } catch (const CFileException& fileError) {
        CFileException named = fileError;
        if (named.m_strFileName.empty())
            named.m_strFileName = path;
        named.GetErrorMessage(message);
    } catch (const FileFormatException& formatError) {
        formatError.GetErrorMessage(message);
        message = platform_file::AbsolutePath(path) + ": " + message;
    } catch (const CArchiveException& archiveError) {
        switch (archiveError.m_cause) {
        case CArchiveException::badSchema:
        case CArchiveException::badClass:
        case CArchiveException::badIndex:
        case CArchiveException::endOfFile:
            message = framework_messages::kUnexpectedFileFormat;
            break;
        default:
            break;
        }
    } catch (...) {
    }
    if (message.empty())
        message = AfxFormatString1(defaultMessage, platform_file::FileNameOf(path));
    AfxMessageBox(message, MB_ICONEXCLAMATION);
}
