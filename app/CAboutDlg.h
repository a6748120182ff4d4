#pragma once

#include <QDialog>

// Help, About: the program's name and version, a notice, the icon and a
// picture. OK or Escape closes it.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
