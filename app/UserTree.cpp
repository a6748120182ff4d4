#include "app/UserTree.h"

#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace {

bool IsWithin(const QString& path, const QString& folder)
{
    return path == folder || path.startsWith(folder.endsWith(u'/') ? folder : folder + u'/');
}

bool IsThere(const QFileInfo& info)
{
    return info.exists() || info.isSymLink();
}

// The path with its links resolved, as far as it exists.
QString Canonical(const QString& path)
{
    QString existing = QDir::cleanPath(path);
    QString rest;
    while (!QFileInfo::exists(existing) && existing != QDir::rootPath()) {
        rest = u'/' + QFileInfo(existing).fileName() + rest;
        existing = QFileInfo(existing).path();
    }
    return QDir::cleanPath(QFileInfo(existing).canonicalFilePath() + rest);
}

QString BelongsToAnother(const QString& path)
{
    return QStringLiteral("%1 belongs to another user").arg(path);
}

} // namespace

UserTree::UserTree(const QString& home, const QStringList& folders) : m_home(QDir::cleanPath(home))
{
    for (const QString& folder : folders)
        m_folders << QDir::cleanPath(folder);
    for (const QString& folder : QStringList{m_home} + m_folders)
        m_canonicalFolders << Canonical(folder);
}

QString UserTree::WalkStart(const QString& path) const
{
    if (!m_home.isEmpty() && IsWithin(path, m_home))
        return m_home;
    for (const QString& folder : m_folders)
        if (IsWithin(path, folder))
            return folder;
    return QString();
}

bool UserTree::LeadsOut(const QString& canonicalPath) const
{
    for (const QString& folder : m_canonicalFolders)
        if (IsWithin(canonicalPath, folder))
            return false;
    return true;
}

QString UserTree::Refusal(const QString& path) const
{
    const uint user = ::geteuid();
    const QString clean = QDir::cleanPath(path);
    const QString start = WalkStart(clean);
    if (start.isEmpty())
        return QStringLiteral("%1 lies outside the user's folders").arg(clean);
    // A folder still to be made is made in the nearest one there is.
    QString existing = start;
    while (!IsThere(QFileInfo(existing)) && existing != QDir::rootPath())
        existing = QFileInfo(existing).path();
    if (existing != start && QFileInfo(existing).ownerId() != user)
        return BelongsToAnother(existing);

    QString prefix = start;
    const QStringList below = clean.mid(start.size()).split(u'/', Qt::SkipEmptyParts);
    for (qsizetype i = -1; i < below.size(); ++i) {
        if (i >= 0)
            prefix += u'/' + below[i];
        const QFileInfo info(prefix);
        if (!IsThere(info))
            break;
        const QString target = info.isSymLink() ? info.canonicalFilePath() : QString();
        if (info.isSymLink() && target.isEmpty())
            return QStringLiteral("%1 is a link to nothing").arg(prefix);
        if (info.isSymLink() && LeadsOut(target))
            return QStringLiteral("%1 leads out of the user's folders").arg(prefix);
        // A file is replaced as a whole, so its owner does not matter; a
        // folder is written into.
        if (info.isDir() && info.ownerId() != user)
            return BelongsToAnother(prefix);
    }
    return QString();
}
