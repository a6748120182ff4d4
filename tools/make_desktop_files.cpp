// Writes the file type, the icons and the desktop entries for installing:
// make-desktop-files SHARE_FOLDER. The entries start `palvane` from the
// PATH, as a distribution installs it.

#include "app/FreedesktopFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make-desktop-files SHARE_FOLDER\n";
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (const FreedesktopFiles::File& file : FreedesktopFiles::All(QStringLiteral("palvane"))) {
        const QString path = folder + u'/' + file.path;
        QSaveFile output(path);
        if (!QDir().mkpath(QFileInfo(path).path()) || !output.open(QIODevice::WriteOnly) ||
            output.write(file.content) != file.content.size() || !output.commit()) {
            std::cerr << "make-desktop-files: cannot write " << path.toStdString() << "\n";
            return 1;
        }
    }
    return 0;
}
