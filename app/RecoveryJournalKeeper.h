#pragma once

#include "app/DocumentListObserver.h"
#include "app/FileLock.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

class CMultiDocTemplate;
class CPalvaneDoc;
class RecoveryJournal;

// Keeps a recovery journal for every open document with unsaved changes, so
// that an editor that is killed or crashes loses none of them. A journal is
// written shortly after each change (the document tells its views; one of
// its views is ours) and removed when the document is saved, reloaded or
// closed.
//
// Journals live in the recovery folder, named after this editor's session:
// "<session>.lock", whose lock the editor holds from its first journal to
// its end, and "<session>-<n>.journal", one per document. A session whose
// lock can be taken belongs to an editor that is gone; the first time the
// main window shows, its journals are offered back.
class RecoveryJournalKeeper : public QObject, public DocumentListObserver {
    Q_OBJECT

public:
    // Changes are written this long after the first of a burst.
    static constexpr int kWriteDelayMs = 250;

    explicit RecoveryJournalKeeper(CMultiDocTemplate& docTemplate);
    ~RecoveryJournalKeeper() override;

    // $XDG_STATE_HOME/palvane/recovery, by default under ~/.local/state; on
    // Windows and macOS "recovery" in the application's local data folder.
    // Fixed at its first use.
    QString Folder();

    void OnDocumentAdded(CPalvaneDoc* document) override;
    void OnDocumentRemoving(CPalvaneDoc* document) override;
    // Removes the journals of documents no longer modified: saved, or
    // reloaded from their file.
    void DropJournalsOfUnmodifiedDocuments();

    // Once in the editor's life: takes the sessions of editors that are gone,
    // asks whether to restore their documents, and opens each in a window of
    // its own, modified, or deletes the journals. A journal that cannot be
    // read is left where it is and named in the log.
    void OfferRecovery();
    // A start that only pictures its window offers nothing.
    void SetOffersRecovery(bool offers) { m_bOffersRecovery = offers; }

private:
    class DocumentWatch;
    struct Kept {
        std::unique_ptr<DocumentWatch> watch;
        int number = 0; // of its journal; 0 until first written
        bool written = false;
        bool pending = false;
    };
    struct Orphan;

    void OnDocumentChanged(CPalvaneDoc* document);
    void WritePendingJournals();
    bool WriteJournal(CPalvaneDoc* document, Kept& kept);
    void DropJournal(CPalvaneDoc* document, Kept& kept);
    bool HoldSessionLock();
    // Whether the folder is the user's own to write: not in another user's
    // home (the superuser started with it), not reached through a link out
    // of the user's folders. Said in the log once when it is not.
    bool IsUsersFolder();
    QString PathOf(const QString& name);
    std::vector<Orphan> TakeOrphanedSessions();
    bool Restore(const RecoveryJournal& journal);

    CMultiDocTemplate& m_docTemplate;
    QString m_folder;
    QString m_folderBase; // the state or local data folder it lies in
    std::optional<bool> m_bUsersFolder;
    const QString m_session;
    FileLock m_lock;
    std::map<CPalvaneDoc*, Kept> m_kept;
    // The documents whose journals are written: the few among many open.
    std::set<CPalvaneDoc*> m_journalled;
    int m_nLastNumber = 0;
    QTimer m_writeTimer;
    bool m_bOffersRecovery = true;
    bool m_bOffered = false;
};
