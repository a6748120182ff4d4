#pragma once

#include <string>

// The message pane of the main window's status bar. The application's main
// window installs itself; views hand it what the pointer is over.
class MessagePane {
public:
    virtual ~MessagePane() = default;

    // Shows `text` until something else replaces it.
    virtual void SetMessageText(const std::string& text) = 0;
};

// The pane in use, or nullptr while no main window has installed one.
MessagePane* AfxGetMessagePane();
// Installs `pane` (not owned, nullptr for none) and returns the previous one.
MessagePane* AfxSetMessagePane(MessagePane* pane);
