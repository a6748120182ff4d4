#pragma once

#include <cstddef>
#include <string>

// The few operating-system file calls that CFile and AtomicReplaceFile need,
// behind one interface for POSIX and Windows. Every function reports failure
// by a negative (or nonzero) result and leaves the reason in errno. Paths are
// UTF-8.
namespace platform_file {

// Opens a regular file with CFile's open flags; directories, devices and pipes
// are refused (errno EISDIR or EACCES) so that nothing can block or misread.
int OpenRegular(const std::string& path, unsigned flags);
// Creates a new file that must not exist yet, for writing.
int CreateExclusive(const std::string& path);
long long Read(int handle, void* buffer, std::size_t count);
long long Write(int handle, const void* buffer, std::size_t count);
long long Seek(int handle, long long offset, int origin);
long long Length(int handle);
int Sync(int handle);
int Close(int handle);

// Gives the open file the permission bits of the file at `model`, when it exists.
void CopyPermissions(int handle, const std::string& model);
// Moves `from` over `to`, replacing `to` in one step.
int RenameOver(const std::string& from, const std::string& to);
int Remove(const std::string& path);
bool IsDirectory(const std::string& path);
// True when the file exists and this process may not write to it.
bool IsReadOnly(const std::string& path);
// The path made absolute against the current folder, with "." and ".." resolved.
std::string AbsolutePath(const std::string& path);
// The path itself, or the file that it finally names when it is a symbolic link.
std::string ResolveLinks(const std::string& path);
// The folder part and the name part of a path ("" when there is no folder).
std::string FolderOf(const std::string& path);
std::string FileNameOf(const std::string& path);
// Makes the entries of the folder durable after a rename (best effort).
void SyncFolder(const std::string& folder);

} // namespace platform_file
