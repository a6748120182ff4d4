#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The operating-system file calls that CFile and AtomicReplaceFile need,
// behind one interface for POSIX and Windows (PlatformFilePosix.cpp and
// PlatformFileWindows.cpp; what both share is in PlatformFile.cpp). Every
// function reports failure by a negative (or nonzero) result and leaves the
// reason in errno. Paths are UTF-8.
namespace platform_file {

// Opens a regular file with CFile's open flags; directories, devices and pipes
// are refused (errno EISDIR or EACCES) so that nothing can block or misread.
int OpenRegular(const std::string& path, unsigned flags);
long long Read(int handle, void* buffer, std::size_t count);
long long Write(int handle, const void* buffer, std::size_t count);
long long Seek(int handle, long long offset, int origin);
long long Length(int handle);
int Sync(int handle);
int Close(int handle);

// What a save finds at the name it writes to.
enum class NodeKind {
    absent,    // nothing yet: the save creates a file
    regular,   // a file, replaced as a whole
    directory, // refused
    stream,    // a character device or a pipe: written through, never replaced
    other,     // a socket or a block device: refused
};

struct SaveTarget {
    NodeKind kind = NodeKind::absent;
    // The node itself. For a file (or the file a save creates) links are
    // followed and the folder is resolved through the file system, so that
    // replacing this name changes what the user named and keeps the links.
    std::string path;
    // For a name of one of the program's own open handles (/dev/stdout,
    // /dev/fd/N): that handle, written through where it stands.
    int ownHandle = -1;
};

// Finds what saving to `path` writes to. Links are followed as the system
// follows them: at most kMaxLinks, and a loop or a longer chain fails with
// ELOOP. A link to a name that does not exist yet leads to that name.
int FindSaveTarget(const std::string& path, SaveTarget& target);
constexpr int kMaxLinks = 40;

// Opens a stream target (a device, a pipe, an own handle) for writing
// through it. A named pipe that nobody has opened for reading yet is waited
// for as long as PipeReaderWait() allows; when nobody comes, the open fails
// with ENXIO.
int OpenStream(const SaveTarget& target);

// How long a save onto a named pipe waits for the pipe's reader. The program
// decides: a batch program waits as long as it takes, as cp and cat do; an
// editor waits a few seconds, then tells the user. Until it says, a pipe
// that nobody reads fails at once. (Windows' named pipes are another thing;
// there the wait does not apply.)
inline constexpr std::chrono::milliseconds kWaitForever = std::chrono::milliseconds::max();
void SetPipeReaderWait(std::chrono::milliseconds wait);
std::chrono::milliseconds PipeReaderWait();

// A temporary file that takes the place of a target once it is complete.
struct TemporaryFile {
    std::string path; // its name, or empty while it has none
};

// Creates a temporary file in the folder of `target`, marked as in use so
// that RemoveLeftovers spares it, with the owner, group and permission bits
// of `target` where that exists. When the owner or group cannot be kept the
// setuid and setgid bits are dropped rather than given to a new owner. Where
// the system allows it the file has no name until it replaces the target,
// so that a process killed meanwhile leaves nothing behind.
int CreateTemporaryFor(const std::string& target, int& handle, TemporaryFile& temporary);
// Puts the temporary file, complete and flushed, in place of `target` in one
// step. Closes `handle` in any case.
int ReplaceWithTemporary(int handle, TemporaryFile& temporary, const std::string& target);
// Closes `handle` (when not negative) and removes the temporary file.
void DiscardTemporary(int handle, TemporaryFile& temporary);
// Removes the temporary files in `folder` that saves left when they died.
// Files of saves still in progress are kept.
void RemoveLeftovers(const std::string& folder);

// The name of a temporary file for `target`: hidden, recognisable as ours,
// unique, and no longer than `nameMax` bytes whatever the target's length.
std::string TemporaryNameFor(const std::string& target, std::size_t nameMax);
bool IsTemporaryName(const std::string& name);

// What tells one version of a file from another without reading it.
struct FileIdentity {
    NodeKind kind = NodeKind::absent;
    std::uint64_t device = 0;     // the volume
    std::uint64_t fileNumber = 0; // the file on it: the inode, the file index on Windows
    std::uint64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0; // within the second, as finely as the system keeps it

    bool operator==(const FileIdentity&) const = default;
};

// Looking at a file without changing it, to tell later whether it changed.
// These use the system calls directly rather than those that decide an
// operation's success: what they find never fails an open or a save.
//
// The identity of what `path` leads to (links followed); its kind is absent
// when nothing is there.
int IdentifyPath(const std::string& path, FileIdentity& identity);
// The identity of the file behind an open handle.
int IdentifyHandle(int handle, FileIdentity& identity);
// Hands the whole content of the regular file at `path` to `consume`, in
// chunks, and gives the identity of what it read. Fails (EFBIG) without
// reading a file longer than `limit` bytes, and (EAGAIN) when the file
// changed while it was read.
int InspectContent(const std::string& path, std::uint64_t limit, FileIdentity& identity,
                   const std::function<void(const std::uint8_t*, std::size_t)>& consume);
// The plain calls under InspectContent: open a regular file for reading
// (refusing anything else without blocking on it), read, close.
int OpenToInspect(const std::string& path);
long long ReadToInspect(int handle, void* buffer, std::size_t count);
void CloseInspected(int handle);

// Prepares the process for saving files; programs call it once at start. A
// write beyond the file-size limit or into a closed pipe then fails with an
// error rather than killing the process; SIGINT, SIGTERM and SIGHUP first
// remove the temporary files of saves in progress and then end the process
// with the signal's status; standard handles that are closed are held by a
// read-only null device, so that no file we open takes their place and
// writing to them fails.
void PrepareProcessForSaving();

// The program's arguments (without its name) in UTF-8. Windows hands main()
// its arguments in the ANSI code page; they are read from the wide command
// line there instead, so that any file name survives.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// True when the file exists and this process may not write to it.
bool IsReadOnly(const std::string& path);
// The path made absolute, its folder part resolved through the file system
// (links and ".."), so that it names where the data is. The name itself is
// kept even when it is a link.
std::string AbsolutePath(const std::string& path);
// The folder part and the name part of a path ("" when there is no folder).
std::string FolderOf(const std::string& path);
std::string FileNameOf(const std::string& path);

} // namespace platform_file
