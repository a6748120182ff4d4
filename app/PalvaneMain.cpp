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

// The forms of the command line, after the program's name.
constexpr const char* kForms[] = {
    "[FILE...]",
    "-p FILE...",
    "-pt FILE PRINTER [DRIVER PORT]",
    "-dde [-p | -pt] [FILE...]",
    "-Unregister",
    "--render PNG [FILE...]",
    "--version",
    "--help",
};

// The forms, one a line: the first after `first`, the others after `other`.
std::string Synopsis(const char* first, const char* other)
{
    std::string text;
    for (const char* form : kForms)
        text += std::string(text.empty() ? first : other) + "palvane " + form + "\n";
    return text;
}

// What a usage error shows.
const std::string kUsage = Synopsis("usage: ", "       ");

// What --help prints: the usage, then what each form does.
constexpr const char* kHelp =
    "Palvane edits the palettes of Jedi Knight colormap files (.cmp): without\n"
    "arguments it starts with a new colormap, otherwise it opens the FILEs.\n"
    "\n"
    "Options:\n"
    "  -p FILE...             print each FILE on the default printer without\n"
    "                         asking, and end; the window never shows\n"
    "  -pt FILE PRINTER [DRIVER PORT]\n"
    "                         the same on PRINTER (DRIVER and PORT are ignored)\n"
    "  -dde [FILE...]         hand the FILEs to the editor already running, or\n"
    "                         start hidden and wait for later starts' files\n"
    "  -Unregister            remove the file type and the settings, and end\n"
    "                         (also -Unregserver)\n"
    "  --render PNG [FILE...] write a picture of the main window to PNG\n"
    "                         instead of running\n"
    "  --version              show the version record\n"
    "  --help                 show this text\n"
    "\n"
    "A parameter that begins with - is a flag; write a file whose name begins\n"
    "with - as ./-name.cmp. Exit status: 0 when the start did what it was asked,\n"
    "1 when a file could not be opened or printed, 2 for a usage error.\n";

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
    // Without a window, so that they work with no display.
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::printf("%s\n%s", Synopsis("Usage: ", "  or:  ").c_str(), kHelp);
        return 0;
    }
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
            std::fprintf(stderr, "palvane: --render needs a file name\n%s", kUsage.c_str());
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
            std::fputs(kUsage.c_str(), stderr);
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
