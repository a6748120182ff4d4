#pragma once

#include <exception>
#include <string>

// Base of the errors that the document layer raises inside the core and turns
// into message boxes at the command boundary.
class CException : public std::exception {
public:
    // Fills `message` with the text to show and returns true, or returns false
    // when the error has no text of its own and the caller must choose one.
    virtual bool GetErrorMessage(std::string& message) const = 0;

    const char* what() const noexcept override;

private:
    mutable std::string m_what;
};
