#include "framework/qt/PrintSetupDialog.h"

#include "framework/qt/DialogUnits.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>

#include <algorithm>

namespace {

constexpr const char* kNoPrinter = "No printer is installed: prints go to a PDF file.";
constexpr const char* kPdfFileStatus = "Prints go to a PDF file.";
const QString kPdfFileEntry = QStringLiteral("PDF file");

// The paper a PDF file offers, and a printer that names none.
QList<QPageSize> CommonPageSizes()
{
    QList<QPageSize> sizes;
    for (QPageSize::PageSizeId id :
         {QPageSize::A4, QPageSize::A3, QPageSize::A5, QPageSize::B5, QPageSize::Letter,
          QPageSize::Legal, QPageSize::Executive, QPageSize::Tabloid})
        sizes.push_back(QPageSize(id));
    return sizes;
}

QString StatusText(QPrinter::PrinterState state)
{
    switch (state) {
    case QPrinter::Active:
        return QStringLiteral("Printing");
    case QPrinter::Aborted:
        return QStringLiteral("Stopped");
    case QPrinter::Error:
        return QStringLiteral("Error");
    default:
        return QStringLiteral("Ready");
    }
}

qsizetype IndexOf(const QList<QPageSize>& sizes, const QPageSize& size)
{
    for (qsizetype i = 0; i < sizes.size(); ++i)
        if (sizes[i].isEquivalentTo(size))
            return i;
    return -1;
}

} // namespace

std::vector<PrintSetupDialog::Printer> PrintSetupDialog::InstalledPrinters()
{
    std::vector<Printer> printers;
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters())
        printers.push_back({info.printerName(), info.supportedPageSizes(), info.defaultPageSize(),
                            StatusText(info.state())});
    return printers;
}

PrintSetupDialog::PrintSetupDialog(std::vector<Printer> printers,
                                   const std::optional<PrinterSetup::Choice>& current,
                                   QWidget* parent)
    : QDialog(parent, DialogUnits::TemplateWindowFlags()), m_printers(std::move(printers))
{
    setObjectName(QStringLiteral("PrintSetupDialog"));
    setWindowTitle(QStringLiteral("Print Setup"));
    setFont(DialogUnits::TemplateFont());

    // The template, in dialog units. The group boxes come first, beneath
    // the controls they frame; the controls that take the focus are created
    // in their tab order.
    const DialogUnits units(font());
    setFixedSize(units.ToPixels(262, 124));
    const auto place = [&units](QWidget* control, int x, int y, int width, int height,
                                const char* name = nullptr) {
        control->setGeometry(units.ToPixels(x, y, width, height));
        if (name != nullptr)
            control->setObjectName(QString::fromUtf8(name));
    };
    const auto label = [this, &place](const char* text, QWidget* buddy, int x, int y, int width) {
        auto* shown = new QLabel(QString::fromUtf8(text), this);
        shown->setBuddy(buddy);
        place(shown, x, y, width, 8);
    };

    place(new QGroupBox(QStringLiteral("Printer"), this), 7, 7, 190, 68);
    m_printerList = new QComboBox(this);
    label("&Name:", m_printerList, 14, 21, 32);
    place(m_printerList, 48, 19, 142, 12, "printerName");
    label("Status:", nullptr, 14, 35, 32);
    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(m_status, 48, 35, 142, 16, "status");
    m_fileName = new QLineEdit(this);
    label("&File:", m_fileName, 14, 57, 32);
    place(m_fileName, 48, 55, 142, 12, "fileName");

    place(new QGroupBox(QStringLiteral("Paper"), this), 7, 79, 120, 38);
    m_paperSizeList = new QComboBox(this);
    label("Si&ze:", m_paperSizeList, 14, 95, 24);
    place(m_paperSizeList, 40, 93, 80, 12, "paperSize");

    place(new QGroupBox(QStringLiteral("Orientation"), this), 134, 79, 63, 38);
    m_portrait = new QRadioButton(QStringLiteral("P&ortrait"), this);
    place(m_portrait, 141, 90, 50, 10, "portrait");
    m_landscape = new QRadioButton(QStringLiteral("L&andscape"), this);
    place(m_landscape, 141, 103, 50, 10, "landscape");

    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    place(m_okButton, 205, 7, 50, 14, "ok");
    m_okButton->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    place(cancel, 205, 24, 50, 14, "cancel");
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    for (const Printer& printer : m_printers)
        m_printerList->addItem(printer.name, printer.name);
    m_printerList->addItem(kPdfFileEntry, QString());

    int selected = current.has_value() ? m_printerList->findData(current->printerName) : -1;
    const QString defaultPrinter = QPrinterInfo::defaultPrinterName();
    if (selected < 0 && !defaultPrinter.isEmpty())
        selected = m_printerList->findData(defaultPrinter);
    m_printerList->setCurrentIndex(std::max(selected, 0));
    m_fileName->setText(
        current.has_value() && current->printerName.isEmpty()
            ? current->pdfFileName
            : QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                  .filePath(QStringLiteral("palvane.pdf")));
    OnPrinterChanged();
    if (current.has_value() && IndexOf(m_pageSizes, current->pageSize) >= 0)
        m_paperSizeList->setCurrentIndex(static_cast<int>(IndexOf(m_pageSizes, current->pageSize)));
    const bool landscape = current.has_value() && current->orientation == QPageLayout::Landscape;
    (landscape ? m_landscape : m_portrait)->setChecked(true);

    connect(m_printerList, &QComboBox::currentIndexChanged, this,
            &PrintSetupDialog::OnPrinterChanged);
    connect(m_fileName, &QLineEdit::textChanged, this, &PrintSetupDialog::UpdateOkButton);
    m_printerList->setFocus();
}

PrinterSetup::Choice PrintSetupDialog::Choice() const
{
    PrinterSetup::Choice choice;
    choice.printerName = m_printerList->currentData().toString();
    if (PdfFileChosen())
        choice.pdfFileName = m_fileName->text();
    const int paper = m_paperSizeList->currentIndex();
    if (paper >= 0)
        choice.pageSize = m_pageSizes[paper];
    choice.orientation = m_landscape->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait;
    return choice;
}

bool PrintSetupDialog::PdfFileChosen() const
{
    return m_printerList->currentIndex() == static_cast<int>(m_printers.size());
}

void PrintSetupDialog::OnPrinterChanged()
{
    const bool pdf = PdfFileChosen();
    const Printer* printer = pdf ? nullptr : &m_printers[m_printerList->currentIndex()];
    if (m_printers.empty())
        m_status->setText(QString::fromUtf8(kNoPrinter));
    else
        m_status->setText(pdf ? QString::fromUtf8(kPdfFileStatus) : printer->status);
    m_fileName->setEnabled(pdf);

    // The paper shown so far stays where the new printer has it.
    const QPageSize shown = m_paperSizeList->currentIndex() >= 0
                                ? m_pageSizes[m_paperSizeList->currentIndex()]
                            : printer != nullptr ? printer->defaultPageSize
                                                 : QPageSize(QPageSize::A4);
    m_pageSizes = printer != nullptr && !printer->pageSizes.isEmpty() ? printer->pageSizes
                                                                      : CommonPageSizes();
    m_paperSizeList->clear();
    for (const QPageSize& size : m_pageSizes)
        m_paperSizeList->addItem(size.name());
    qsizetype index = IndexOf(m_pageSizes, shown);
    if (index < 0 && printer != nullptr)
        index = IndexOf(m_pageSizes, printer->defaultPageSize);
    m_paperSizeList->setCurrentIndex(static_cast<int>(std::max<qsizetype>(index, 0)));
    UpdateOkButton();
}

void PrintSetupDialog::UpdateOkButton()
{
    // A PDF file needs a name.
    m_okButton->setEnabled(!PdfFileChosen() || !m_fileName->text().trimmed().isEmpty());
}
