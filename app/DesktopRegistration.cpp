#include "app/DesktopRegistration.h"

// Interface only; the desktop files are written by the registration work.
void DesktopRegistration::Register() {}

bool DesktopRegistration::Unregister()
{
    return false;
}
