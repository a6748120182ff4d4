#include "framework/PlatformFile.h"

#include "framework/CFile.h"
#include "framework/Utf8Path.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <system_error>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

#include <shellapi.h>

namespace platform_file {

namespace {

constexpr unsigned kAccessMask = 3;   // CFile's modeRead, modeWrite, modeReadWrite
constexpr unsigned kShareMask = 0x70; // CFile's share modes
constexpr std::size_t kNameMax = 255; // UTF-16 units; a UTF-8 byte is at most one

int ShareMode(unsigned flags)
{
    switch (flags & kShareMask) {
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

int ErrnoFromWindows(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return ENOENT;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        return ENOTDIR;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EBUSY;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_CANT_RESOLVE_FILENAME:
        return ELOOP;
    default:
        return EIO;
    }
}

int FailWith(DWORD error)
{
    errno = ErrnoFromWindows(error);
    return -1;
}

int ErrnoOf(const std::error_code& error)
{
    const std::error_condition condition = error.default_error_condition();
    return condition.category() == std::generic_category() ? condition.value() : EIO;
}

// A file marked so is deleted when its last handle closes, even when the
// process is killed: that is what keeps a dead save from leaving files.
bool MarkDeleteOnClose(int handle, bool remove)
{
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = remove ? TRUE : FALSE;
    const auto file = reinterpret_cast<HANDLE>(_get_osfhandle(handle));
    return file != INVALID_HANDLE_VALUE &&
           SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                      sizeof disposition) != 0;
}

// FILETIME counts 100-nanosecond intervals.
constexpr std::uint64_t kTicksPerSecond = 10000000;

int IdentifyWindowsHandle(HANDLE file, FileIdentity& identity)
{
    identity = FileIdentity();
    switch (GetFileType(file)) {
    case FILE_TYPE_DISK:
        break;
    case FILE_TYPE_CHAR:
    case FILE_TYPE_PIPE:
        identity.kind = NodeKind::stream;
        return 0;
    default:
        identity.kind = NodeKind::other;
        return 0;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(file, &information))
        return FailWith(GetLastError());
    identity.kind = (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                        ? NodeKind::directory
                        : NodeKind::regular;
    identity.device = information.dwVolumeSerialNumber;
    identity.fileNumber =
        static_cast<std::uint64_t>(information.nFileIndexHigh) << 32 | information.nFileIndexLow;
    identity.size =
        static_cast<std::uint64_t>(information.nFileSizeHigh) << 32 | information.nFileSizeLow;
    const std::uint64_t ticks =
        static_cast<std::uint64_t>(information.ftLastWriteTime.dwHighDateTime) << 32 |
        information.ftLastWriteTime.dwLowDateTime;
    identity.modifiedSeconds = static_cast<std::int64_t>(ticks / kTicksPerSecond);
    identity.modifiedNanoseconds = static_cast<std::int64_t>(ticks % kTicksPerSecond * 100);
    return 0;
}

} // namespace

int OpenRegular(const std::string& path, unsigned flags)
{
    int mode = _O_BINARY | _O_NOINHERIT;
    switch (flags & kAccessMask) {
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
    struct _stat64 status;
    if (_fstat64(handle, &status) == 0 && (status.st_mode & _S_IFREG) == 0) {
        _close(handle);
        errno = (status.st_mode & _S_IFDIR) != 0 ? EISDIR : EACCES;
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

int FindSaveTarget(const std::string& path, SaveTarget& target)
{
    if (path.empty()) {
        errno = ENOENT;
        return -1;
    }
    std::error_code error;
    const std::filesystem::path given = ToPath(path);
    const std::filesystem::file_status status = std::filesystem::status(given, error);
    if (error && status.type() != std::filesystem::file_type::not_found) {
        errno = ErrnoOf(error);
        return -1;
    }
    switch (status.type()) {
    case std::filesystem::file_type::not_found:
        target.kind = NodeKind::absent;
        break;
    case std::filesystem::file_type::regular:
        target.kind = NodeKind::regular;
        break;
    case std::filesystem::file_type::directory:
        target.kind = NodeKind::directory;
        break;
    case std::filesystem::file_type::character:
        target.kind = NodeKind::stream;
        target.path = path;
        return 0;
    default:
        target.kind = NodeKind::other;
        target.path = path;
        return 0;
    }
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(given, error);
    if (error) {
        errno = ErrnoOf(error);
        return -1;
    }
    target.path = FromPath(resolved);
    return 0;
}

int OpenStream(const SaveTarget& target)
{
    int handle = -1;
    const errno_t error = _wsopen_s(&handle, ToPath(target.path).c_str(),
                                    _O_BINARY | _O_NOINHERIT | _O_WRONLY, _SH_DENYNO, 0);
    if (error != 0) {
        errno = error;
        return -1;
    }
    return handle;
}

int CreateTemporaryFor(const std::string& target, int& handle, TemporaryFile& temporary)
{
    temporary.path.clear();
    handle = -1;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = TemporaryNameFor(target, kNameMax);
        // No sharing: while the save runs, no cleanup by another can remove it.
        const HANDLE file = CreateFileW(ToPath(candidate).c_str(), GENERIC_WRITE | DELETE, 0,
                                        nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
                continue;
            return FailWith(error);
        }
        handle = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY | _O_WRONLY);
        if (handle < 0) {
            CloseHandle(file);
            DeleteFileW(ToPath(candidate).c_str());
            errno = EMFILE;
            return -1;
        }
        temporary.path = candidate;
        MarkDeleteOnClose(handle, true);
        return 0;
    }
    errno = EEXIST;
    return -1;
}

int ReplaceWithTemporary(int handle, TemporaryFile& temporary, const std::string& target)
{
    // The file must survive its closing now, and Windows renames only a file
    // that no handle holds.
    const bool kept = MarkDeleteOnClose(handle, false);
    _close(handle);
    if (!kept) {
        errno = EIO;
        return -1;
    }
    if (!MoveFileExW(ToPath(temporary.path).c_str(), ToPath(target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return FailWith(GetLastError());
    temporary.path.clear();
    return 0;
}

void DiscardTemporary(int handle, TemporaryFile& temporary)
{
    if (handle >= 0)
        _close(handle);
    if (!temporary.path.empty()) {
        DeleteFileW(ToPath(temporary.path).c_str());
        temporary.path.clear();
    }
}

void RemoveLeftovers(const std::string& folder)
{
    std::error_code error;
    std::filesystem::directory_iterator entries(ToPath(folder.empty() ? "." : folder), error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        // A save in progress holds its file unshared, so deleting it fails.
        if (entries->is_regular_file(error) &&
            IsTemporaryName(FromPath(entries->path().filename())))
            DeleteFileW(entries->path().c_str());
    }
}

int IdentifyPath(const std::string& path, FileIdentity& identity)
{
    identity = FileIdentity();
    // The attributes first: opening a pipe's name would take one of its
    // connections.
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExW(ToPath(path).c_str(), GetFileExInfoStandard, &attributes)) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : FailWith(error);
    }
    if ((attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        identity.kind = NodeKind::directory;
        return 0;
    }
    const HANDLE file =
        CreateFileW(ToPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FailWith(GetLastError());
    const int result = IdentifyWindowsHandle(file, identity);
    CloseHandle(file);
    return result;
}

int IdentifyHandle(int handle, FileIdentity& identity)
{
    const auto file = reinterpret_cast<HANDLE>(_get_osfhandle(handle));
    if (file == INVALID_HANDLE_VALUE) {
        errno = EBADF;
        return -1;
    }
    return IdentifyWindowsHandle(file, identity);
}

int OpenToInspect(const std::string& path)
{
    FileIdentity named;
    if (IdentifyPath(path, named) != 0)
        return -1;
    if (named.kind != NodeKind::regular) {
        errno = named.kind == NodeKind::absent ? ENOENT : EACCES;
        return -1;
    }
    int handle = -1;
    const errno_t error = _wsopen_s(&handle, ToPath(path).c_str(),
                                    _O_BINARY | _O_NOINHERIT | _O_RDONLY, _SH_DENYNO, 0);
    if (error != 0) {
        errno = error;
        return -1;
    }
    return handle;
}

long long ReadToInspect(int handle, void* buffer, std::size_t count)
{
    return Read(handle, buffer, count);
}

void CloseInspected(int handle)
{
    _close(handle);
}

void PrepareProcessForSaving()
{
    // Windows has no file-size or broken-pipe signals, and a temporary file
    // is deleted by the system when its process ends before the save does.
}

std::vector<std::string> ProgramArguments(int argc, char** argv)
{
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr)
        return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(FromPath(std::filesystem::path(wide[i])));
    LocalFree(wide);
    return arguments;
}

bool IsReadOnly(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(ToPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

} // namespace platform_file
