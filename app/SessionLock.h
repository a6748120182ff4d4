#pragma once

#include <string>

// A lock on a file that one running editor holds for as long as it lives.
// The system lets it go when the process ends, however it ends, so a lock
// that can be taken belongs to an editor that is gone: unlike a process
// number, it cannot be mistaken for a later process's.
//
// While held, the path names the locked file: nothing removes a lock file
// without holding its lock, and taking one checks that the file locked is
// still the one at the path.
class SessionLock {
public:
    SessionLock() = default;
    ~SessionLock();
    SessionLock(const SessionLock&) = delete;
    SessionLock& operator=(const SessionLock&) = delete;

    // Takes the lock of the file at `path` (UTF-8), creating the file first
    // when `create` is set. False when the file is missing, cannot be made,
    // or another process holds its lock.
    bool Take(const std::string& path, bool create);
    bool IsHeld() const { return m_handle != kNoHandle; }
    // Removes the file, then lets the lock go.
    void RemoveAndRelease();
    // Lets the lock go and keeps the file.
    void Release();

private:
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
