// The editor's benchmarks run on Qt's offscreen platform, in folders of
// their own: the editor writes its file type, its settings and its request
// socket into the user's folders.

#include "app/DesktopRegistration.h"
#include "framework/UserInterface.h"
#include "framework/qt/QtUserInterface.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    const QTemporaryDir home;
    for (const char* name :
         {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_RUNTIME_DIR"}) {
        const QString folder = home.filePath(QString::fromLatin1(name));
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(name, folder.toLocal8Bit());
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // No print service answers: printing goes to PDF files.
    qputenv("CUPS_SERVER", "/nonexistent/cups.sock");
    QApplication application(argc, argv);
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, home.filePath(QStringLiteral("settings")));
    // Nobody answers questions here: they go to standard error.
    QtUserInterface userInterface(true);
    const ScopedUserInterface installed(userInterface);
    // Every start makes sure of the file type; only the first writes it.
    DesktopRegistration::Register();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
