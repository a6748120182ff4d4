#pragma once

#include <cstddef>
#include <sys/types.h>

// The system calls whose results decide whether a file operation of the
// POSIX platform file layer succeeds. They sit in a translation unit of their
// own (SystemCallsPosix.cpp, which only forwards to the system), so that a
// test program can link a substitute in its place that makes a chosen call
// fail; the programs themselves link the plain calls and nothing more.
namespace system_calls {

int Open(const char* path, int flags, mode_t mode);
ssize_t Read(int handle, void* buffer, std::size_t count);
ssize_t Write(int handle, const void* buffer, std::size_t count);
int Sync(int handle);
// Gives the file that `existing` leads to (a link is followed) the name `name`.
int Link(const char* existing, const char* name);
int Rename(const char* from, const char* to);
int Close(int handle);

} // namespace system_calls
