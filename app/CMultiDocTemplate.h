#pragma once

#include "app/DocumentFileWatcher.h"
#include "framework/CDocTemplate.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CChildFrame;
class CPalvaneApp;
class CPalvaneDoc;
class DocumentListObserver;

// The editor's one kind of document: colormaps, each shown in child frames
// of the main frame holding one palette view. It owns the open documents.
class CMultiDocTemplate : public CDocTemplate {
public:
    explicit CMultiDocTemplate(CPalvaneApp& app);
    ~CMultiDocTemplate() override;

    // A new document ("" for `path`) or the file at `path`, in a new child
    // frame. A file that is already open only has its window activated.
    // nullptr when the document could not be made (the error has been shown).
    CPalvaneDoc* OpenDocumentFile(const std::string& path);
    // A further child frame and view on `document` (Window, New Window).
    CChildFrame* CreateNewFrame(CPalvaneDoc* document);

    CPalvaneDoc* FindDocument(const std::string& path) const;
    std::vector<CPalvaneDoc*> GetDocuments() const;
    bool HasDocuments() const { return !m_documents.empty(); }
    // The frames showing `document`, in the order they were made.
    std::vector<CChildFrame*> GetFrames(const CPalvaneDoc* document) const;

    // Asks about every modified document in turn. False as soon as one must
    // stay open; then nothing is closed.
    bool SaveAllModified();
    // Closes every document without asking.
    void CloseAllDocuments();

    // Titles the frames of `document`: its title, with ":1", ":2", ... when
    // it has several, and "*" after it while it is modified.
    void UpdateFrameTitles(const CPalvaneDoc* document) const;

    void RemoveDocument(CDocument* document) override;
    void AddToRecentFileList(const std::string& path) override;
    void OnDocumentTitleChanged(CDocument* document) override;
    void OnDocumentModifiedChanged(CDocument* document) override;

    // `observer` (not owned) hears of every document added to and removed
    // from the list from now on, after the observers added before it.
    void AddObserver(DocumentListObserver* observer) { m_observers.push_back(observer); }

private:
    // Files the open documents by their paths, as they are now.
    void IndexPath(CPalvaneDoc* document);
    void UnindexPath(const CPalvaneDoc* document);

    CPalvaneApp& m_app;
    std::vector<DocumentListObserver*> m_observers;
    std::vector<std::unique_ptr<CPalvaneDoc>> m_documents;
    // The open documents by path, so that an open need not compare its file
    // with every open document's; and the path each is filed under.
    std::unordered_multimap<std::string, CPalvaneDoc*> m_documentsByPath;
    std::unordered_map<const CPalvaneDoc*, std::string> m_indexedPaths;
    DocumentFileWatcher m_fileWatcher{*this};
};
