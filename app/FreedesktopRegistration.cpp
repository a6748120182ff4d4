#include "app/FreedesktopRegistration.h"

#include "app/FreedesktopFiles.h"
#include "app/MimeAppsList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include <utility>

namespace {

// The update tools take a fraction of a second; one that hangs must not
// keep the editor from starting.
constexpr int kToolTimeoutMs = 10000;
constexpr int kLockTimeoutMs = 10000;
const QString kLockFile = QStringLiteral("palvane-registration.lock");

const QString kMimeCache = QStringLiteral("mime/mime.cache");
const QString kDesktopCache = QStringLiteral("applications/mimeinfo.cache");
const QString kMimeTool = QStringLiteral("update-mime-database");
const QString kDesktopTool = QStringLiteral("update-desktop-database");

QString Type()
{
    return QLatin1String(FreedesktopFiles::kMimeType);
}

QString DesktopId()
{
    return QLatin1String(FreedesktopFiles::kDesktopId);
}

bool ReadFile(const QString& path, QByteArray& content)
{
    QFile file(path);
    if (!file.exists()) {
        content.clear();
        return true;
    }
    if (!file.open(QIODevice::ReadOnly))
        return false;
    content = file.readAll();
    return file.error() == QFileDevice::NoError;
}

bool WriteFile(const QString& path, const QByteArray& content)
{
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() &&
           file.commit();
}

bool RemoveFile(const QString& path)
{
    QFile::remove(path);
    return !QFileInfo::exists(path) && !QFileInfo(path).isSymLink();
}

} // namespace

FreedesktopRegistration::FreedesktopRegistration(const QString& dataFolder,
                                                 const QString& configFolder,
                                                 const QString& executable)
    : m_dataFolder(dataFolder), m_configFolder(configFolder), m_executable(executable)
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

bool FreedesktopRegistration::WriteIfChanged(const QString& relative,
                                             const QByteArray& content) const
{
    const QString path = DataPath(relative);
    QByteArray current;
    if (QFileInfo::exists(path) && ReadFile(path, current) && current == content)
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
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return true;
    QProcess process;
    // Silent, as every step of the registration is.
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, {DataPath(folder)});
    if (!process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool FreedesktopRegistration::DefaultRemoved() const
{
    QByteArray text;
    return ReadFile(MimeAppsPath(), text) &&
           MimeAppsList(QString::fromUtf8(text)).DefaultFor(Type()) != QStringList{DesktopId()};
}

bool FreedesktopRegistration::RegisterDefault() const
{
    QByteArray text;
    if (!ReadFile(MimeAppsPath(), text))
        return false;
    MimeAppsList list(QString::fromUtf8(text));
    const QStringList current = list.DefaultFor(Type());
    // The user's own choice stands.
    if (!current.isEmpty() && current != QStringList{DesktopId()})
        return true;
    list.SetDefault(Type(), DesktopId());
    const QByteArray changed = list.Text().toUtf8();
    return changed == text || WriteFile(MimeAppsPath(), changed);
}

bool FreedesktopRegistration::RemoveDefault() const
{
    QByteArray text;
    if (!ReadFile(MimeAppsPath(), text))
        return false;
    MimeAppsList list(QString::fromUtf8(text));
    if (list.DefaultFor(Type()) != QStringList{DesktopId()})
        return true;
    list.RemoveDefault(Type());
    const QByteArray changed = list.Text().toUtf8();
    // A file that held nothing but our line goes; through a link, it is
    // emptied instead, so that the link's target changes.
    if (changed.trimmed().isEmpty() && !QFileInfo(MimeAppsPath()).isSymLink())
        return RemoveFile(MimeAppsPath());
    return WriteFile(MimeAppsPath(), changed);
}

bool FreedesktopRegistration::Register() const
{
    if (m_dataFolder.isEmpty() || m_configFolder.isEmpty() || m_executable.isEmpty())
        return false;
    // Editors started together take turns: the update tools of two of them
    // must not write the same cache at once.
    QLockFile lock(DataPath(kLockFile));
    if (!QDir().mkpath(m_dataFolder) || !lock.tryLock(kLockTimeoutMs))
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
    QLockFile lock(DataPath(kLockFile));
    if (QFileInfo(m_dataFolder).isDir() && !lock.tryLock(kLockTimeoutMs))
        return false;
    QStringList owned;
    for (const FreedesktopFiles::File& file : FreedesktopFiles::All(m_executable))
        owned << DataPath(file.path);
    owned << settingsFile;
    for (const QString& path : owned)
        RemoveFile(path);
    RemoveDefault();
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

    bool gone = DefaultRemoved();
    for (const QString& path : owned)
        gone = gone && !QFileInfo::exists(path) && !QFileInfo(path).isSymLink();
    return gone;
}
