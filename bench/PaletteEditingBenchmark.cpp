// Gradient and Colorize over the whole palette, run as commands. Both are
// meant to stay far below a millisecond.

#include "document/CPalvaneDoc.h"
#include "res/CommandIds.h"
#include "tools/SamplePalette.h"

#include <benchmark/benchmark.h>

namespace {

// Confirms every colour chooser with one colour, without recording anything.
class ChooseColour final : public UserInterface {
public:
    int ShowMessageBox(const std::string&, unsigned type) override
    {
        return DefaultMessageBoxAnswer(type);
    }
    int PickColor(ColorRef& color, unsigned) override
    {
        color = 0x3366CC;
        return IDOK;
    }
    int PickFile(const FileDialogRequest&, std::string&) override { return IDCANCEL; }
    int PickTexture(const std::vector<std::string>&, int&) override { return IDCANCEL; }
};

void RunOverWholePalette(benchmark::State& state, unsigned command)
{
    ChooseColour ui;
    const ScopedUserInterface installed(ui);
    CPalvaneDoc document;
    // Each run does the same work whatever the colours, so the palette is not
    // restored between runs.
    document.m_palette = MakeSamplePalette();
    document.m_nSelStart = 0;
    document.m_nSelEnd = 255;
    for (auto _ : state) {
        document.OnCommand(command);
        benchmark::DoNotOptimize(document.m_palette.data());
    }
}

void BM_GradientOverWholePalette(benchmark::State& state)
{
    RunOverWholePalette(state, ID_PALETTE_GRADIENT);
}

void BM_ColorizeOverWholePalette(benchmark::State& state)
{
    RunOverWholePalette(state, ID_PALETTE_COLORIZE);
}

} // namespace

BENCHMARK(BM_GradientOverWholePalette)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ColorizeOverWholePalette)->Unit(benchmark::kMicrosecond);
