#pragma once

#include "framework/FileStamp.h"

#include <QFileSystemWatcher>
#include <QTimer>

#include <cstdint>
#include <map>
#include <string>
#include <utility>

class CMultiDocTemplate;
class CPalvaneDoc;

// Watches the files of the open documents. When another program changes the
// file of a document without unsaved edits, it offers to reload it; a
// document with unsaved edits is left alone, and its next save asks before
// it replaces the file. A save replaces a file by a new one, which ends the
// system's watch on the old one, so each file is watched anew after every
// change, and its folder as well, so that a file created again is seen.
class DocumentFileWatcher {
public:
    explicit DocumentFileWatcher(CMultiDocTemplate& docTemplate);

    // A document was opened, saved or closed: watch the files of the open
    // documents as they are now.
    void Refresh();

private:
    // Runs once a burst of notifications has passed, and never while a
    // dialog is open.
    void CheckDocuments();
    void WatchDocumentFiles();
    bool IsOpen(const CPalvaneDoc* document) const;
    // Whether to offer reloading the document: it has no unsaved edits, its
    // file holds other data than it read, and the user has not turned down
    // this very version of the file.
    bool ShouldOfferReload(const CPalvaneDoc& document);
    void OfferReload(CPalvaneDoc& document);

    // A file as the system knows it: its device and its number there.
    using FileNumber = std::pair<std::uint64_t, std::uint64_t>;

    CMultiDocTemplate& m_docTemplate;
    QFileSystemWatcher m_watcher;
    // The files watched, and which file each name led to then.
    std::map<QString, FileNumber> m_watchedFiles;
    QTimer m_checkTimer;
    // For each file: the version whose reload the user turned down.
    std::map<std::string, FileStamp> m_declined;
    bool m_bAsking = false;
};
