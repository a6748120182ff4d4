#include "app/FreedesktopRegistration.h"

#include "app/DesktopEntryText.h"
#include "app/FileLock.h"
#include "app/FreedesktopFiles.h"
#include "app/MimeAppsList.h"
#include "app/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <utility>
#include <vector>

namespace {

Q_LOGGING_CATEGORY(lcRegistration, "palvane.registration", QtWarningMsg)

// The update tools take a fraction of a second; one that hangs (on a named
// pipe among the files it reads, say) must not keep the editor from
// starting.
constexpr int kToolTimeoutMs = 5000;
constexpr std::chrono::milliseconds kLockWait{10000};
// Far more than any real list; a larger one is left as it is.
constexpr qint64 kMimeAppsLimit = 1 << 20;
const QString kLockFile = QStringLiteral("palvane-registration.lock");

// Held while the registration changes the user's files; its file goes with
// it. The lock is the system's (it never outlives its process, and taking it
// writes nothing to disk), and whatever else stands at its path makes the
// registration give up rather than wait.
class RegistrationLock {
public:
    RegistrationLock() = default;
    ~RegistrationLock()
    {
        if (m_lock.IsHeld())
            m_lock.RemoveAndRelease();
    }
    RegistrationLock(const RegistrationLock&) = delete;
    RegistrationLock& operator=(const RegistrationLock&) = delete;
    bool Take(const QString& path) { return m_lock.TakeWithin(path.toStdString(), kLockWait); }

private:
    FileLock m_lock;
};
// There while the editor's line is in a `mimeapps.list` that it made
// itself: -Unregister removes such a file once it is empty, and keeps one
// the user had.
const QString kMimeAppsMadeMark = QStringLiteral("palvane-made-mimeapps-list");

const QString kMimeCache = QStringLiteral("mime/mime.cache");
const QString kDesktopCache = QStringLiteral("applications/mimeinfo.cache");
const QString kMimeTool = QStringLiteral("update-mime-database");
const QString kDesktopTool = QStringLiteral("update-desktop-database");

const QByteArray kType = FreedesktopFiles::kMimeType;
const QByteArray kDesktopId = FreedesktopFiles::kDesktopId;
const QByteArray kFormerDesktopId = FreedesktopFiles::kFormerDesktopId;

void Leave(const QString& path, const QString& why)
{
    qCWarning(lcRegistration).noquote() << QStringLiteral("leaving %1 alone: %2").arg(path, why);
}

bool IsThere(const QFileInfo& info)
{
    return info.exists() || info.isSymLink();
}

bool WriteFile(const QString& path, const QByteArray& content)
{
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() &&
           file.commit();
}

} // namespace

FreedesktopRegistration::FreedesktopRegistration(const QString& home, const QString& dataFolder,
                                                 const QString& configFolder,
                                                 const QString& executable)
    : m_dataFolder(dataFolder), m_configFolder(configFolder), m_executable(executable),
      m_tree(home, {dataFolder, configFolder})
{
}

QString FreedesktopRegistration::DataPath(const QString& relative) const
{
    return m_dataFolder + u'/' + relative;
}

QString FreedesktopRegistration::MimeAppsPath() const
{
    return m_configFolder + QStringLiteral("/mimeapps.list");
}

bool FreedesktopRegistration::IsUsers(const QString& path) const
{
    const QString refusal = m_tree.Refusal(path);
    if (!refusal.isEmpty())
        Leave(path, refusal);
    return refusal.isEmpty();
}

bool FreedesktopRegistration::CanLock(const QString& path) const
{
    const QFileInfo info(path);
    if (info.isSymLink() || (info.exists() && !info.isFile())) {
        Leave(path, QStringLiteral("it is not a regular file"));
        return false;
    }
    return IsUsers(path);
}

bool FreedesktopRegistration::WriteIfChanged(const QString& relative,
                                             const QByteArray& content) const
{
    const QString path = DataPath(relative);
    if (!IsUsers(path))
        return false;
    const RegularFile::Content current = RegularFile::Read(path, content.size());
    if (current.status == RegularFile::Status::unusable) {
        Leave(path, QStringLiteral("it is not a regular file that can be read"));
        return false;
    }
    if (current.status == RegularFile::Status::read && current.bytes == content)
        return true;
    return WriteFile(path, content);
}

bool FreedesktopRegistration::IsStale(const QString& cache, const QStringList& sources) const
{
    const QFileInfo cacheInfo(DataPath(cache));
    bool stale = !cacheInfo.exists();
    for (const QString& source : sources)
        stale = stale || QFileInfo(DataPath(source)).lastModified() > cacheInfo.lastModified();
    return stale;
}

bool FreedesktopRegistration::RunTool(const QString& tool, const QString& folder) const
{
    // The tools write into the folder and, for each type, into the folders
    // in it.
    const QString path = DataPath(folder);
    if (!IsUsers(path))
        return false;
    for (const QFileInfo& inner :
         QDir(path).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        if (!IsUsers(inner.filePath()))
            return false;
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return true;
    QProcess process;
    // Silent, as every step of the registration is.
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, {path});
    if (!process.waitForFinished(kToolTimeoutMs)) {
        Leave(path, QStringLiteral("%1 did not finish in time").arg(tool));
        process.kill();
        process.waitForFinished();
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

void FreedesktopRegistration::RemoveIfOurs(const QString& path,
                                           const std::optional<QByteArray>& content) const
{
    const QFileInfo info(path);
    if (!IsThere(info) || !IsUsers(path))
        return;
    const QString notOurs = QStringLiteral("the editor did not write it");
    if (info.isSymLink() || !info.isFile())
        return Leave(path, notOurs);
    if (info.ownerId() != ::geteuid())
        return Leave(path, QStringLiteral("it belongs to another user"));
    if (content) {
        const RegularFile::Content current = RegularFile::Read(path, content->size(), false);
        if (current.status != RegularFile::Status::read || current.bytes != *content)
            return Leave(path, notOurs);
    }
    QFile::remove(path);
}

bool FreedesktopRegistration::ReadMimeApps(RegularFile::Content& content) const
{
    const QString path = MimeAppsPath();
    if (!IsUsers(path))
        return false;
    content = RegularFile::Read(path, kMimeAppsLimit);
    if (content.status == RegularFile::Status::tooLarge)
        Leave(path, QStringLiteral("it is larger than 1 MiB"));
    if (content.status == RegularFile::Status::unusable)
        Leave(path, QStringLiteral("it is not a regular file that can be read"));
    return content.status == RegularFile::Status::read ||
           content.status == RegularFile::Status::missing;
}

bool FreedesktopRegistration::RegisterDefault() const
{
    RegularFile::Content current;
    if (!ReadMimeApps(current))
        return false;
    MimeAppsList list(current.bytes);
    // An earlier version's line gives way to the entry's new name.
    const bool wasFormer = list.HasDefault(kType, kFormerDesktopId);
    if (wasFormer)
        list.RemoveDefault(kType, kFormerDesktopId);
    // The user's own choice stands, wherever it is.
    if (!list.HasOtherDefault(kType, kDesktopId))
        list.SetDefault(kType, kDesktopId);
    const QByteArray changed = list.Bytes();
    if (changed == current.bytes)
        return true;
    if (current.status == RegularFile::Status::missing &&
        !WriteIfChanged(kMimeAppsMadeMark, QByteArray()))
        return false;
    return WriteFile(MimeAppsPath(), changed);
}

bool FreedesktopRegistration::RemoveDefault() const
{
    RegularFile::Content current;
    if (!ReadMimeApps(current))
        return false;
    MimeAppsList list(current.bytes);
    if (!list.HasDefault(kType, kDesktopId) && !list.HasDefault(kType, kFormerDesktopId))
        return true;
    list.RemoveDefault(kType, kDesktopId);
    list.RemoveDefault(kType, kFormerDesktopId);
    const QByteArray changed = list.Bytes();
    // Through a link the file is the user's, even when the editor wrote it
    // first.
    if (changed.trimmed().isEmpty() && QFileInfo::exists(DataPath(kMimeAppsMadeMark)) &&
        !QFileInfo(MimeAppsPath()).isSymLink()) {
        RemoveIfOurs(MimeAppsPath(), std::nullopt);
        return !QFileInfo::exists(MimeAppsPath());
    }
    return WriteFile(MimeAppsPath(), changed);
}

void FreedesktopRegistration::RemoveFormerFiles() const
{
    const std::vector<QString> paths = FreedesktopFiles::FormerPaths();
    if (std::none_of(paths.begin(), paths.end(),
                     [this](const QString& path) { return IsThere(QFileInfo(DataPath(path))); }))
        return;
    for (const FreedesktopFiles::File& former : FreedesktopFiles::Former(m_executable))
        RemoveIfOurs(DataPath(former.path), former.content);
}

bool FreedesktopRegistration::Register() const
{
    if (m_dataFolder.isEmpty() || m_configFolder.isEmpty() || m_executable.isEmpty())
        return false;
    if (!DesktopEntryText::CanHold(m_executable)) {
        qCWarning(lcRegistration) << "not registering the file type: a desktop entry cannot hold "
                                     "the control characters in"
                                  << m_executable;
        return false;
    }
    if (!IsUsers(m_dataFolder) || !IsUsers(m_configFolder))
        return false;
    // Editors started together take turns: the update tools of two of them
    // must not write the same cache at once.
    RegistrationLock lock;
    if (!QDir().mkpath(m_dataFolder) || !CanLock(DataPath(kLockFile)) ||
        !lock.Take(DataPath(kLockFile)))
        return false;
    const std::vector<FreedesktopFiles::File> files = FreedesktopFiles::All(m_executable);
    const QString package = QLatin1String(FreedesktopFiles::kMimePackage);
    const QStringList entries{QLatin1String(FreedesktopFiles::kApplicationEntry),
                              QLatin1String(FreedesktopFiles::kPrintEntry)};
    for (const FreedesktopFiles::File& file : files) {
        if (!WriteIfChanged(file.path, file.content))
            return false;
        // Each cache is refreshed as soon as its sources are written.
        if (file.path == package && IsStale(kMimeCache, {package}) &&
            !RunTool(kMimeTool, QStringLiteral("mime")))
            return false;
        // The entries' former names go before the cache is refreshed.
        if (file.path == entries.back())
            RemoveFormerFiles();
        if (file.path == entries.back() && IsStale(kDesktopCache, entries) &&
            !RunTool(kDesktopTool, QStringLiteral("applications")))
            return false;
    }
    return RegisterDefault();
}

bool FreedesktopRegistration::Unregister(const QString& settingsFile) const
{
    if (m_dataFolder.isEmpty() || m_configFolder.isEmpty())
        return false;
    if (!IsUsers(m_dataFolder) || !IsUsers(m_configFolder))
        return false;
    RegistrationLock lock;
    if (QFileInfo(m_dataFolder).isDir() &&
        (!CanLock(DataPath(kLockFile)) || !lock.Take(DataPath(kLockFile))))
        return false;
    // Before the mark that tells whether the list was the editor's goes.
    const bool defaultRemoved = RemoveDefault();
    std::vector<std::pair<QString, std::optional<QByteArray>>> owned;
    for (const FreedesktopFiles::File& file : FreedesktopFiles::All(m_executable))
        owned.emplace_back(DataPath(file.path), file.content);
    for (const FreedesktopFiles::File& file : FreedesktopFiles::Former(m_executable))
        owned.emplace_back(DataPath(file.path), file.content);
    owned.emplace_back(DataPath(kMimeAppsMadeMark), QByteArray());
    owned.emplace_back(settingsFile, std::nullopt);
    for (const auto& [path, content] : owned)
        RemoveIfOurs(path, content);
    // The organisation's folder goes once no other program of it keeps
    // settings there.
    const QFileInfo settings(settingsFile);
    if (settings.dir().dirName() == QStringLiteral("Quorvath"))
        QDir().rmdir(settings.path());
    // Refreshed even when nothing was removed, so that caches built from
    // files removed by hand forget the type as well.
    for (const auto& [tool, folder] : {std::pair{kMimeTool, QStringLiteral("mime")},
                                       std::pair{kDesktopTool, QStringLiteral("applications")}})
        if (QFileInfo(DataPath(folder)).isDir())
            RunTool(tool, folder);

    bool gone = defaultRemoved;
    for (const auto& [path, content] : owned)
        gone = gone && !IsThere(QFileInfo(path));
    return gone;
}
