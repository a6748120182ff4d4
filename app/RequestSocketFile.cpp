#include "app/RequestSocketFile.h"

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// As many connections as can wait to be taken; the service takes each at
// once, so this only rides out a burst.
constexpr int kBacklog = 64;

bool Bind(int handle, const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        errno = ENAMETOOLONG;
        return false;
    }
    path.copy(address.sun_path, path.size());
    return ::bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

} // namespace

int RequestSocketFile::Listen(const std::string& path)
{
    m_path.clear();
    // No other process has this name: one left by a process that had the
    // same number and ended without removing it is stale.
    const std::string own = path + '.' + std::to_string(::getpid());
    ::unlink(own.c_str());
    const int handle = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (handle < 0)
        return -1;
    struct stat status {};
    if (!Bind(handle, own) || ::listen(handle, kBacklog) != 0 ||
        ::lstat(own.c_str(), &status) != 0 || ::rename(own.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::close(handle);
        ::unlink(own.c_str());
        errno = error;
        return -1;
    }
    m_path = path;
    m_device = status.st_dev;
    m_inode = status.st_ino;
    return handle;
}

void RequestSocketFile::RemoveIfOwn()
{
    struct stat status {};
    if (!m_path.empty() && ::lstat(m_path.c_str(), &status) == 0 && S_ISSOCK(status.st_mode) &&
        status.st_dev == m_device && status.st_ino == m_inode)
        ::unlink(m_path.c_str());
    m_path.clear();
}
