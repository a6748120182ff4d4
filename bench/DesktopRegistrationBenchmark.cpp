// What the file type's registration adds to every start: on folders that
// are up to date (every start but the first) and on empty ones (the first,
// with the desktop's update tools run); and how it grows with the user's
// default group in mimeapps.list, which must be linear.
#include "app/FreedesktopFiles.h"
#include "app/FreedesktopRegistration.h"
#include "app/MimeAppsList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QString kExecutable = QStringLiteral("/usr/bin/palvane");

void BM_RegisterEmptyFolders(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir home;
        const FreedesktopRegistration registration(
            home.path(), home.filePath(QStringLiteral("data")),
            home.filePath(QStringLiteral("config")), kExecutable);
        state.ResumeTiming();
        benchmark::DoNotOptimize(registration.Register());
        state.PauseTiming();
        home.remove();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RegisterEmptyFolders)->Unit(benchmark::kMillisecond);

// A default group of `lines` lines for other types.
QByteArray LongGroup(int64_t lines)
{
    QByteArray text = "[Default Applications]\n";
    for (int64_t i = 0; i < lines; ++i)
        text += "application/x-type-" + QByteArray::number(i) + "=app.desktop;\n";
    return text;
}

// A start on up-to-date folders, with a default group of that many lines
// for other types in mimeapps.list (none for 0).
void BM_RegisterUpToDate(benchmark::State& state)
{
    const QTemporaryDir home;
    QDir().mkpath(home.filePath(QStringLiteral("config")));
    QFile list(home.filePath(QStringLiteral("config/mimeapps.list")));
    if (state.range(0) > 0 &&
        (!list.open(QIODevice::WriteOnly) || list.write(LongGroup(state.range(0))) < 0))
        state.SkipWithError("cannot write mimeapps.list");
    list.close();
    const FreedesktopRegistration registration(home.path(), home.filePath(QStringLiteral("data")),
                                               home.filePath(QStringLiteral("config")),
                                               kExecutable);
    if (!registration.Register())
        state.SkipWithError("registration failed");
    for (auto _ : state)
        benchmark::DoNotOptimize(registration.Register());
}
BENCHMARK(BM_RegisterUpToDate)->Arg(0)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

// What the registration does with the list's bytes, without the files: the
// user's choice looked up, the editor's line added.
void BM_DefaultGroupEdit(benchmark::State& state)
{
    const QByteArray bytes = LongGroup(state.range(0));
    for (auto _ : state) {
        MimeAppsList list(bytes);
        if (!list.HasOtherDefault(FreedesktopFiles::kMimeType, FreedesktopFiles::kDesktopId))
            list.SetDefault(FreedesktopFiles::kMimeType, FreedesktopFiles::kDesktopId);
        benchmark::DoNotOptimize(list.Bytes());
    }
}
BENCHMARK(BM_DefaultGroupEdit)->Arg(2000)->Arg(20000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
