#include "framework/CFile.h"

#include "framework/PlatformFile.h"

#include <cerrno>

CFile::CFile(const std::string& path, unsigned flags)
{
    CFileException error;
    if (!Open(path, flags, &error))
        throw error;
}

CFile::~CFile()
{
    Abort();
}

bool CFile::Open(const std::string& path, unsigned flags, CFileException* error)
{
    Abort();
    m_strFileName = path;
    const bool creating = (flags & modeCreate) != 0;
    const int handle = platform_file::OpenRegular(path, flags);
    if (handle < 0) {
        const int osError = errno;
        if (error != nullptr)
            *error = CFileException(CFileException::ErrnoToCause(osError, creating), osError, path);
        return false;
    }
    m_hFile = handle;
    return true;
}

std::size_t CFile::Read(void* buffer, std::size_t count)
{
    std::size_t done = 0;
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (done < count) {
        const long long got = platform_file::Read(m_hFile, bytes + done, count - done);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ThrowLastError();
        }
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

void CFile::Write(const void* buffer, std::size_t count)
{
    std::size_t done = 0;
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    while (done < count) {
        const long long put = platform_file::Write(m_hFile, bytes + done, count - done);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            ThrowLastError();
        }
        if (put == 0) {
            errno = ENOSPC;
            ThrowLastError();
        }
        done += static_cast<std::size_t>(put);
    }
}

std::uint64_t CFile::Seek(std::int64_t offset, SeekPosition from)
{
    const long long position = platform_file::Seek(m_hFile, offset, static_cast<int>(from));
    if (position < 0)
        throw CFileException(CFileException::badSeek, errno, m_strFileName);
    return static_cast<std::uint64_t>(position);
}

std::uint64_t CFile::GetLength() const
{
    const long long length = platform_file::Length(m_hFile);
    if (length < 0)
        ThrowLastError();
    return static_cast<std::uint64_t>(length);
}

void CFile::Flush()
{
    if (m_hFile >= 0 && platform_file::Sync(m_hFile) != 0)
        ThrowLastError();
}

void CFile::Close()
{
    if (m_hFile < 0)
        return;
    const int handle = m_hFile;
    m_hFile = -1;
    if (platform_file::Close(handle) != 0)
        ThrowLastError();
}

void CFile::Abort()
{
    if (m_hFile < 0)
        return;
    platform_file::Close(m_hFile);
    m_hFile = -1;
}

void CFile::ThrowLastError() const
{
    CFileException::ThrowErrno(errno, m_strFileName);
}

bool CFile::GetIdentity(platform_file::FileIdentity& identity) const
{
    return m_hFile >= 0 && platform_file::IdentifyHandle(m_hFile, identity) == 0;
}
