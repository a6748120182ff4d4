#include "framework/qt/PrinterSetup.h"

#include <QPrinter>
#include <QSettings>

#include <memory>

namespace {

const QString kPreviewPagesKey = QStringLiteral("Settings/PreviewPages");

std::unique_ptr<QPrinter>& SetUpPrinter()
{
    static std::unique_ptr<QPrinter> printer;
    return printer;
}

} // namespace

QPrinter& PrinterSetup::Printer()
{
    std::unique_ptr<QPrinter>& printer = SetUpPrinter();
    if (printer == nullptr)
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer;
}

void PrinterSetup::ApplyTo(QPrinter& printer)
{
    const std::unique_ptr<QPrinter>& setUp = SetUpPrinter();
    if (setUp == nullptr)
        return;
    if (!setUp->printerName().isEmpty())
        printer.setPrinterName(setUp->printerName());
    printer.setPageLayout(setUp->pageLayout());
}

int PrinterSetup::PreviewPages()
{
    return QSettings().value(kPreviewPagesKey, 1).toInt() == 2 ? 2 : 1;
}

void PrinterSetup::SetPreviewPages(int pages)
{
    QSettings().setValue(kPreviewPagesKey, pages == 2 ? 2 : 1);
}
