#pragma once

#include <functional>

class QWidget;

// Once a modal dialog that inherits `className` is open, runs `answer` on it
// from the dialog's own event loop. Call before the code that opens it.
void WhenModal(const char* className, std::function<void(QWidget*)> answer);
