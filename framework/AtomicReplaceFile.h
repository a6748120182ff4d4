#pragma once

#include "framework/CFile.h"
#include "framework/PlatformFile.h"

#include <string>

// A file written completely or not at all, the way every save writes. Open
// creates a temporary file beside the target; Close makes it durable and puts
// it in place of the target in one step; Abort, or destruction without Close,
// removes it. Until Close succeeds the target keeps its previous contents.
// Errors name the path given, not the temporary file.
//
// What is at the path decides how it is written: a file is replaced (its
// owner, group and permission bits kept, links to it kept), a character
// device or a pipe is written through directly, anything else is refused.
class AtomicReplaceFile : public CFile {
public:
    AtomicReplaceFile() = default;
    ~AtomicReplaceFile() override;

    // Only the write mode applies: the temporary file is always new and empty.
    bool Open(const std::string& path, unsigned flags = modeCreate | modeWrite,
              CFileException* error = nullptr) override;
    void Close() override;
    void Abort() override;

private:
    std::string m_strTarget; // the resolved file that Close replaces
    platform_file::TemporaryFile m_temporary;
    bool m_bWriteThrough = false;
};
