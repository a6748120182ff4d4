// Saving a colormap computes every table from the palette: 14336 nearest-colour
// searches for the light levels, 65536 more for the transparency table. The
// whole save, through the real file and archive, with the tables computed the
// exhaustive way and the fast way side by side; once into the temporary folder
// (where the save's sync to disk counts) and once into memory (/dev/shm, where
// only the computing and the writing count).

#include "bench/ExhaustiveColormap.h"
#include "document/CPalvaneDoc.h"
#include "framework/ScriptedUserInterface.h"
#include "tools/SamplePalette.h"
#include "tools/StressPalettes.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

enum Search { kExhaustive, kFast };
enum Folder { kTemporaryFolder, kMemory };

std::string TargetIn(Folder folder)
{
    const std::filesystem::path base = folder == kMemory ? std::filesystem::path("/dev/shm")
                                                         : std::filesystem::temp_directory_path();
    if (!std::filesystem::is_directory(base))
        return std::string();
    return (base / ("palvane-bench-" + std::to_string(std::random_device{}()) + ".cmp")).string();
}

std::vector<char> Contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

std::unique_ptr<CPalvaneDoc> MakeDocument(Search search, const CPalvaneDoc::Palette& palette)
{
    std::unique_ptr<CPalvaneDoc> document = search == kExhaustive
                                                ? std::make_unique<ExhaustiveSaveDoc>(true)
                                                : std::make_unique<CPalvaneDoc>();
    document->m_palette = palette;
    return document;
}

// Arguments: the search, the folder, the stress palette.
void BM_WholeSaveWithTransparency(benchmark::State& state)
{
    const auto search = static_cast<Search>(state.range(0));
    const auto folder = static_cast<Folder>(state.range(1));
    const StressPalette stress = MakeStressPalettes()[static_cast<std::size_t>(state.range(2))];
    state.SetLabel(std::string(search == kExhaustive ? "exhaustive " : "fast ") +
                   (folder == kMemory ? "memory " : "temp ") + stress.name);
    const std::string path = TargetIn(folder);
    if (path.empty()) {
        state.SkipWithError("no such folder here");
        return;
    }
    ScriptedUserInterface ui;
    ui.SetStandingAnswer(CPalvaneDoc::kTransparencyQuestion, IDYES);
    const ScopedUserInterface installed(ui);
    const std::unique_ptr<CPalvaneDoc> document = MakeDocument(search, stress.palette);

    // Both searches must save the same bytes.
    const std::unique_ptr<CPalvaneDoc> other =
        MakeDocument(search == kFast ? kExhaustive : kFast, stress.palette);
    if (!other->OnSaveDocument(path)) {
        state.SkipWithError("the save failed");
        return;
    }
    const std::vector<char> expected = Contents(path);
    for (auto _ : state) {
        if (!document->OnSaveDocument(path)) {
            state.SkipWithError("the save failed");
            break;
        }
    }
    if (Contents(path) != expected)
        state.SkipWithError("the two searches saved different files");
    std::filesystem::remove(path);
}

void EachSearchFolderAndPalette(benchmark::internal::Benchmark* benchmark)
{
    const int palettes = static_cast<int>(MakeStressPalettes().size());
    for (int palette = 0; palette < palettes; ++palette)
        for (int folder : {kTemporaryFolder, kMemory})
            for (int search : {kExhaustive, kFast})
                benchmark->Args({search, folder, palette});
}

void BM_SaveWithoutTransparency(benchmark::State& state)
{
    ScriptedUserInterface ui;
    ui.SetStandingAnswer(CPalvaneDoc::kTransparencyQuestion, IDNO);
    const ScopedUserInterface installed(ui);
    const std::unique_ptr<CPalvaneDoc> document = MakeDocument(kFast, MakeSamplePalette());
    const std::string path = TargetIn(kTemporaryFolder);
    for (auto _ : state) {
        if (!document->OnSaveDocument(path)) {
            state.SkipWithError("the save failed");
            break;
        }
    }
    std::filesystem::remove(path);
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

BENCHMARK(BM_WholeSaveWithTransparency)
    ->Apply(EachSearchFolderAndPalette)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveWithoutTransparency)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindNearestColor);

BENCHMARK_MAIN();
