#include "app/CMainFrame.h"
#include "app/CPalvaneApp.h"
#include "framework/ScriptedUserInterface.h"
#include "tests/support/TempFolder.h"

#include <QApplication>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

// The editor printing from its command line, onto a PDF file in place of a
// printer when `m_bHasPrinter`, otherwise on what the system offers.
class PrintingApp : public CPalvaneApp {
public:
    bool m_bHasPrinter = true;
    std::string m_pdf;
    std::vector<std::string> m_printersAsked;

protected:
    bool PrepareShellPrinter(QPrinter& printer, const std::string& printerName) override
    {
        m_printersAsked.push_back(printerName);
        if (!m_bHasPrinter)
            return CPalvaneApp::PrepareShellPrinter(printer, printerName);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(m_pdf));
        return true;
    }
};

// Counts the top-level windows that are shown.
class ShownWindows : public QObject {
public:
    int m_nShown = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow())
            ++m_nShown;
        return false;
    }
};

TEST(ShellPrintTest, PrintsOneLabelledPageOrSaysWhyNotWithoutShowingAWindow)
{
    // No print server answers.
    qputenv("CUPS_SERVER", "/nonexistent/cups.sock");
    const TempFolder folder;
    const std::string colormap = folder / "a.cmp";
    std::filesystem::copy_file(PALVANE_SAMPLE_COLORMAP, colormap);
    const QString file = QString::fromStdString(colormap);
    const struct {
        QStringList arguments;
        bool hasPrinter;
        std::string printer;
    } cases[] = {
        {{"-p", file}, true, ""},
        {{"/pt", file, "Office", "driver", "port"}, true, "Office"},
        {{"-p", file}, false, ""},
        {{"-pt", file, "Office", "driver", "port"}, false, "Office"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        ScriptedUserInterface ui;
        const ScopedUserInterface installed(ui);
        ShownWindows shown;
        qApp->installEventFilter(&shown);
        PrintingApp app;
        app.m_bHasPrinter = row.hasPrinter;
        app.m_pdf = folder / "page.pdf";
        std::filesystem::remove(app.m_pdf);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(app.InitInstance(row.arguments));
        const std::string errors = testing::internal::GetCapturedStderr();
        qApp->removeEventFilter(&shown);

        EXPECT_EQ(shown.m_nShown, 0);
        EXPECT_FALSE(app.GetMainFrame()->isVisible());
        EXPECT_EQ(app.m_printersAsked, std::vector<std::string>{row.printer});
        EXPECT_EQ(app.ExitCode(), row.hasPrinter ? 0 : 1);
        EXPECT_EQ(errors.find("Could not start print job.\n") != std::string::npos,
                  !row.hasPrinter);
        if (!row.hasPrinter)
            continue;
        QProcess pdftotext;
        pdftotext.start(PALVANE_PDFTOTEXT, {QString::fromStdString(app.m_pdf), "-"});
        ASSERT_TRUE(pdftotext.waitForFinished(30000));
        const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
        EXPECT_EQ(text.count('\f'), 1); // one page
        const QStringList words = text.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
        const std::set<QString> labels(words.begin(), words.end());
        for (int i = 0; i < 256; ++i)
            EXPECT_EQ(labels.count(QStringLiteral("0x") + QString::number(i, 16).toUpper()), 1u)
                << i;
    }
}

} // namespace
