#pragma once

// What the desktop knows about the colormap file type: the type itself, its
// icons, the editor's desktop entries and the default application. Written
// at every start, removed again by the -Unregister flag.
class DesktopRegistration {
public:
    // Writes whatever changed since the last start. A step that fails or
    // may not be taken skips the remaining ones without a message box; what
    // was left alone, and why, goes to the log.
    static void Register();

    // Removes everything Register wrote and the editor's settings. True when
    // nothing the editor owns is left afterwards.
    static bool Unregister();
};
