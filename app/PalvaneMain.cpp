#include "app/PalvaneMain.h"

#include "app/CMainFrame.h"
#include "app/CPalvaneApp.h"
#include "framework/PlatformFile.h"
#include "framework/UserInterface.h"
#include "framework/qt/QtUserInterface.h"
#include "res/PalvaneVersion.h"
#include "res/VersionRecord.h"

#include <QApplication>
#include <QPixmap>

#include <cstdio>
#include <cstring>

int RunPalvane(int argc, char** argv)
{
    // A save beyond the file-size limit fails with a message, and an
    // interrupted one leaves no temporary file behind.
    platform_file::PrepareProcessForSaving();
    // Without a window, so that it works with no display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("Palvane %s\n", palvane_version::kText);
        for (const VersionString& entry : kVersionStrings)
            std::printf("%s: %s\n", entry.key, entry.value);
        return 0;
    }
    QApplication application(argc, argv);
    QStringList arguments = QApplication::arguments().mid(1);
    QString renderTo;
    if (arguments.value(0) == QStringLiteral("--render")) {
        if (arguments.size() < 2) {
            std::fprintf(stderr, "usage: palvane [--render PNG] [FILE]\n");
            return 2;
        }
        renderTo = arguments.at(1);
        arguments = arguments.mid(2);
    }

    QtUserInterface userInterface;
    ScopedUserInterface installed(userInterface);
    CPalvaneApp app;
    if (!app.InitInstance(arguments))
        return 1;
    if (renderTo.isEmpty())
        return application.exec();

    CMainFrame* mainFrame = app.GetMainFrame();
    QApplication::processEvents();
    mainFrame->UpdateCommandUI();
    if (!mainFrame->grab().save(renderTo, "PNG")) {
        std::fprintf(stderr, "palvane: cannot write %s\n", renderTo.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
