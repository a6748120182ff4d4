#include "tests/support/TempFolder.h"

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv)
{
    // Real widgets on Qt's offscreen platform, so that neither the tests nor
    // their discovery need a display. An explicit choice is kept.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Settings, data and runtime folders of the run's own, never the user's:
    // the editor writes its file type into the data folders at every start.
    const TempFolder home;
    for (const char* variable : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"}) {
        const std::string folder = home / variable;
        std::filesystem::create_directory(folder);
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
        setenv(variable, folder.c_str(), 1);
    }
    QApplication application(argc, argv);
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope,
                           QString::fromStdString(home / "XDG_CONFIG_HOME"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
