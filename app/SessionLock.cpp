#include "app/SessionLock.h"

#ifdef _WIN32
#include "framework/Utf8Path.h"

#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

SessionLock::~SessionLock()
{
    Release();
}

#ifdef _WIN32

bool SessionLock::Take(const std::string& path, bool create)
{
    Release();
    // Shared for deletion, so that the holder can remove it while open; a
    // file pending deletion cannot be opened again, so the path keeps naming
    // this file while it is held.
    const HANDLE handle =
        ::CreateFileW(platform_file::ToPath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      create ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    OVERLAPPED whole{};
    if (!::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                      &whole)) {
        ::CloseHandle(handle);
        return false;
    }
    m_handle = handle;
    m_path = path;
    return true;
}

void SessionLock::RemoveAndRelease()
{
    if (IsHeld())
        ::DeleteFileW(platform_file::ToPath(m_path).c_str());
    Release();
}

void SessionLock::Release()
{
    if (!IsHeld())
        return;
    ::CloseHandle(m_handle);
    m_handle = kNoHandle;
}

#else

namespace {

bool NamesFile(const std::string& path, int handle)
{
    struct stat named {};
    struct stat held {};
    return ::stat(path.c_str(), &named) == 0 && ::fstat(handle, &held) == 0 &&
           named.st_dev == held.st_dev && named.st_ino == held.st_ino;
}

} // namespace

bool SessionLock::Take(const std::string& path, bool create)
{
    Release();
    // A holder that removes the file between our open and our lock leaves us
    // a file nobody can find; a new one may be made at the path meanwhile.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int handle = ::open(path.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0600);
        if (handle < 0)
            return false;
        int locked = 0;
        do
            locked = ::flock(handle, LOCK_EX | LOCK_NB);
        while (locked != 0 && errno == EINTR);
        if (locked != 0) {
            ::close(handle);
            return false;
        }
        if (NamesFile(path, handle)) {
            m_handle = handle;
            m_path = path;
            return true;
        }
        ::close(handle);
        if (!create)
            return false;
    }
    return false;
}

void SessionLock::RemoveAndRelease()
{
    if (IsHeld())
        ::unlink(m_path.c_str());
    Release();
}

void SessionLock::Release()
{
    if (!IsHeld())
        return;
    ::close(m_handle);
    m_handle = kNoHandle;
}

#endif
