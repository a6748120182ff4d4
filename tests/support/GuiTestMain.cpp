#include "tests/support/TempFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Real widgets on Qt's offscreen platform, so that neither the tests nor
    // their discovery need a display. An explicit choice is kept.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings, data, configuration, state and runtime folders of the run's
    // own, never the user's: the editor writes its file type, its recovery
    // journals and its request socket there.
    const TempFolder home;
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME",
                             "XDG_RUNTIME_DIR"}) {
        const QString folder = QString::fromStdString(home / name);
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(name, folder.toLocal8Bit());
    }
    QApplication application(argc, argv);
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope,
                           QString::fromStdString(home / "XDG_CONFIG_HOME"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
