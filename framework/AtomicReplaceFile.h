#pragma once

#include "framework/CFile.h"

#include <string>

// A file written completely or not at all. Open creates a temporary file
// beside the target; Close makes it durable and renames it over the target in
// one step; Abort, or destruction without Close, removes it. Until Close
// succeeds the target keeps its previous contents. Errors name the target, not
// the temporary file.
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
    void DiscardTemporary();

    std::string m_strTarget;
    std::string m_strTempPath;
};
