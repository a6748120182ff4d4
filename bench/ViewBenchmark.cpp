// One full repaint of the palette view: the background, 256 framed cells with
// a selected run, and the copy from the off-screen pixmap.

#include "document/CPalvaneDoc.h"
#include "tools/SamplePalette.h"
#include "view/CPalvaneView.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdlib>

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

BENCHMARK(PaintIntoImage)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
BENCHMARK(RepaintWindow)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);

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
