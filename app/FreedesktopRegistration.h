#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The colormap type, its icons, the editor's desktop entries and its place
// as the type's default application, in a user's data and config folders.
class FreedesktopRegistration {
public:
    FreedesktopRegistration(const QString& dataFolder, const QString& configFolder,
                            const QString& executable);

    // Writes what changed, then refreshes the desktop's caches that are
    // older than what they are built from. False at the first step that
    // failed; the steps after it are skipped.
    bool Register() const;

    // Removes every file Register wrote, the type's default when it is
    // ours, and `settingsFile` with its folder once that is empty. True
    // when none of them is left.
    bool Unregister(const QString& settingsFile) const;

private:
    QString DataPath(const QString& relative) const;
    QString MimeAppsPath() const;
    bool WriteIfChanged(const QString& relative, const QByteArray& content) const;
    // True when `cache` is missing or older than one of `sources`.
    bool IsStale(const QString& cache, const QStringList& sources) const;
    // Runs an update tool on a data subfolder when the tool is installed;
    // false when it fails.
    bool RunTool(const QString& tool, const QString& folder) const;
    bool RegisterDefault() const;
    bool RemoveDefault() const;
    // The type's default is readable and not ours.
    bool DefaultRemoved() const;

    QString m_dataFolder;
    QString m_configFolder;
    QString m_executable;
};
