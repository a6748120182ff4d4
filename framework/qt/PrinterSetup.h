#pragma once

class QPrinter;

// What File, Print Setup chose (the printer and its page), which every print
// job and preview starts from, and how many pages the print preview shows
// side by side, kept in the settings as "Settings/PreviewPages".
class PrinterSetup {
public:
    // The printer that Print Setup edits, made at first use.
    static QPrinter& Printer();
    // Gives `printer` the printer and page chosen with Print Setup, if any.
    static void ApplyTo(QPrinter& printer);

    // 1 or 2; 1 until a preview has shown two.
    static int PreviewPages();
    static void SetPreviewPages(int pages);
};
