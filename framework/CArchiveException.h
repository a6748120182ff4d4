#pragma once

#include "framework/CException.h"

#include <string>

// A failure of the archive itself (as opposed to the file under it): most
// often a read past the end of the data.
class CArchiveException : public CException {
public:
    enum Cause : int {
        none = 0,
        genericException = 1,
        readOnly = 2,
        endOfFile = 3,
        writeOnly = 4,
        badIndex = 5,
        badClass = 6,
        badSchema = 7,
    };

    explicit CArchiveException(Cause cause = none, std::string fileName = {});

    // Archive errors have no text of their own; the document's open and save
    // paths choose one ("Unexpected file format." for a file that ended early).
    bool GetErrorMessage(std::string& message) const override;

    Cause m_cause;
    std::string m_strFileName;
};
