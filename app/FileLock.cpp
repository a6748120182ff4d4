#include "app/FileLock.h"

#include <thread>

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

namespace {

// How often a waiting take looks again.
constexpr std::chrono::milliseconds kRetryInterval(20);

} // namespace

FileLock::~FileLock()
{
    Release();
}

bool FileLock::Take(const std::string& path, bool create)
{
    return TryTake(path, create) == Attempt::taken;
}

bool FileLock::TakeWithin(const std::string& path, std::chrono::milliseconds wait)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (true) {
        const Attempt attempt = TryTake(path, true);
        if (attempt != Attempt::busy)
            return attempt == Attempt::taken;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(kRetryInterval);
    }
}

#ifdef _WIN32

FileLock::Attempt FileLock::TryTake(const std::string& path, bool create)
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
        return Attempt::failed;
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        return Attempt::failed;
    }
    OVERLAPPED whole{};
    if (!::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                      &whole)) {
        const bool busy = ::GetLastError() == ERROR_LOCK_VIOLATION;
        ::CloseHandle(handle);
        return busy ? Attempt::busy : Attempt::failed;
    }
    m_handle = handle;
    m_path = path;
    return Attempt::taken;
}

void FileLock::RemoveAndRelease()
{
    if (IsHeld())
        ::DeleteFileW(platform_file::ToPath(m_path).c_str());
    Release();
}

void FileLock::Release()
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

bool IsRegularFile(int handle)
{
    struct stat status {};
    return ::fstat(handle, &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace

FileLock::Attempt FileLock::TryTake(const std::string& path, bool create)
{
    Release();
    // A holder that removes the file between our open and our lock leaves us
    // a file nobody can find; a new one may be made at the path meanwhile.
    for (int attempt = 0; attempt < 3; ++attempt) {
        // Not blocking: a named pipe would wait for a writer forever.
        const int handle =
            ::open(path.c_str(),
                   O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | (create ? O_CREAT : 0), 0600);
        if (handle < 0)
            return Attempt::failed;
        if (!IsRegularFile(handle)) {
            ::close(handle);
            return Attempt::failed;
        }
        int locked = 0;
        do
            locked = ::flock(handle, LOCK_EX | LOCK_NB);
        while (locked != 0 && errno == EINTR);
        if (locked != 0) {
            const bool busy = errno == EWOULDBLOCK;
            ::close(handle);
            return busy ? Attempt::busy : Attempt::failed;
        }
        if (NamesFile(path, handle)) {
            m_handle = handle;
            m_path = path;
            return Attempt::taken;
        }
        ::close(handle);
        if (!create)
            return Attempt::failed;
    }
    return Attempt::busy;
}

void FileLock::RemoveAndRelease()
{
    if (IsHeld())
        ::unlink(m_path.c_str());
    Release();
}

void FileLock::Release()
{
    if (!IsHeld())
        return;
    ::close(m_handle);
    m_handle = kNoHandle;
}

#endif
