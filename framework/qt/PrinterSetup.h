#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QString>

#include <optional>

class QPrinter;

// What File, Print Setup chose (the printer or a PDF file, the paper and the
// orientation), which every later print job and preview starts from, and
// how many pages the print preview shows side by side, kept in the settings
// as "Settings/PreviewPages".
class PrinterSetup {
public:
    struct Choice {
        // Empty for the PDF file.
        QString printerName;
        QString pdfFileName;
        QPageSize pageSize;
        QPageLayout::Orientation orientation = QPageLayout::Portrait;

        friend bool operator==(const Choice&, const Choice&) = default;
    };

    // Nothing until Print Setup has been left with OK.
    static const std::optional<Choice>& Chosen();
    static void SetChosen(const std::optional<Choice>& choice);
    // Gives `printer` the printer, paper and orientation chosen with Print
    // Setup. False, leaving it alone, while nothing is chosen.
    static bool ApplyTo(QPrinter& printer);

    // 1 or 2; 1 until a preview has shown two.
    static int PreviewPages();
    static void SetPreviewPages(int pages);
};
