#include "app/DesktopRegistration.h"

#include <QtGlobal>

#ifdef Q_OS_WIN

#include "framework/WindowsShellRegistration.h"

// The association under the user's own classes, beside the settings.
void DesktopRegistration::Register()
{
    WindowsShellRegistration().Register(WindowsShellRegistration::ExecutablePath());
}

bool DesktopRegistration::Unregister()
{
    return WindowsShellRegistration().Unregister();
}

#else

#include "app/FreedesktopRegistration.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {

FreedesktopRegistration UserRegistration()
{
    return FreedesktopRegistration(
        QDir::homePath(), QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
        QCoreApplication::applicationFilePath());
}

QString SettingsFile()
{
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope,
                             QStringLiteral("Quorvath"), QStringLiteral("Palvane"));
    return settings.fileName();
}

} // namespace

void DesktopRegistration::Register()
{
    UserRegistration().Register();
}

bool DesktopRegistration::Unregister()
{
    return UserRegistration().Unregister(SettingsFile());
}

#endif
