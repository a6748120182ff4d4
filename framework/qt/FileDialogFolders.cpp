#include "framework/qt/FileDialogFolders.h"

#include "framework/UserInterface.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const QString kGroup = QStringLiteral("File Dialogs");

QString Key(const FileDialogRequest& request)
{
    const QString extension = request.defaultExtension.empty()
                                  ? QStringLiteral("any")
                                  : QString::fromStdString(request.defaultExtension);
    return kGroup + u'/' +
           (request.openFileDialog ? QStringLiteral("Open ") : QStringLiteral("Save ")) + extension;
}

} // namespace

QString FileDialogFolders::Remembered(const FileDialogRequest& request)
{
    const QString folder = QSettings().value(Key(request)).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void FileDialogFolders::Remember(const FileDialogRequest& request, const QString& path)
{
    QSettings().setValue(Key(request), QFileInfo(path).absolutePath());
}
