#include "framework/UserInterface.h"

namespace {

class SilentUserInterface final : public UserInterface {
public:
    int ShowMessageBox(const std::string&, unsigned type) override
    {
        return DefaultMessageBoxAnswer(type);
    }
    int PickColor(ColorRef&, unsigned) override { return IDCANCEL; }
    int PickFile(const FileDialogRequest&, std::string&) override { return IDCANCEL; }
    int PickTexture(const std::vector<std::string>&, int&) override { return IDCANCEL; }
};

SilentUserInterface g_silentUserInterface;
UserInterface* g_userInterface = &g_silentUserInterface;

} // namespace

UserInterface& AfxGetUserInterface()
{
    return *g_userInterface;
}

UserInterface* AfxSetUserInterface(UserInterface* ui)
{
    UserInterface* previous = g_userInterface == &g_silentUserInterface ? nullptr : g_userInterface;
    g_userInterface = ui != nullptr ? ui : &g_silentUserInterface;
    return previous;
}

int AfxMessageBox(const std::string& text, unsigned type)
{
    return AfxGetUserInterface().ShowMessageBox(text, type);
}

int DefaultMessageBoxAnswer(unsigned type)
{
    switch (type & MB_TYPEMASK) {
    case MB_YESNO:
        return IDNO;
    case MB_OKCANCEL:
        return IDCANCEL;
    case MB_YESNOCANCEL:
        return (type & MB_DEFMASK) == MB_DEFBUTTON2 ? IDNO : IDCANCEL;
    default:
        return IDOK;
    }
}
