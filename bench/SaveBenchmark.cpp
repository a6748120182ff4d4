// Saving a colormap computes every table from the palette: 14336 nearest-colour
// searches for the light levels, 65536 more for the transparency table.

#include "document/CPalvaneDoc.h"
#include "framework/ScriptedUserInterface.h"
#include "tools/SamplePalette.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace {

void SaveColormap(benchmark::State& state, bool transparency)
{
    ScriptedUserInterface ui;
    ui.SetStandingAnswer(CPalvaneDoc::kTransparencyQuestion, transparency ? IDYES : IDNO);
    const ScopedUserInterface installed(ui);
    CPalvaneDoc document;
    document.m_palette = MakeSamplePalette();
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("palvane-bench-" + std::to_string(std::random_device{}()) + ".cmp"))
                                 .string();
    for (auto _ : state) {
        if (!document.OnSaveDocument(path)) {
            state.SkipWithError("the save failed");
            break;
        }
    }
    std::filesystem::remove(path);
}

void BM_SaveWithoutTransparency(benchmark::State& state)
{
    SaveColormap(state, false);
}

void BM_SaveWithTransparency(benchmark::State& state)
{
    SaveColormap(state, true);
}

void BM_FindNearestColor(benchmark::State& state)
{
    CPalvaneDoc document;
    document.m_palette = MakeSamplePalette();
    unsigned colour = 0;
    for (auto _ : state) {
        colour = colour * 1664525u + 1013904223u;
        benchmark::DoNotOptimize(document.FindNearestColor(ColorTriple::FromColorRef(colour >> 8)));
    }
}

} // namespace

BENCHMARK(BM_SaveWithoutTransparency)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveWithTransparency)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindNearestColor);

BENCHMARK_MAIN();
