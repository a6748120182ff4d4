// Starts of the editor naming many colormaps, in this process: opening them
// all (each in a window of its own, up to the first repaint) and printing
// them one after another. Twice the files should take about twice the time.

#include "app/CMainFrame.h"
#include "app/CPalvaneApp.h"
#include "bench/ColormapFolder.h"

#include <QCoreApplication>
#include <QPrinter>

#include <benchmark/benchmark.h>

#include <memory>
#include <utility>

namespace {

// Prints onto a PDF file, so that no print service is needed.
class PdfPrintingApp : public CPalvaneApp {
public:
    explicit PdfPrintingApp(QString pdf) : m_pdf(std::move(pdf)) {}

protected:
    bool PrepareShellPrinter(QPrinter& printer, const std::string&) override
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_pdf);
        return true;
    }

private:
    QString m_pdf;
};

void OpenFiles(benchmark::State& state)
{
    const ColormapFolder folder(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto app = std::make_unique<CPalvaneApp>();
        if (!app->InitInstance(folder.Paths()))
            state.SkipWithError("the files did not open");
        app->GetMainFrame()->repaint();
        QCoreApplication::processEvents();
        state.PauseTiming(); // closing them is not part of it
        app.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void PrintFiles(benchmark::State& state)
{
    const ColormapFolder folder(static_cast<int>(state.range(0)));
    const QStringList arguments = QStringList{QStringLiteral("-p")} + folder.Paths();
    for (auto _ : state) {
        PdfPrintingApp app(folder.FilePath(QStringLiteral("page.pdf")));
        if (app.InitInstance(arguments) || app.ExitCode() != 0)
            state.SkipWithError("the files were not printed");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(OpenFiles)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(PrintFiles)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
