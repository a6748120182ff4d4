#include "framework/qt/FileChooserDialog.h"

#include "framework/CFileDialog.h"

FileChooserDialog::FileChooserDialog(QWidget* parent, const QString& caption,
                                     const QString& defaultSuffix)
    : QFileDialog(parent, caption), m_defaultSuffix(defaultSuffix)
{
    setDefaultSuffix(defaultSuffix);
}

void FileChooserDialog::accept()
{
    // The names as typed decide whether the extension goes on them.
    setDefaultSuffix(QString());
    const QStringList typed = selectedFiles();
    const bool takesSuffix =
        typed.size() != 1 || CFileDialog::TakesDefaultExtension(typed.constFirst().toStdString());
    setDefaultSuffix(takesSuffix ? m_defaultSuffix : QString());
    QFileDialog::accept();
}
