#pragma once

#include <QString>
#include <QStringList>

// The folders of the effective user that the desktop registration may
// change: the home, and the data and config folders, wherever they are. A
// path there is the user's when every folder on its way down from the home
// (or from the data or config folder, for a path outside the home) belongs
// to the effective user, and no link on that way leads out of the three
// folders. So the superuser started with another user's home changes
// nothing in it, and a link to someone else's folder is never followed.
class UserTree {
public:
    UserTree(const QString& home, const QStringList& folders);

    // Empty when `path` is the user's to write or remove; otherwise why
    // not, naming what stands in the way.
    QString Refusal(const QString& path) const;

private:
    // The folder the walk down to `path` starts from; empty for a path
    // outside all of them.
    QString WalkStart(const QString& path) const;
    bool LeadsOut(const QString& canonicalPath) const;

    QString m_home;
    QStringList m_folders;
    QStringList m_canonicalFolders; // the home's and the others', links resolved
};
