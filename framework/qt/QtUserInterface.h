#pragma once

#include "framework/UserInterface.h"

#include <QMessageBox>
#include <QStringList>

class QWidget;

// The user interface of the desktop program: every question the system asks
// is a modal Qt dialog over the active window.
class QtUserInterface : public UserInterface {
public:
    // `withoutScreen`: the program runs where nobody sees its windows (Qt's
    // offscreen platform), so a message box would wait for ever. Its text
    // goes to standard error instead, and it answers as a box closed
    // without a choice.
    explicit QtUserInterface(bool withoutScreen = false);

    int ShowMessageBox(const std::string& text, unsigned type) override;
    int PickColor(ColorRef& color, unsigned flags) override;
    int PickColorFollowing(ColorRef& color, unsigned flags,
                           const std::function<void(ColorRef)>& shown) override;
    int PickFile(const FileDialogRequest& request, std::string& path) override;
    int PickTexture(const std::vector<std::string>& names, int& selected) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

    // The buttons of a message box of `type` (MB_OK, MB_YESNO, ...), and
    // the default one: the first, or the second with MB_DEFBUTTON2.
    static QMessageBox::StandardButtons ButtonsFor(unsigned type);
    static QMessageBox::StandardButton DefaultButtonFor(unsigned type);
    static QMessageBox::Icon IconFor(unsigned type);
    // The answer (IDOK, IDYES, ...) for the button that closed the box; a box
    // closed some other way gives the default answer of its type.
    static int AnswerFor(QMessageBox::StandardButton button, unsigned type);
    // A file chooser's filter ("Name (*.a)|*.a|All Files (*.*)|*.*||") as
    // Qt's name filters ("Name (*.a)", "All Files (*)"): patterns separated
    // by ';' are separated by spaces, and "*.*" matches every name.
    static QStringList NameFilters(const std::string& filter);
    // False on the platforms that show nobody anything (offscreen, minimal).
    static bool PlatformHasScreen();

private:
    static QWidget* DialogParent();

    bool m_bWithoutScreen;
};
