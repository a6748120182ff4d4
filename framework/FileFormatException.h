#pragma once

#include "framework/CException.h"

#include <string>

// A file that could be read but is not of the kind the document reads. The
// reader states why in its own words; the open reports that after the
// file's full path ("/home/u/x.pal: Not a CMP File.").
class FileFormatException : public CException {
public:
    explicit FileFormatException(std::string reason);

    // The reader's reason, without the path.
    bool GetErrorMessage(std::string& message) const override;

private:
    std::string m_strReason;
};
