#pragma once

#include "framework/qt/PrinterSetup.h"

#include <QDialog>
#include <QList>
#include <QPageSize>

#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The Print Setup dialog: the printer, or a PDF file, with its paper size
// and the orientation, laid out from its template in dialog units. The
// printers offered come from the caller; a PDF file is always offered, so
// that a system without printers can still print, and the dialog says when
// there is no printer.
class PrintSetupDialog : public QDialog {
    Q_OBJECT

public:
    struct Printer {
        QString name;
        QList<QPageSize> pageSizes;
        QPageSize defaultPageSize;
        QString status;
    };

    // The printers of the system, as its print service lists them.
    static std::vector<Printer> InstalledPrinters();

    // Opens on `current`, or with nothing chosen yet on the system's default
    // printer, else the first one, else the PDF file.
    PrintSetupDialog(std::vector<Printer> printers,
                     const std::optional<PrinterSetup::Choice>& current, QWidget* parent = nullptr);

    // What the dialog shows now.
    PrinterSetup::Choice Choice() const;

private:
    void OnPrinterChanged();
    void UpdateOkButton();
    bool PdfFileChosen() const;

    std::vector<Printer> m_printers;
    QList<QPageSize> m_pageSizes;
    QComboBox* m_printerList;
    QLabel* m_status;
    QLineEdit* m_fileName;
    QComboBox* m_paperSizeList;
    QRadioButton* m_portrait;
    QRadioButton* m_landscape;
    QPushButton* m_okButton;
};
