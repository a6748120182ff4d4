#include "tests/support/TempFolder.h"

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    // Real widgets on Qt's offscreen platform, so that neither the tests nor
    // their discovery need a display. An explicit choice is kept.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    // Settings and data folders of the run's own, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    const TempFolder settings;
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, QString::fromStdString(settings.Path()));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
