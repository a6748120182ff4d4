#include "framework/PlatformFile.h"

#include "framework/CFile.h"

#include <cerrno>
#include <climits>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform_file {

namespace {

std::filesystem::path ToPath(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string FromPath(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace

#ifdef _WIN32

namespace {

int ShareMode(unsigned flags)
{
    switch (flags & 0x70) {
    case CFile::shareExclusive:
        return _SH_DENYRW;
    case CFile::shareDenyWrite:
        return _SH_DENYWR;
    case CFile::shareDenyRead:
        return _SH_DENYRD;
    default:
        return _SH_DENYNO;
    }
}

int RejectIfNotRegular(int handle)
{
    struct _stat64 status;
    if (_fstat64(handle, &status) != 0)
        return handle;
    if ((status.st_mode & _S_IFREG) == 0) {
        _close(handle);
        errno = (status.st_mode & _S_IFDIR) != 0 ? EISDIR : EACCES;
        return -1;
    }
    return handle;
}

} // namespace

int OpenRegular(const std::string& path, unsigned flags)
{
    int mode = _O_BINARY | _O_NOINHERIT;
    switch (flags & 3) {
    case CFile::modeWrite:
        mode |= _O_WRONLY;
        break;
    case CFile::modeReadWrite:
        mode |= _O_RDWR;
        break;
    default:
        mode |= _O_RDONLY;
        break;
    }
    if ((flags & CFile::modeCreate) != 0)
        mode |= _O_CREAT | ((flags & CFile::modeNoTruncate) != 0 ? 0 : _O_TRUNC);
    int handle = -1;
    const errno_t error =
        _wsopen_s(&handle, ToPath(path).c_str(), mode, ShareMode(flags), _S_IREAD | _S_IWRITE);
    if (error != 0) {
        errno = error;
        return -1;
    }
    return RejectIfNotRegular(handle);
}

int CreateExclusive(const std::string& path)
{
    int handle = -1;
    const errno_t error = _wsopen_s(&handle, ToPath(path).c_str(),
                                    _O_BINARY | _O_NOINHERIT | _O_WRONLY | _O_CREAT | _O_EXCL,
                                    _SH_DENYRW, _S_IREAD | _S_IWRITE);
    if (error != 0) {
        errno = error;
        return -1;
    }
    return handle;
}

long long Read(int handle, void* buffer, std::size_t count)
{
    return _read(handle, buffer, static_cast<unsigned>(count > INT_MAX ? INT_MAX : count));
}

long long Write(int handle, const void* buffer, std::size_t count)
{
    return _write(handle, buffer, static_cast<unsigned>(count > INT_MAX ? INT_MAX : count));
}

long long Seek(int handle, long long offset, int origin)
{
    return _lseeki64(handle, offset, origin);
}

long long Length(int handle)
{
    return _filelengthi64(handle);
}

int Sync(int handle)
{
    return _commit(handle);
}

int Close(int handle)
{
    return _close(handle);
}

void CopyPermissions(int, const std::string&) {}

int RenameOver(const std::string& from, const std::string& to)
{
    if (MoveFileExW(ToPath(from).c_str(), ToPath(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    const DWORD error = GetLastError();
    errno = error == ERROR_ACCESS_DENIED       ? EACCES
            : error == ERROR_SHARING_VIOLATION ? EBUSY
            : error == ERROR_PATH_NOT_FOUND    ? ENOENT
                                               : EIO;
    return -1;
}

void SyncFolder(const std::string&) {}

bool IsReadOnly(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(ToPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

#else

int OpenRegular(const std::string& path, unsigned flags)
{
    int mode = O_CLOEXEC | O_NONBLOCK;
    switch (flags & 3) {
    case CFile::modeWrite:
        mode |= O_WRONLY;
        break;
    case CFile::modeReadWrite:
        mode |= O_RDWR;
        break;
    default:
        mode |= O_RDONLY;
        break;
    }
    if ((flags & CFile::modeCreate) != 0)
        mode |= O_CREAT | ((flags & CFile::modeNoTruncate) != 0 ? 0 : O_TRUNC);
    const int handle = ::open(path.c_str(), mode, 0666);
    if (handle < 0)
        return -1;
    struct stat status {};
    if (::fstat(handle, &status) != 0 || !S_ISREG(status.st_mode)) {
        const int error = S_ISDIR(status.st_mode) ? EISDIR : EACCES;
        ::close(handle);
        errno = error;
        return -1;
    }
    ::fcntl(handle, F_SETFL, ::fcntl(handle, F_GETFL) & ~O_NONBLOCK);
    return handle;
}

int CreateExclusive(const std::string& path)
{
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

long long Read(int handle, void* buffer, std::size_t count)
{
    return ::read(handle, buffer, count > SSIZE_MAX ? SSIZE_MAX : count);
}

long long Write(int handle, const void* buffer, std::size_t count)
{
    return ::write(handle, buffer, count > SSIZE_MAX ? SSIZE_MAX : count);
}

long long Seek(int handle, long long offset, int origin)
{
    return ::lseek(handle, static_cast<off_t>(offset), origin);
}

long long Length(int handle)
{
    struct stat status {};
    if (::fstat(handle, &status) != 0)
        return -1;
    return static_cast<long long>(status.st_size);
}

int Sync(int handle)
{
    return ::fsync(handle);
}

int Close(int handle)
{
    return ::close(handle);
}

void CopyPermissions(int handle, const std::string& model)
{
    struct stat status {};
    if (::stat(model.c_str(), &status) == 0)
        ::fchmod(handle, status.st_mode & 07777);
}

int RenameOver(const std::string& from, const std::string& to)
{
    return ::rename(from.c_str(), to.c_str());
}

void SyncFolder(const std::string& folder)
{
    const int handle =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle >= 0) {
        ::fsync(handle);
        ::close(handle);
    }
}

bool IsReadOnly(const std::string& path)
{
    return ::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0;
}

#endif

int Remove(const std::string& path)
{
    std::error_code error;
    if (std::filesystem::remove(ToPath(path), error))
        return 0;
    errno = error ? error.value() : ENOENT;
    return -1;
}

bool IsDirectory(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_directory(ToPath(path), error);
}

std::string AbsolutePath(const std::string& path)
{
    if (path.empty())
        return path;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(ToPath(path), error);
    return error ? path : FromPath(absolute.lexically_normal());
}

std::string FolderOf(const std::string& path)
{
    return FromPath(ToPath(path).parent_path());
}

std::string FileNameOf(const std::string& path)
{
    return FromPath(ToPath(path).filename());
}

std::string ResolveLinks(const std::string& path)
{
    std::error_code error;
    std::filesystem::path current = ToPath(path);
    // Follow a bounded chain of links so that a loop cannot hang the save.
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(current, error); ++hops) {
        const std::filesystem::path target = std::filesystem::read_symlink(current, error);
        if (error)
            break;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return FromPath(current);
}

} // namespace platform_file
