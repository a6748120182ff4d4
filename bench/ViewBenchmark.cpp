// One full repaint of the palette view: the background, 256 framed cells with
// a selected run, and the copy from the off-screen pixmap. And the tables
// panel catching up with a change of the palette: its tables computed on its
// own thread, then a repaint of its pictures at the size of a 4K screen.

#include "document/CPalvaneDoc.h"
#include "framework/ScriptedUserInterface.h"
#include "tools/SamplePalette.h"
#include "tools/StressPalettes.h"
#include "view/CPalvaneView.h"
#include "view/TablesPanel.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace {

struct ViewFixture {
    explicit ViewFixture(const benchmark::State& state)
        : width(static_cast<int>(state.range(0))), height(static_cast<int>(state.range(1)))
    {
        document.m_palette = MakeSamplePalette();
        document.m_nSelStart = 32;
        document.m_nSelEnd = 63;
        view.resize(width, height);
    }

    int width;
    int height;
    CPalvaneDoc document;
    CPalvaneView view{&document};
};

// The drawing pass alone, into an image of the view's size.
void PaintIntoImage(benchmark::State& state)
{
    ViewFixture fixture(state);
    QImage image(fixture.width, fixture.height, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        fixture.view.OnDraw(&painter, false, image.rect());
    }
    state.SetItemsProcessed(state.iterations() * fixture.width * fixture.height);
}

// A repaint of a window showing the view, as after an invalidation.
void RepaintWindow(benchmark::State& state)
{
    ViewFixture fixture(state);
    fixture.view.show();
    QCoreApplication::processEvents();
    for (auto _ : state)
        fixture.view.repaint();
    state.SetItemsProcessed(state.iterations() * fixture.width * fixture.height);
}

// Arguments: the stress palette (0 random, 1 sample), and what changes: one
// entry (a colour edit) or every entry (an import, between the palette and
// the same palette reversed).
void TablesPanelFollowsAPaletteChange(benchmark::State& state)
{
    const StressPalette stress = MakeStressPalettes()[static_cast<std::size_t>(state.range(0))];
    const bool everyEntry = state.range(1) != 0;
    state.SetLabel(stress.name + (everyEntry ? ", every entry" : ", one entry"));
    CPalvaneDoc::Palette palettes[2] = {stress.palette, stress.palette};
    if (everyEntry)
        std::reverse(palettes[1].begin(), palettes[1].end());
    else
        palettes[1][100] = ColorTriple(12, 200, 99);

    CPalvaneDoc document;
    document.m_palette = palettes[0];
    // A save answered Yes: the panel shows the translucency table too.
    ScriptedUserInterface ui;
    ui.SetStandingAnswer(CPalvaneDoc::kTransparencyQuestion, IDYES);
    const ScopedUserInterface installed(ui);
    const QString saved = QDir::temp().filePath(QStringLiteral("palvane-panel-bench.cmp"));
    if (!document.OnSaveDocument(saved.toStdString())) {
        state.SkipWithError("the save failed");
        return;
    }
    QFile::remove(saved);

    CPalvaneView view(&document);
    TablesPanel panel;
    panel.resize(3840, 2160);
    panel.show();
    panel.Follow(&view);
    const auto settle = [&panel] {
        while (!panel.IsUpToDate())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        panel.repaint();
    };
    settle();

    std::vector<double> milliseconds;
    int next = 1;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        document.m_palette = palettes[next];
        document.NotifyPaletteChanged();
        settle();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        milliseconds.push_back(elapsed.count() * 1000);
        next = 1 - next;
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    state.counters["median_ms"] = milliseconds[milliseconds.size() / 2];
}

BENCHMARK(PaintIntoImage)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
BENCHMARK(RepaintWindow)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
BENCHMARK(TablesPanelFollowsAPaletteChange)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
