#pragma once

#include <QStringList>
#include <QTemporaryDir>

// A temporary folder holding `count` colormaps: names of the sample
// colormap (hard links where the file system has them, copies elsewhere).
class ColormapFolder {
public:
    explicit ColormapFolder(int count);

    const QStringList& Paths() const { return m_paths; }
    QString FilePath(const QString& name) const { return m_folder.filePath(name); }

private:
    QTemporaryDir m_folder;
    QStringList m_paths;
};
