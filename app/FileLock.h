#pragma once

#include <chrono>
#include <string>

// A lock on a file, such as the one a running editor holds on its session
// for as long as it lives. The system lets it go when the process ends,
// however it ends, so a lock that can be taken belongs to a process that is
// gone: unlike a process number, it cannot be mistaken for a later process's.
//
// Only a regular file is locked, and opening it never blocks: whatever else
// sits at the path (a named pipe, a device) makes the lock unusable rather
// than hold up the program.
//
// While held, the path names the locked file: nothing removes a lock file
// without holding its lock, and taking one checks that the file locked is
// still the one at the path.
class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock of the file at `path` (UTF-8), creating the file first
    // when `create` is set. False when the file is missing, cannot be made,
    // is not a regular file, or another process holds its lock.
    bool Take(const std::string& path, bool create);
    // Takes the lock of the file at `path`, creating it when missing and
    // waiting up to `wait` while another process holds it.
    bool TakeWithin(const std::string& path, std::chrono::milliseconds wait);
    bool IsHeld() const { return m_handle != kNoHandle; }
    // Removes the file, then lets the lock go.
    void RemoveAndRelease();
    // Lets the lock go and keeps the file.
    void Release();

private:
    enum class Attempt { taken, busy, failed };
    Attempt TryTake(const std::string& path, bool create);

#ifdef _WIN32
    using Handle = void*;
    static inline const Handle kNoHandle = reinterpret_cast<Handle>(-1);
#else
    using Handle = int;
    static constexpr Handle kNoHandle = -1;
#endif
    Handle m_handle = kNoHandle;
    std::string m_path;
};
