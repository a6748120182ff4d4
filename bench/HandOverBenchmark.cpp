// A running editor taking many files from a later start ("palvane -dde
// FILE..."), both real processes: from the later start until the editor
// shows every file in its window.

#include "bench/ColormapFolder.h"

#include <QFile>
#include <QProcess>
#include <QThread>

#include <benchmark/benchmark.h>

#include <functional>

namespace {

// Waits, for half an hour at most, until the editor's log `says` so.
bool WaitForLog(const QString& log, const std::function<bool(const QByteArray&)>& says)
{
    for (int waited = 0; waited < 30 * 60 * 1000; waited += 20) {
        QFile file(log);
        if (file.open(QIODevice::ReadOnly) && says(file.readAll()))
            return true;
        QThread::msleep(20);
    }
    return false;
}

// The editor carried out `count` requests and then showed their files.
bool Shown(const QByteArray& log, qsizetype count)
{
    constexpr QByteArrayView kCarriedOut = "carrying out";
    return log.count(kCarriedOut) >= count &&
           log.lastIndexOf("the files of the requests are shown") > log.lastIndexOf(kCarriedOut);
}

void HandOverFiles(benchmark::State& state)
{
    const ColormapFolder folder(static_cast<int>(state.range(0)));
    const QString log = folder.FilePath(QStringLiteral("editor.log"));
    QProcess editor;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_LOGGING_RULES"),
                       QStringLiteral("palvane.requests.info=true"));
    editor.setProcessEnvironment(environment);
    editor.setStandardErrorFile(log);
    editor.start(QStringLiteral(PALVANE_EXECUTABLE), QStringList());
    if (!WaitForLog(log, [](const QByteArray& text) { return text.contains("serving at"); })) {
        state.SkipWithError("the editor did not start");
        return;
    }
    for (auto _ : state) {
        QProcess later;
        later.start(QStringLiteral(PALVANE_EXECUTABLE),
                    QStringList{QStringLiteral("-dde")} + folder.Paths());
        if (!later.waitForFinished(-1) || later.exitCode() != 0 ||
            !WaitForLog(log, [&folder](const QByteArray& text) {
                return Shown(text, folder.Paths().size());
            }))
            state.SkipWithError("the files were not handed over");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    editor.kill();
    editor.waitForFinished();
}

BENCHMARK(HandOverFiles)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace
