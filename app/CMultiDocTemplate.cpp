#include "app/CMultiDocTemplate.h"

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CPalvaneApp.h"
#include "app/DocumentListObserver.h"
#include "app/WindowTitle.h"
#include "document/CPalvaneDoc.h"
#include "framework/PlatformFile.h"
#include "res/DocumentStrings.h"
#include "view/CPalvaneView.h"

#include <QMdiArea>

#include <algorithm>

CMultiDocTemplate::CMultiDocTemplate(CPalvaneApp& app)
    : CDocTemplate(kColormapDocumentString), m_app(app)
{
}

CMultiDocTemplate::~CMultiDocTemplate() = default;

CPalvaneDoc* CMultiDocTemplate::OpenDocumentFile(const std::string& path)
{
    if (!path.empty()) {
        if (CPalvaneDoc* open = FindDocument(platform_file::AbsolutePath(path))) {
            const std::vector<CChildFrame*> frames = GetFrames(open);
            if (!frames.empty())
                m_app.GetMainFrame()->MDIActivate(frames.front());
            return open;
        }
    }
    auto document = std::make_unique<CPalvaneDoc>();
    if (path.empty() ? !InitNewDocument(*document) : !InitOpenDocument(*document, path))
        return nullptr;
    CPalvaneDoc* opened = document.get();
    m_documents.push_back(std::move(document));
    IndexPath(opened);
    for (DocumentListObserver* observer : m_observers)
        observer->OnDocumentAdded(opened);
    CreateNewFrame(opened);
    return opened;
}

CChildFrame* CMultiDocTemplate::CreateNewFrame(CPalvaneDoc* document)
{
    CMainFrame* mainFrame = m_app.GetMainFrame();
    auto* frame = new CChildFrame(document, mainFrame);
    UpdateFrameTitles(document);
    mainFrame->AddChildFrame(frame);
    mainFrame->RequestCommandUIUpdate();
    return frame;
}

CPalvaneDoc* CMultiDocTemplate::FindDocument(const std::string& path) const
{
    const auto found = path.empty() ? m_documentsByPath.end() : m_documentsByPath.find(path);
    return found != m_documentsByPath.end() ? found->second : nullptr;
}

void CMultiDocTemplate::IndexPath(CPalvaneDoc* document)
{
    UnindexPath(document);
    m_indexedPaths[document] = document->GetPathName();
    if (!document->GetPathName().empty())
        m_documentsByPath.emplace(document->GetPathName(), document);
}

void CMultiDocTemplate::UnindexPath(const CPalvaneDoc* document)
{
    const auto indexed = m_indexedPaths.find(document);
    if (indexed == m_indexedPaths.end())
        return;
    const auto [first, last] = m_documentsByPath.equal_range(indexed->second);
    for (auto entry = first; entry != last; ++entry) {
        if (entry->second == document) {
            m_documentsByPath.erase(entry);
            break;
        }
    }
    m_indexedPaths.erase(indexed);
}

std::vector<CPalvaneDoc*> CMultiDocTemplate::GetDocuments() const
{
    std::vector<CPalvaneDoc*> documents;
    for (const auto& document : m_documents)
        documents.push_back(document.get());
    return documents;
}

std::vector<CChildFrame*> CMultiDocTemplate::GetFrames(const CPalvaneDoc* document) const
{
    // Found through the document's own views, not among every window of
    // the area: opening many files stays linear in their number.
    std::vector<CChildFrame*> frames;
    for (DocumentView* view : document->GetViews()) {
        const auto* paletteView = dynamic_cast<CPalvaneView*>(view);
        auto* frame = paletteView != nullptr
                          ? qobject_cast<CChildFrame*>(paletteView->parentWidget())
                          : nullptr;
        if (frame != nullptr && frame->GetView() == paletteView)
            frames.push_back(frame);
    }
    return frames;
}

bool CMultiDocTemplate::SaveAllModified()
{
    for (CPalvaneDoc* document : GetDocuments())
        if (!document->SaveModified())
            return false;
    return true;
}

void CMultiDocTemplate::CloseAllDocuments()
{
    // Closing the active child activates another, which deactivates every
    // child in turn; in a hidden area nothing is activated.
    CMainFrame* mainFrame = m_app.GetMainFrame();
    QMdiArea* area = mainFrame != nullptr ? mainFrame->MdiArea() : nullptr;
    const bool areaShown = area != nullptr && !area->isHidden();
    if (areaShown)
        area->hide();
    for (CPalvaneDoc* document : GetDocuments())
        document->OnCloseDocument();
    if (areaShown)
        area->show();
}

void CMultiDocTemplate::UpdateFrameTitles(const CPalvaneDoc* document) const
{
    const std::vector<CChildFrame*> frames = GetFrames(document);
    const QString title = QString::fromStdString(document->GetTitle());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        frames[i]->setWindowTitle(WindowTitle::Marked(
            frames.size() == 1 ? title : title + QStringLiteral(":%1").arg(i + 1)));
        frames[i]->setWindowModified(document->IsModified());
    }
}

void CMultiDocTemplate::RemoveDocument(CDocument* document)
{
    for (DocumentListObserver* observer : m_observers)
        observer->OnDocumentRemoving(static_cast<CPalvaneDoc*>(document));
    for (CChildFrame* frame : GetFrames(static_cast<CPalvaneDoc*>(document)))
        frame->CloseWithDocument();
    UnindexPath(static_cast<CPalvaneDoc*>(document));
    const auto found =
        std::find_if(m_documents.begin(), m_documents.end(),
                     [document](const auto& open) { return open.get() == document; });
    if (found != m_documents.end())
        m_documents.erase(found);
    m_fileWatcher.Refresh();
    if (CMainFrame* mainFrame = m_app.GetMainFrame())
        mainFrame->RequestCommandUIUpdate();
}

void CMultiDocTemplate::OnDocumentTitleChanged(CDocument* document)
{
    // A new title comes with every new path: the document is filed anew,
    // once it is one of the open ones.
    auto* colormap = static_cast<CPalvaneDoc*>(document);
    if (m_indexedPaths.count(colormap) != 0)
        IndexPath(colormap);
    UpdateFrameTitles(colormap);
}

void CMultiDocTemplate::OnDocumentModifiedChanged(CDocument* document)
{
    UpdateFrameTitles(static_cast<CPalvaneDoc*>(document));
    // The main window's title follows the active document.
    if (CMainFrame* mainFrame = m_app.GetMainFrame())
        mainFrame->RequestCommandUIUpdate();
}

void CMultiDocTemplate::AddToRecentFileList(const std::string& path)
{
    m_app.AddToRecentFileList(path);
    // A document was given this file, by an open or a save: from now on the
    // file is watched as that left it.
    m_fileWatcher.Refresh();
}
