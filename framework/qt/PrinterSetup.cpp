#include "framework/qt/PrinterSetup.h"

#include <QPrinter>
#include <QSettings>

namespace {

const QString kPreviewPagesKey = QStringLiteral("Settings/PreviewPages");

std::optional<PrinterSetup::Choice>& StoredChoice()
{
    static std::optional<PrinterSetup::Choice> choice;
    return choice;
}

} // namespace

const std::optional<PrinterSetup::Choice>& PrinterSetup::Chosen()
{
    return StoredChoice();
}

void PrinterSetup::SetChosen(const std::optional<Choice>& choice)
{
    StoredChoice() = choice;
}

bool PrinterSetup::ApplyTo(QPrinter& printer)
{
    const std::optional<Choice>& choice = Chosen();
    if (!choice.has_value())
        return false;
    if (choice->printerName.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(choice->pdfFileName);
    } else {
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(choice->printerName);
    }
    printer.setPageSize(choice->pageSize);
    printer.setPageOrientation(choice->orientation);
    return true;
}

int PrinterSetup::PreviewPages()
{
    return QSettings().value(kPreviewPagesKey, 1).toInt() == 2 ? 2 : 1;
}

void PrinterSetup::SetPreviewPages(int pages)
{
    QSettings().setValue(kPreviewPagesKey, pages == 2 ? 2 : 1);
}
