// The tables of a save with transparency: 14336 light-level and 65536
// transparency lookups, by the exhaustive loops and by the fast path a save
// runs now, side by side on each stress palette; and the build of the fast
// search's structure on its own.

#include "bench/ExhaustiveColormap.h"
#include "document/CPalvaneDoc.h"
#include "document/ColormapTableMaker.h"
#include "document/ColormapTables.h"
#include "document/NearestColorSearch.h"
#include "tools/StressPalettes.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

const std::vector<StressPalette>& Palettes()
{
    static const std::vector<StressPalette> palettes = MakeStressPalettes();
    return palettes;
}

const StressPalette& PaletteOf(const benchmark::State& state)
{
    return Palettes()[static_cast<std::size_t>(state.range(0))];
}

std::vector<std::uint8_t> FastTables(const CPalvaneDoc::Palette& palette)
{
    colormap_tables::Tables tables = colormap_tables::Compute(palette, true);
    tables.lightLevels.insert(tables.lightLevels.end(), tables.transparency.begin(),
                              tables.transparency.end());
    return tables.lightLevels;
}

void BM_TablesExhaustive(benchmark::State& state)
{
    CPalvaneDoc document;
    document.m_palette = PaletteOf(state).palette;
    state.SetLabel(PaletteOf(state).name);
    for (auto _ : state)
        benchmark::DoNotOptimize(ExhaustiveTables(document, true));
}

void BM_TablesFast(benchmark::State& state)
{
    const StressPalette& stress = PaletteOf(state);
    state.SetLabel(stress.name);
    CPalvaneDoc document;
    document.m_palette = stress.palette;
    if (FastTables(stress.palette) != ExhaustiveTables(document, true)) {
        state.SkipWithError("the fast tables differ from the exhaustive ones");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(FastTables(stress.palette));
}

// The tables after one colour edit, made from those of the palette before
// by the maker a document keeps: the edit swaps one entry between two
// colours, so each iteration changes one entry.
void BM_TablesAfterOneEdit(benchmark::State& state)
{
    const StressPalette& stress = PaletteOf(state);
    state.SetLabel(stress.name);
    CPalvaneDoc::Palette palettes[2] = {stress.palette, stress.palette};
    palettes[1][100] = ColorTriple(12, 200, 99);
    ColormapTableMaker maker;
    for (const CPalvaneDoc::Palette& palette : palettes) {
        CPalvaneDoc document;
        document.m_palette = palette;
        const ColormapTableMaker::TablesPtr tables = maker.Make(palette, true);
        std::vector<std::uint8_t> both = tables->lightLevels;
        both.insert(both.end(), tables->transparency.begin(), tables->transparency.end());
        if (both != ExhaustiveTables(document, true)) {
            state.SkipWithError("the updated tables differ from the exhaustive ones");
            return;
        }
    }
    int next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(maker.Make(palettes[next], true));
        next = 1 - next;
    }
}

// The fast search's own structure, built once per save from the palette; the
// octree's boxes are narrowed while a batch descends, so they are part of the
// table timings above.
void BM_SearchBuild(benchmark::State& state)
{
    const StressPalette& stress = PaletteOf(state);
    state.SetLabel(stress.name);
    for (auto _ : state) {
        NearestColorSearch search(stress.palette);
        benchmark::DoNotOptimize(&search);
    }
}

// Every one of the 16,777,216 colours through both searches. A check rather
// than a timing: it fails the run on the first disagreement. Run it with
// --benchmark_filter=EveryColour.
void BM_EveryColourAgreesWithTheExhaustiveSearch(benchmark::State& state)
{
    const StressPalette& stress = PaletteOf(state);
    state.SetLabel(stress.name);
    CPalvaneDoc document;
    document.m_palette = stress.palette;
    for (auto _ : state) {
        NearestColorSearch search(stress.palette);
        std::vector<ColorTriple> targets(1 << 16);
        std::vector<std::uint8_t> indices;
        for (int red = 0; red < 256; ++red) {
            for (int k = 0; k < (1 << 16); ++k)
                targets[k] =
                    ColorTriple(static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(k >> 8),
                                static_cast<std::uint8_t>(k));
            search.FindAll(targets, indices);
            for (int k = 0; k < (1 << 16); ++k) {
                if (indices[k] != document.FindNearestColor(targets[k])) {
                    state.SkipWithError("the searches disagree");
                    return;
                }
            }
        }
    }
}

void EachPalette(benchmark::internal::Benchmark* benchmark)
{
    for (std::size_t i = 0; i < Palettes().size(); ++i)
        benchmark->Arg(static_cast<int>(i));
}

} // namespace

BENCHMARK(BM_TablesExhaustive)->Apply(EachPalette)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TablesFast)->Apply(EachPalette)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TablesAfterOneEdit)->Apply(EachPalette)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchBuild)->Apply(EachPalette)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EveryColourAgreesWithTheExhaustiveSearch)
    ->Apply(EachPalette)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
