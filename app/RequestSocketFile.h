#pragma once

#include <string>

#include <sys/types.h>

// The socket file at which the request service listens, where the service is
// a socket in a folder (not on Windows, where it is a named pipe).
//
// QLocalServer removes the name its socket was bound to when it closes, and
// also when it fails to take a connection; by then another editor may have
// made its own socket at that name. So the socket is bound under a name of
// this process's own beside the public one and renamed into place: what
// QLocalServer removes is a name nobody uses any more, and the public name
// is removed only while it still leads to this socket.
class RequestSocketFile {
public:
    RequestSocketFile() = default;
    RequestSocketFile(const RequestSocketFile&) = delete;
    RequestSocketFile& operator=(const RequestSocketFile&) = delete;

    // A socket listening at `path` (UTF-8), in place of whatever was there:
    // the caller holds the service's lock and found nobody listening. The
    // caller owns the descriptor. -1 on failure, with the reason in errno.
    int Listen(const std::string& path);
    // Removes the socket file when it is still the one Listen made.
    void RemoveIfOwn();

private:
    std::string m_path;
    dev_t m_device = 0;
    ino_t m_inode = 0;
};
