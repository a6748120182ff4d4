#include "app/RecoveryJournalKeeper.h"

#include "app/CMultiDocTemplate.h"
#ifndef _WIN32
#include "app/UserTree.h"
#endif
#include "document/CPalvaneDoc.h"
#include "document/RecoveryJournal.h"
#include "framework/CFileException.h"
#include "framework/DocumentView.h"
#include "framework/FrameworkMessages.h"
#include "framework/UserInterface.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <utility>

namespace {

Q_LOGGING_CATEGORY(lcRecovery, "palvane.recovery", QtWarningMsg)

constexpr const char* kRestoreQuestion = "Palvane was closed without saving %1. Restore them?";

const QRegularExpression kJournalName(QStringLiteral("^([0-9a-f]{16})-([0-9]+)\\.journal$"));
const QRegularExpression kLockName(QStringLiteral("^([0-9a-f]{16})\\.lock$"));

// A name no other editor, earlier or at the same time, will have.
QString NewSessionName()
{
    return QStringLiteral("%1").arg(QRandomGenerator::system()->generate64(), 16, 16,
                                    QLatin1Char('0'));
}

QString LockName(const QString& session)
{
    return session + QStringLiteral(".lock");
}

QString JournalName(const QString& session, int number)
{
    return QStringLiteral("%1-%2.journal").arg(session).arg(number);
}

} // namespace

// Hears the document's changes as one of its views.
class RecoveryJournalKeeper::DocumentWatch : public DocumentView {
public:
    DocumentWatch(RecoveryJournalKeeper& keeper, CPalvaneDoc* document)
        : m_keeper(keeper), m_pDocument(document)
    {
    }
    void OnUpdate(DocumentView*, std::intptr_t, void*) override
    {
        m_keeper.OnDocumentChanged(m_pDocument);
    }

private:
    RecoveryJournalKeeper& m_keeper;
    CPalvaneDoc* m_pDocument;
};

// The session of an editor that is gone, its lock held by us.
struct RecoveryJournalKeeper::Orphan {
    QString session;
    std::unique_ptr<FileLock> lock;
    QStringList journals; // names, in the order they were first written
};

RecoveryJournalKeeper::RecoveryJournalKeeper(CMultiDocTemplate& docTemplate)
    : m_docTemplate(docTemplate), m_session(NewSessionName())
{
    m_writeTimer.setSingleShot(true);
    m_writeTimer.setInterval(kWriteDelayMs);
    connect(&m_writeTimer, &QTimer::timeout, this, &RecoveryJournalKeeper::WritePendingJournals);
}

RecoveryJournalKeeper::~RecoveryJournalKeeper()
{
    // Documents still open here were never closed: their journals stay for
    // the next start, which finds this session's lock free.
    bool journalsLeft = false;
    for (auto& [document, kept] : m_kept) {
        document->RemoveView(kept.watch.get());
        journalsLeft = journalsLeft || kept.written;
    }
    if (journalsLeft)
        m_lock.Release();
    else
        m_lock.RemoveAndRelease();
}

QString RecoveryJournalKeeper::Folder()
{
    if (!m_folder.isEmpty())
        return m_folder;
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    m_folderBase = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    m_folder = m_folderBase + QStringLiteral("/recovery");
#else
    // The base directory specification ignores a relative path.
    m_folderBase = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(m_folderBase))
        m_folderBase = QDir::homePath() + QStringLiteral("/.local/state");
    m_folder = m_folderBase + QStringLiteral("/palvane/recovery");
#endif
    return m_folder;
}

bool RecoveryJournalKeeper::IsUsersFolder()
{
    if (m_bUsersFolder.has_value())
        return *m_bUsersFolder;
    const QString folder = Folder();
#ifdef _WIN32
    const QString refusal;
#else
    const QString refusal = UserTree(QDir::homePath(), {m_folderBase}).Refusal(folder);
#endif
    if (!refusal.isEmpty())
        qCWarning(lcRecovery).noquote()
            << QStringLiteral("leaving %1 alone: %2; unsaved changes are not kept")
                   .arg(folder, refusal);
    m_bUsersFolder = refusal.isEmpty();
    return *m_bUsersFolder;
}

QString RecoveryJournalKeeper::PathOf(const QString& name)
{
    return Folder() + QLatin1Char('/') + name;
}

void RecoveryJournalKeeper::OnDocumentAdded(CPalvaneDoc* document)
{
    Kept& kept = m_kept[document];
    kept.watch = std::make_unique<DocumentWatch>(*this, document);
    document->AddView(kept.watch.get());
}

void RecoveryJournalKeeper::OnDocumentRemoving(CPalvaneDoc* document)
{
    const auto found = m_kept.find(document);
    if (found == m_kept.end())
        return;
    DropJournal(document, found->second);
    document->RemoveView(found->second.watch.get());
    m_kept.erase(found);
}

void RecoveryJournalKeeper::OnDocumentChanged(CPalvaneDoc* document)
{
    const auto found = m_kept.find(document);
    if (found == m_kept.end())
        return;
    if (!document->IsModified()) {
        DropJournal(document, found->second);
        return;
    }
    found->second.pending = true;
    // Not restarted by later changes: the first of a burst is written in
    // time, and the rest with it.
    if (!m_writeTimer.isActive())
        m_writeTimer.start();
}

void RecoveryJournalKeeper::WritePendingJournals()
{
    for (auto& [document, kept] : m_kept) {
        if (!std::exchange(kept.pending, false))
            continue;
        if (document->IsModified())
            WriteJournal(document, kept);
        else
            DropJournal(document, kept);
    }
}

void RecoveryJournalKeeper::DropJournalsOfUnmodifiedDocuments()
{
    const std::set<CPalvaneDoc*> journalled = m_journalled;
    for (CPalvaneDoc* document : journalled)
        if (!document->IsModified())
            DropJournal(document, m_kept[document]);
}

bool RecoveryJournalKeeper::HoldSessionLock()
{
    if (m_lock.IsHeld())
        return true;
    if (!IsUsersFolder())
        return false;
    // Paths and palettes are the user's own business.
    if (!QDir().mkpath(Folder()) ||
        !QFile::setPermissions(Folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) ||
        !m_lock.Take(PathOf(LockName(m_session)).toStdString(), true)) {
        qCWarning(lcRecovery).noquote()
            << QStringLiteral("cannot lock a session in %1: unsaved changes are not kept")
                   .arg(Folder());
        return false;
    }
    return true;
}

bool RecoveryJournalKeeper::WriteJournal(CPalvaneDoc* document, Kept& kept)
{
    if (!HoldSessionLock())
        return false;
    if (kept.number == 0)
        kept.number = ++m_nLastNumber;
    const QString path = PathOf(JournalName(m_session, kept.number));
    try {
        RecoveryJournal::Of(*document).Write(path.toStdString());
    } catch (const CFileException& error) {
        std::string message;
        error.GetErrorMessage(message);
        qCWarning(lcRecovery).noquote()
            << QStringLiteral("cannot write %1: %2").arg(path, QString::fromStdString(message));
        return false;
    }
    kept.written = true;
    kept.pending = false;
    m_journalled.insert(document);
    return true;
}

void RecoveryJournalKeeper::DropJournal(CPalvaneDoc* document, Kept& kept)
{
    kept.pending = false;
    m_journalled.erase(document);
    if (!std::exchange(kept.written, false))
        return;
    const QString path = PathOf(JournalName(m_session, kept.number));
    if (!QFile::remove(path) && QFile::exists(path))
        qCWarning(lcRecovery).noquote() << QStringLiteral("cannot remove %1").arg(path);
}

std::vector<RecoveryJournalKeeper::Orphan> RecoveryJournalKeeper::TakeOrphanedSessions()
{
    const QDir folder(Folder());
    QStringList sessions;
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden)) {
        QRegularExpressionMatch match = kJournalName.match(name);
        if (!match.hasMatch())
            match = kLockName.match(name);
        if (match.hasMatch() && match.captured(1) != m_session)
            sessions << match.captured(1);
    }
    sessions.removeDuplicates();

    std::vector<Orphan> orphans;
    for (const QString& session : sessions) {
        auto lock = std::make_unique<FileLock>();
        if (!lock->Take(PathOf(LockName(session)).toStdString(), false))
            continue; // its editor runs, or is removing it
        // Listed again now that nobody else can change them.
        std::vector<std::pair<int, QString>> journals;
        for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden)) {
            const QRegularExpressionMatch match = kJournalName.match(name);
            if (match.hasMatch() && match.captured(1) == session)
                journals.emplace_back(match.captured(2).toInt(), name);
        }
        if (journals.empty()) {
            lock->RemoveAndRelease(); // ended with nothing unsaved
            continue;
        }
        std::sort(journals.begin(), journals.end());
        Orphan orphan{session, std::move(lock), {}};
        for (const auto& journal : journals)
            orphan.journals << journal.second;
        orphans.push_back(std::move(orphan));
    }
    return orphans;
}

void RecoveryJournalKeeper::OfferRecovery()
{
    if (!m_bOffersRecovery || std::exchange(m_bOffered, true) || !IsUsersFolder())
        return;
    std::vector<Orphan> orphans = TakeOrphanedSessions();
    struct Found {
        RecoveryJournal journal;
        QString path;
    };
    std::vector<Found> found;
    for (const Orphan& orphan : orphans) {
        for (const QString& name : orphan.journals) {
            std::string reason;
            const QString path = PathOf(name);
            if (std::optional<RecoveryJournal> journal =
                    RecoveryJournal::Read(path.toStdString(), reason))
                found.push_back({std::move(*journal), path});
            else
                qCWarning(lcRecovery).noquote()
                    << QStringLiteral("skipping %1, left for a later start: %2")
                           .arg(path, QString::fromStdString(reason));
        }
    }

    if (!found.empty()) {
        const std::string count = found.size() == 1 ? std::string("1 colormap")
                                                    : std::to_string(found.size()) + " colormaps";
        const bool restore = AfxMessageBox(AfxFormatString1(kRestoreQuestion, count),
                                           MB_YESNO | MB_ICONQUESTION) == IDYES;
        if (restore) {
            // Each journal goes once this session has written its own.
            for (const Found& entry : found)
                if (Restore(entry.journal))
                    QFile::remove(entry.path);
        } else {
            // Also those that could not be read: the user wants none of them.
            for (const Orphan& orphan : orphans)
                for (const QString& name : orphan.journals)
                    QFile::remove(PathOf(name));
        }
    }
    for (Orphan& orphan : orphans) {
        const bool emptied =
            std::none_of(orphan.journals.begin(), orphan.journals.end(),
                         [this](const QString& name) { return QFile::exists(PathOf(name)); });
        if (emptied)
            orphan.lock->RemoveAndRelease();
    }
}

bool RecoveryJournalKeeper::Restore(const RecoveryJournal& journal)
{
    // A file the start opened, unchanged, takes its unsaved changes back
    // rather than showing twice.
    CPalvaneDoc* document =
        journal.path.empty() ? nullptr : m_docTemplate.FindDocument(journal.path);
    if (document == nullptr || document->IsModified())
        document = m_docTemplate.OpenDocumentFile(std::string());
    if (document == nullptr)
        return false;
    journal.RestoreInto(*document);
    const auto found = m_kept.find(document);
    return found != m_kept.end() && WriteJournal(document, found->second);
}
