#include "app/PalvaneMain.h"

#include "app/CMainFrame.h"
#include "app/CPalvaneApp.h"
#include "framework/CCommandLineInfo.h"
#include "framework/PlatformFile.h"
#include "framework/UserInterface.h"
#include "framework/qt/QtUserInterface.h"
#include "res/PalvaneVersion.h"
#include "res/VersionRecord.h"

#include <QApplication>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage = "usage: palvane [FILE...]\n"
                               "       palvane -p FILE...\n"
                               "       palvane -pt FILE PRINTER [DRIVER PORT]\n"
                               "       palvane -dde [-p | -pt] [FILE...]\n"
                               "       palvane -Unregister\n"
                               "       palvane --render PNG [FILE...]\n"
                               "       palvane --version\n";

// Printing and unregistering need no screen: where there is none, they run
// on the offscreen platform rather than fail to start, and tell the user on
// standard error.
void RunWithoutDisplayWhereNeedless(int argc, char** argv)
{
#if !defined(_WIN32) && !defined(__APPLE__)
    if (std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr ||
        std::getenv("QT_QPA_PLATFORM") != nullptr)
        return;
    CCommandLineInfo cmdInfo;
    ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), cmdInfo);
    if (cmdInfo.m_nShellCommand == CCommandLineInfo::FilePrint ||
        cmdInfo.m_nShellCommand == CCommandLineInfo::FilePrintTo ||
        cmdInfo.m_nShellCommand == CCommandLineInfo::AppUnregister)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
#else
    (void)argc;
    (void)argv;
#endif
}

// The token the desktop gave this start for raising a window, read before
// the platform takes it out of the environment.
std::string ActivationToken()
{
    for (const char* name : {"XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"})
        if (const char* token = std::getenv(name); token != nullptr && *token != '\0')
            return token;
    return std::string();
}

} // namespace

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
    RunWithoutDisplayWhereNeedless(argc, argv);
    const std::string activationToken = ActivationToken();
    QApplication application(argc, argv);
    QStringList arguments = QApplication::arguments().mid(1);
    QString renderTo;
    if (arguments.value(0) == QStringLiteral("--render")) {
        if (arguments.size() < 2) {
            std::fprintf(stderr, "palvane: --render needs a file name\n%s", kUsage);
            return 2;
        }
        renderTo = arguments.at(1);
        arguments = arguments.mid(2);
    }

    QtUserInterface userInterface(!QtUserInterface::PlatformHasScreen());
    ScopedUserInterface installed(userInterface);
    CPalvaneApp app;
    app.SetActivationToken(activationToken);
    // A picture of the window is no time to ask about unsaved colormaps.
    // Without a screen nobody could answer the question, and its unanswered
    // No would delete the journals: they wait for a start with a screen.
    app.GetJournalKeeper().SetOffersRecovery(renderTo.isEmpty() &&
                                             QtUserInterface::PlatformHasScreen());
    if (!app.InitInstance(arguments)) {
        if (app.ExitCode() == 2)
            std::fputs(kUsage, stderr);
        return app.ExitCode();
    }
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
