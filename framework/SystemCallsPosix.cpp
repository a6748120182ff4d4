#include "framework/SystemCalls.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace system_calls {

int Open(const char* path, int flags, mode_t mode)
{
    return ::open(path, flags, mode);
}

ssize_t Read(int handle, void* buffer, std::size_t count)
{
    return ::read(handle, buffer, count);
}

ssize_t Write(int handle, const void* buffer, std::size_t count)
{
    return ::write(handle, buffer, count);
}

int Sync(int handle)
{
    return ::fsync(handle);
}

int Link(const char* existing, const char* name)
{
    return ::linkat(AT_FDCWD, existing, AT_FDCWD, name, AT_SYMLINK_FOLLOW);
}

int Rename(const char* from, const char* to)
{
    return std::rename(from, to);
}

int Close(int handle)
{
    return ::close(handle);
}

} // namespace system_calls
