#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Everything the system asks the user goes through one UserInterface: the Qt
// shell answers with real dialogs, tests and the command-line front end with
// scripted answers. The constants keep the values the documents' questions
// are specified with; each is defined only when the platform's headers have
// not defined it already.

#ifndef MB_OK
inline constexpr unsigned MB_OK = 0x00000000;
#endif
#ifndef MB_OKCANCEL
inline constexpr unsigned MB_OKCANCEL = 0x00000001;
#endif
#ifndef MB_YESNOCANCEL
inline constexpr unsigned MB_YESNOCANCEL = 0x00000003;
#endif
#ifndef MB_YESNO
inline constexpr unsigned MB_YESNO = 0x00000004;
#endif
#ifndef MB_TYPEMASK
inline constexpr unsigned MB_TYPEMASK = 0x0000000F; // the button set
#endif
#ifndef MB_ICONMASK
inline constexpr unsigned MB_ICONMASK = 0x000000F0; // the icon
#endif
#ifndef MB_DEFMASK
inline constexpr unsigned MB_DEFMASK = 0x00000F00; // the default button; 0: the first
#endif
#ifndef MB_DEFBUTTON2
inline constexpr unsigned MB_DEFBUTTON2 = 0x00000100;
#endif
#ifndef MB_ICONSTOP
inline constexpr unsigned MB_ICONSTOP = 0x00000010;
#endif
#ifndef MB_ICONQUESTION
inline constexpr unsigned MB_ICONQUESTION = 0x00000020;
#endif
#ifndef MB_ICONEXCLAMATION
inline constexpr unsigned MB_ICONEXCLAMATION = 0x00000030;
#endif
#ifndef MB_ICONINFORMATION
inline constexpr unsigned MB_ICONINFORMATION = 0x00000040;
#endif
#ifndef IDOK
inline constexpr int IDOK = 1;
#endif
#ifndef IDCANCEL
inline constexpr int IDCANCEL = 2;
#endif
#ifndef IDYES
inline constexpr int IDYES = 6;
#endif
#ifndef IDNO
inline constexpr int IDNO = 7;
#endif
#ifndef OFN_OVERWRITEPROMPT
inline constexpr unsigned OFN_OVERWRITEPROMPT = 0x00000002;
#endif
#ifndef OFN_HIDEREADONLY
inline constexpr unsigned OFN_HIDEREADONLY = 0x00000004;
#endif
#ifndef OFN_PATHMUSTEXIST
inline constexpr unsigned OFN_PATHMUSTEXIST = 0x00000800;
#endif
#ifndef OFN_FILEMUSTEXIST
inline constexpr unsigned OFN_FILEMUSTEXIST = 0x00001000;
#endif
#ifndef CC_RGBINIT
inline constexpr unsigned CC_RGBINIT = 0x00000001;
#endif
#ifndef CC_FULLOPEN
inline constexpr unsigned CC_FULLOPEN = 0x00000002;
#endif
#ifndef CC_ANYCOLOR
inline constexpr unsigned CC_ANYCOLOR = 0x00000100;
#endif

// A colour as the colour chooser takes it: red in bits 0-7, green in 8-15,
// blue in 16-23, 0 in the top byte.
using ColorRef = std::uint32_t;

// What a file chooser is asked for. The filter lists a display name and a
// pattern, each followed by '|', for every choice, and ends with one more '|'.
struct FileDialogRequest {
    bool openFileDialog = true;
    std::string defaultExtension; // without the dot
    std::string initialFileName;
    unsigned flags = 0;
    std::string filter;
    std::string title; // empty: the system's default title
};

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // A modal message box; `type` combines a button set (MB_OK, MB_YESNO, ...)
    // and an icon. Returns the button chosen (IDOK, IDYES, IDNO, IDCANCEL).
    virtual int ShowMessageBox(const std::string& text, unsigned type) = 0;
    // The colour chooser, opened on `color`. On IDOK, `color` holds the choice.
    virtual int PickColor(ColorRef& color, unsigned flags) = 0;
    // The same, telling `shown` each colour the chooser shows while it is
    // open, before one is confirmed. A chooser that cannot tell shows none.
    virtual int PickColorFollowing(ColorRef& color, unsigned flags,
                                   const std::function<void(ColorRef)>& /* shown */)
    {
        return PickColor(color, flags);
    }
    // A file chooser. On IDOK, `path` holds the chosen path.
    virtual int PickFile(const FileDialogRequest& request, std::string& path) = 0;
    // The texture chooser over `names`, in order, with row `selected` chosen
    // first. On IDOK, `selected` holds the row chosen.
    virtual int PickTexture(const std::vector<std::string>& names, int& selected) = 0;

    // Brackets long synchronous work (a save computing its tables).
    virtual void BeginWaitCursor() {}
    virtual void EndWaitCursor() {}
};

// The interface in use. There is always one: before a host installs its own,
// a silent one answers every question with its default button.
UserInterface& AfxGetUserInterface();
// Installs `ui` (not owned) and returns the one it replaces; nullptr restores
// the silent default.
UserInterface* AfxSetUserInterface(UserInterface* ui);

int AfxMessageBox(const std::string& text, unsigned type = MB_OK);

// The answer a message box gives when nobody chooses: OK, No, or Cancel.
int DefaultMessageBoxAnswer(unsigned type);
// The answer of a message box's default button, the one Enter presses: its
// first button, or its second with MB_DEFBUTTON2.
int DefaultButtonAnswer(unsigned type);

// Shows the wait cursor for as long as it lives.
class CWaitCursor {
public:
    CWaitCursor() { AfxGetUserInterface().BeginWaitCursor(); }
    ~CWaitCursor() { AfxGetUserInterface().EndWaitCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// Installs a UserInterface for as long as it lives, then puts back the one
// that was in use before.
class ScopedUserInterface {
public:
    explicit ScopedUserInterface(UserInterface& ui) : m_previous(AfxSetUserInterface(&ui)) {}
    ~ScopedUserInterface() { AfxSetUserInterface(m_previous); }
    ScopedUserInterface(const ScopedUserInterface&) = delete;
    ScopedUserInterface& operator=(const ScopedUserInterface&) = delete;

private:
    UserInterface* m_previous;
};
