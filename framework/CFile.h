#pragma once

#include "framework/CFileException.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform_file {
struct FileIdentity;
}

// An unbuffered binary file. Every failure raises CFileException naming the
// file; reading at the end of the file is not a failure and returns a short
// count.
class CFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };

    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile() = default;
    // Opens `path` with `flags`, raising CFileException on failure.
    CFile(const std::string& path, unsigned flags);
    virtual ~CFile();

    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Opens `path`. On failure returns false and, when `error` is given, fills
    // it in; nothing is raised. Only regular files can be opened: a directory
    // or a device is refused as access denied.
    virtual bool Open(const std::string& path, unsigned flags, CFileException* error = nullptr);

    // Reads up to `count` bytes and returns how many were read; fewer than
    // asked only at the end of the file.
    virtual std::size_t Read(void* buffer, std::size_t count);
    virtual void Write(const void* buffer, std::size_t count);
    virtual std::uint64_t Seek(std::int64_t offset, SeekPosition from);
    virtual std::uint64_t GetLength() const;
    // Hands what has been written to the storage device.
    virtual void Flush();
    // Closes the file, raising CFileException when the system reports that
    // written data could not be stored.
    virtual void Close();
    // Closes the file without raising anything.
    virtual void Abort();

    bool IsOpen() const { return m_hFile >= 0; }
    // The identity of the open file (device, number, size, modification
    // time); false when the system cannot tell it.
    bool GetIdentity(platform_file::FileIdentity& identity) const;
    // The name that errors report: the path the file was opened with.
    const std::string& GetFilePath() const { return m_strFileName; }

protected:
    [[noreturn]] void ThrowLastError() const;

    int m_hFile = -1;
    std::string m_strFileName;
};
