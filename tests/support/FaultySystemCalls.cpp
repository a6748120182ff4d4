// Stands in for framework/SystemCallsPosix.cpp in the fault tests: linked
// into the test program itself, it keeps the library's version out.

#include "framework/SystemCalls.h"
#include "tests/support/FileFaults.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool g_counting = false;
bool g_noUnnamedFiles = false;
std::size_t g_failAt = file_faults::kNoCall;
int g_error = 0;
std::vector<file_faults::Call> g_calls;

// Counts the call; true when it is the one to fail, with g_error to give.
bool Chosen(file_faults::Call call)
{
    if (!g_counting)
        return false;
    g_calls.push_back(call);
    return g_calls.size() - 1 == g_failAt;
}

int Fail()
{
    errno = g_error;
    return -1;
}

std::size_t Shortened(std::size_t count)
{
    return count > 1 ? count / 2 : count;
}

} // namespace

namespace file_faults {

const char* CallName(Call call)
{
    static const char* const kNames[] = {"open", "read",   "write", "sync",
                                         "link", "rename", "close"};
    return kNames[static_cast<int>(call)];
}

void Start(std::size_t at, int error, bool noUnnamedFiles)
{
    g_noUnnamedFiles = noUnnamedFiles;
    g_calls.clear();
    g_failAt = at;
    g_error = error;
    g_counting = true;
}

std::vector<Call> Stop()
{
    g_counting = false;
    g_noUnnamedFiles = false;
    g_failAt = kNoCall;
    return g_calls;
}

} // namespace file_faults

namespace system_calls {

using file_faults::Call;
using file_faults::kShortTransfer;

int Open(const char* path, int flags, mode_t mode)
{
#ifdef O_TMPFILE
    if (g_noUnnamedFiles && (flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
#endif
    return Chosen(Call::open) ? Fail() : ::open(path, flags, mode);
}

ssize_t Read(int handle, void* buffer, std::size_t count)
{
    if (!Chosen(Call::read))
        return ::read(handle, buffer, count);
    return g_error == kShortTransfer ? ::read(handle, buffer, Shortened(count)) : Fail();
}

ssize_t Write(int handle, const void* buffer, std::size_t count)
{
    if (!Chosen(Call::write))
        return ::write(handle, buffer, count);
    return g_error == kShortTransfer ? ::write(handle, buffer, Shortened(count)) : Fail();
}

int Sync(int handle)
{
    return Chosen(Call::sync) ? Fail() : ::fsync(handle);
}

int Link(const char* existing, const char* name)
{
    return Chosen(Call::link) ? Fail()
                              : ::linkat(AT_FDCWD, existing, AT_FDCWD, name, AT_SYMLINK_FOLLOW);
}

int Rename(const char* from, const char* to)
{
    return Chosen(Call::rename) ? Fail() : std::rename(from, to);
}

int Close(int handle)
{
    const bool chosen = Chosen(Call::close);
    const int result = ::close(handle);
    return chosen ? Fail() : result;
}

} // namespace system_calls
