// A whole palvane-cli process that opens a colormap and saves it twenty
// times with its transparency table, against the same twenty saves with the
// tables computed the exhaustive way, measured in one run. The saved palette
// never changes, so after the first save the process only writes files.

#include "bench/ExhaustiveColormap.h"
#include "framework/CDocTemplate.h"
#include "framework/ScriptedUserInterface.h"
#include "res/DocumentStrings.h"
#include "tools/StressPalettes.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int kSaves = 20;

enum Folder { kTemporaryFolder, kMemory };

// A folder of its own for one benchmark, removed with it.
class BenchFolder {
public:
    explicit BenchFolder(Folder folder)
    {
        const std::filesystem::path base = folder == kMemory
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        if (!std::filesystem::is_directory(base))
            return;
        m_path = base / ("palvane-cli-bench-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directory(m_path);
    }
    ~BenchFolder()
    {
        if (!m_path.empty())
            std::filesystem::remove_all(m_path);
    }
    bool Exists() const { return !m_path.empty(); }
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// Runs the program with its standard output thrown away; true when it ended
// with status 0.
bool RunProgram(const std::vector<std::string>& command)
{
    std::vector<char*> argv;
    for (const std::string& argument : command)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int started = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return started == 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

double Seconds(std::chrono::steady_clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

// Arguments: the folder, the stress palette.
void BM_CliTwentySavesWithTransparency(benchmark::State& state)
{
    const auto folderKind = static_cast<Folder>(state.range(0));
    const StressPalette stress = MakeStressPalettes()[static_cast<std::size_t>(state.range(1))];
    state.SetLabel(std::string(folderKind == kMemory ? "memory " : "temp ") + stress.name);
    const BenchFolder folder(folderKind);
    if (!folder.Exists()) {
        state.SkipWithError("no such folder here");
        return;
    }
    ScriptedUserInterface ui;
    ui.SetStandingAnswer(CPalvaneDoc::kTransparencyQuestion, IDYES);
    const ScopedUserInterface installed(ui);

    // The colormap to open, written by the exhaustive search.
    const std::string opened = folder / "opened.cmp";
    ExhaustiveSaveDoc exhaustive(true);
    exhaustive.m_palette = stress.palette;
    if (!exhaustive.OnSaveDocument(opened)) {
        state.SkipWithError("the colormap to open could not be written");
        return;
    }

    // The twenty exhaustive saves, as the process makes them: opened, then saved.
    const auto exhaustiveStart = std::chrono::steady_clock::now();
    CDocTemplate docTemplate(kColormapDocumentString);
    ExhaustiveSaveDoc reopened(true);
    bool saved = docTemplate.InitOpenDocument(reopened, opened);
    for (int i = 1; i <= kSaves && saved; ++i)
        saved = reopened.DoSave(folder / ("exhaustive" + std::to_string(i) + ".cmp"));
    const double exhaustiveSeconds = Seconds(std::chrono::steady_clock::now() - exhaustiveStart);
    if (!saved) {
        state.SkipWithError("an exhaustive save failed");
        return;
    }

    std::vector<std::string> command = {PALVANE_CLI_PATH, "--open", opened, "--transparency"};
    for (int i = 1; i <= kSaves; ++i) {
        command.push_back("--save");
        command.push_back(folder / ("process" + std::to_string(i) + ".cmp"));
    }
    double processSeconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!RunProgram(command)) {
            state.SkipWithError("palvane-cli failed");
            return;
        }
        const double elapsed = Seconds(std::chrono::steady_clock::now() - start);
        state.SetIterationTime(elapsed);
        processSeconds += elapsed;
    }
    const double meanProcess = processSeconds / static_cast<double>(state.iterations());
    state.counters["exhaustive_ms"] = exhaustiveSeconds * 1000;
    state.counters["times_faster"] = exhaustiveSeconds / meanProcess;
}

void EachFolderAndPalette(benchmark::internal::Benchmark* benchmark)
{
    // The random palette and the sample.
    for (int palette : {0, 1})
        for (int folder : {kMemory, kTemporaryFolder})
            benchmark->Args({folder, palette});
}

} // namespace

BENCHMARK(BM_CliTwentySavesWithTransparency)
    ->Apply(EachFolderAndPalette)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
