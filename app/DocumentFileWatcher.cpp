#include "app/DocumentFileWatcher.h"

#include "app/CMultiDocTemplate.h"
#include "document/CPalvaneDoc.h"
#include "framework/FrameworkMessages.h"
#include "framework/PlatformFile.h"
#include "framework/UserInterface.h"

#include <QApplication>
#include <QFileInfo>

#include <algorithm>
#include <set>
#include <vector>

namespace {

// A save or a copy makes several notifications within a few milliseconds:
// they are taken together once this much time has passed without another.
constexpr int kSettleMs = 150;
// While a dialog is open, the next look comes this much later.
constexpr int kModalRetryMs = 100;

} // namespace

DocumentFileWatcher::DocumentFileWatcher(CMultiDocTemplate& docTemplate)
    : m_docTemplate(docTemplate)
{
    m_checkTimer.setSingleShot(true);
    QObject::connect(&m_checkTimer, &QTimer::timeout, [this] { CheckDocuments(); });
    QObject::connect(&m_watcher, &QFileSystemWatcher::fileChanged, [this] { Refresh(); });
    QObject::connect(&m_watcher, &QFileSystemWatcher::directoryChanged, [this] { Refresh(); });
}

void DocumentFileWatcher::Refresh()
{
    m_checkTimer.start(kSettleMs);
}

void DocumentFileWatcher::CheckDocuments()
{
    if (m_bAsking || QApplication::activeModalWidget() != nullptr) {
        m_checkTimer.start(kModalRetryMs);
        return;
    }
    WatchDocumentFiles();
    for (CPalvaneDoc* document : m_docTemplate.GetDocuments()) {
        // An earlier answer may have closed documents.
        if (IsOpen(document) && ShouldOfferReload(*document))
            OfferReload(*document);
    }
}

void DocumentFileWatcher::WatchDocumentFiles()
{
    std::set<std::string> paths;
    std::map<QString, FileNumber> files;
    std::set<QString> folders;
    for (const CPalvaneDoc* document : m_docTemplate.GetDocuments()) {
        // Pipes and devices are never compared, so never watched.
        if (!document->GetFileStamp().IsOfRegularFile())
            continue;
        const std::string& path = document->GetPathName();
        paths.insert(path);
        folders.insert(QString::fromStdString(platform_file::FolderOf(path)));
        platform_file::FileIdentity identity;
        if (platform_file::IdentifyPath(path, identity) == 0 &&
            identity.kind == platform_file::NodeKind::regular)
            files[QString::fromStdString(path)] = {identity.device, identity.fileNumber};
    }
    // A file replaced since it was watched (as every save replaces it) is
    // watched again: the system's watch stayed with the file that was there.
    for (auto watched = m_watchedFiles.begin(); watched != m_watchedFiles.end();) {
        const auto wanted = files.find(watched->first);
        if (wanted != files.end() && wanted->second == watched->second) {
            ++watched;
            continue;
        }
        m_watcher.removePath(watched->first);
        watched = m_watchedFiles.erase(watched);
    }
    for (const auto& [path, number] : files)
        if (m_watchedFiles.count(path) == 0 && m_watcher.addPath(path))
            m_watchedFiles[path] = number;
    const QStringList watchedFolders = m_watcher.directories();
    for (const QString& folder : watchedFolders)
        if (folders.count(folder) == 0)
            m_watcher.removePath(folder);
    for (const QString& folder : folders)
        if (!watchedFolders.contains(folder))
            m_watcher.addPath(folder);
    std::erase_if(m_declined,
                  [&paths](const auto& entry) { return paths.count(entry.first) == 0; });
}

bool DocumentFileWatcher::IsOpen(const CPalvaneDoc* document) const
{
    const std::vector<CPalvaneDoc*> documents = m_docTemplate.GetDocuments();
    return std::find(documents.begin(), documents.end(), document) != documents.end();
}

bool DocumentFileWatcher::ShouldOfferReload(const CPalvaneDoc& document)
{
    if (document.IsModified())
        return false;
    const std::string& path = document.GetPathName();
    if (document.GetFileStamp().CompareWith(path) != FileStamp::Comparison::changed) {
        m_declined.erase(path);
        return false;
    }
    const auto declined = m_declined.find(path);
    return declined == m_declined.end() ||
           declined->second.CompareWith(path) != FileStamp::Comparison::unchanged;
}

void DocumentFileWatcher::OfferReload(CPalvaneDoc& document)
{
    const std::string path = document.GetPathName();
    m_bAsking = true;
    const int answer = AfxMessageBox(AfxFormatString1(framework_messages::kAskToReloadChangedFile,
                                                      platform_file::FileNameOf(path)),
                                     MB_YESNO | MB_ICONQUESTION);
    // A reload that fails has shown why; that version is not offered again.
    if (answer == IDYES && IsOpen(&document) && document.ReloadFromFile())
        m_declined.erase(path);
    else
        m_declined[path] = FileStamp::OfPath(path);
    m_bAsking = false;
}
