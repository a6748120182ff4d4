#include "app/SettingsPlace.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSettings>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

Q_LOGGING_CATEGORY(lcSettings, "palvane.settings", QtWarningMsg)

#ifndef _WIN32
// Whether writing `path` would make or change something of another user's:
// the file when it is there, else the nearest folder above it that is
// (links followed, so a link to another user's folder counts as theirs).
bool BelongsToAnotherUser(const QString& path)
{
    QString existing = QDir::cleanPath(path);
    while (!QFileInfo::exists(existing) && existing != QDir::rootPath())
        existing = QFileInfo(existing).path();
    return QFileInfo(existing).ownerId() != ::geteuid();
}
#endif

} // namespace

bool SettingsPlace::KeepOutOfOtherUsersFolders()
{
#ifdef _WIN32
    return true; // the registry keeps them, under the user's own key
#else
    const QString file = QSettings().fileName();
    if (!BelongsToAnotherUser(file))
        return true;
    m_ownFolder = std::make_unique<QTemporaryDir>();
    if (m_ownFolder->isValid()) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_ownFolder->path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_ownFolder->path());
    }
    qCWarning(lcSettings).noquote()
        << QStringLiteral("leaving %1 alone: it belongs to another user; settings last this run")
               .arg(file);
    return false;
#endif
}
