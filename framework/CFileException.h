#pragma once

#include "framework/CException.h"

#include <string>

// A failure of the operating system's file services, classified into the
// causes that the user-visible messages distinguish.
class CFileException : public CException {
public:
    enum Cause : int {
        none = 0,
        genericException = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
        // A named pipe that nobody opened for reading while a save waited.
        noReader = 15,
    };

    static constexpr const char* kUnnamedFile = "an unnamed file";

    explicit CFileException(Cause cause = none, int osError = -1, std::string fileName = {});

    // The text for `cause` with `fileName` (or "an unnamed file") in place of %1.
    static std::string MessageFor(Cause cause, const std::string& fileName);

    // The cause that an errno value stands for. `creating` tells whether the
    // failing call was creating a file, where a missing component is a bad
    // path rather than a missing file.
    static Cause ErrnoToCause(int error, bool creating = false);

    [[noreturn]] static void ThrowErrno(int error, const std::string& fileName,
                                        bool creating = false);

    bool GetErrorMessage(std::string& message) const override;

    Cause m_cause;
    int m_lOsError;
    std::string m_strFileName;
};
