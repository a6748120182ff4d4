// What the file type's registration adds to every start: on folders that
// are up to date (every start but the first) and on empty ones (the first,
// with the desktop's update tools run).
#include "app/FreedesktopRegistration.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QString kExecutable = QStringLiteral("/usr/bin/palvane");

void BM_RegisterUpToDate(benchmark::State& state)
{
    const QTemporaryDir home;
    const FreedesktopRegistration registration(home.filePath(QStringLiteral("data")),
                                               home.filePath(QStringLiteral("config")),
                                               kExecutable);
    if (!registration.Register())
        state.SkipWithError("registration failed");
    for (auto _ : state)
        benchmark::DoNotOptimize(registration.Register());
}
BENCHMARK(BM_RegisterUpToDate)->Unit(benchmark::kMillisecond);

void BM_RegisterEmptyFolders(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir home;
        const FreedesktopRegistration registration(home.filePath(QStringLiteral("data")),
                                                   home.filePath(QStringLiteral("config")),
                                                   kExecutable);
        state.ResumeTiming();
        benchmark::DoNotOptimize(registration.Register());
        state.PauseTiming();
        home.remove();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RegisterEmptyFolders)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
