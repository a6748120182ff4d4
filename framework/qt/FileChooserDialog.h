#pragma once

#include <QFileDialog>

// Qt's file dialog with the framework's rule for the default extension. Qt
// appends it to every typed name without one, which would turn the name of
// a device or a named pipe into the name of a new file.
class FileChooserDialog : public QFileDialog {
    Q_OBJECT

public:
    FileChooserDialog(QWidget* parent, const QString& caption, const QString& defaultSuffix);

    void accept() override;

private:
    QString m_defaultSuffix;
};
