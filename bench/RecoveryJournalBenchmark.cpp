// What the editor pays on its user-interface thread for keeping unsaved
// changes: a journal written completely or not at all (synced to disk) after
// a palette change, and one read back at a start.

#include "document/RecoveryJournal.h"
#include "tools/SamplePalette.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

namespace {

RecoveryJournal SampleJournal()
{
    RecoveryJournal journal;
    journal.palette = MakeSamplePalette();
    journal.selectionStart = 32;
    journal.selectionEnd = 47;
    journal.title = "sample.cmp";
    journal.path = "/home/someone/colormaps/sample.cmp";
    return journal;
}

std::string JournalPath()
{
    return (std::filesystem::temp_directory_path() /
            ("palvane-bench-" + std::to_string(std::random_device{}()) + ".journal"))
        .string();
}

void BM_WriteRecoveryJournal(benchmark::State& state)
{
    const RecoveryJournal journal = SampleJournal();
    const std::string path = JournalPath();
    for (auto _ : state)
        journal.Write(path);
    std::filesystem::remove(path);
}

void BM_ReadRecoveryJournal(benchmark::State& state)
{
    const std::string path = JournalPath();
    SampleJournal().Write(path);
    std::string reason;
    for (auto _ : state)
        if (!RecoveryJournal::Read(path, reason)) {
            state.SkipWithError(reason.c_str());
            break;
        }
    std::filesystem::remove(path);
}

} // namespace

BENCHMARK(BM_WriteRecoveryJournal)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadRecoveryJournal)->Unit(benchmark::kMicrosecond);
