#pragma once

#include "app/UserTree.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace RegularFile {
struct Content;
}

// The colormap type, its icons, the editor's desktop entries and its place
// as the type's default application, in a user's data and config folders.
// Only what is the effective user's own (see UserTree) is ever written or
// removed; whatever is left alone, and why, goes to the log
// (`palvane.registration`).
class FreedesktopRegistration {
public:
    FreedesktopRegistration(const QString& home, const QString& dataFolder,
                            const QString& configFolder, const QString& executable);

    // Writes what changed, then refreshes the desktop's caches that are
    // older than what they are built from. False at the first step that
    // failed or was refused; the steps after it are skipped.
    bool Register() const;

    // Removes every file Register wrote that is still as it wrote it, the
    // type's default when it is ours, and `settingsFile` with its folder
    // once that is empty. True when none of them is left.
    bool Unregister(const QString& settingsFile) const;

private:
    QString DataPath(const QString& relative) const;
    QString MimeAppsPath() const;
    // True when `path` is the user's to change; otherwise logs why not.
    bool IsUsers(const QString& path) const;
    // Nothing but a regular file, or nothing at all, stands at the lock's
    // path: anything else could keep the lock from ever being taken.
    bool CanLock(const QString& path) const;
    bool WriteIfChanged(const QString& relative, const QByteArray& content) const;
    // True when `cache` is missing or older than one of `sources`.
    bool IsStale(const QString& cache, const QStringList& sources) const;
    // Runs an update tool on a data subfolder when the tool is installed;
    // false when it fails, takes too long or may not write there.
    bool RunTool(const QString& tool, const QString& folder) const;
    // Removes the regular file of the user's at `path`, when it holds
    // `content` (any content when none is given).
    void RemoveIfOurs(const QString& path, const std::optional<QByteArray>& content) const;
    // Reads `mimeapps.list`; false, logged, when it may not be edited.
    bool ReadMimeApps(RegularFile::Content& content) const;
    // Removes the files an earlier version wrote under former names.
    void RemoveFormerFiles() const;
    bool RegisterDefault() const;
    // True when the type's default is not ours afterwards.
    bool RemoveDefault() const;

    QString m_dataFolder;
    QString m_configFolder;
    QString m_executable;
    UserTree m_tree;
};
