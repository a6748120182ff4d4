#include "framework/PlatformFile.h"

#include "framework/CFile.h"
#include "framework/SystemCalls.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace platform_file {

namespace {

constexpr unsigned kAccessMask = 3; // CFile's modeRead, modeWrite, modeReadWrite

// Named temporary files of saves in progress, for the signal handler to
// remove. Slots are claimed with compare-exchange, so that saves on several
// threads do not collide, and the handler reads only slots marked ready.
struct PendingName {
    enum State : int { free, filling, ready };
    std::atomic<int> state{free};
    char path[PATH_MAX];
};
std::array<PendingName, 16> g_pending;

PendingName* RegisterPending(const std::string& path)
{
    if (path.size() >= PATH_MAX)
        return nullptr;
    for (PendingName& slot : g_pending) {
        int expected = PendingName::free;
        if (slot.state.compare_exchange_strong(expected, PendingName::filling)) {
            std::memcpy(slot.path, path.c_str(), path.size() + 1);
            slot.state.store(PendingName::ready);
            return &slot;
        }
    }
    return nullptr;
}

void ForgetPending(const std::string& path)
{
    for (PendingName& slot : g_pending)
        if (slot.state.load() == PendingName::ready && path == slot.path)
            slot.state.store(PendingName::free);
}

void RemovePendingAndEnd(int signal)
{
    for (PendingName& slot : g_pending)
        if (slot.state.load() == PendingName::ready)
            ::unlink(slot.path);
    // The handler was installed to run once: the default action now ends the
    // process with this signal's status as soon as the handler returns.
    ::raise(signal);
}

// Opens through the system calls that can fail on purpose in tests; an open
// interrupted by a signal is tried again.
int OpenRetrying(const char* path, int flags, mode_t mode)
{
    int handle = -1;
    do
        handle = system_calls::Open(path, flags, mode);
    while (handle < 0 && errno == EINTR);
    return handle;
}

constexpr int kStreamFlags = O_WRONLY | O_NOCTTY | O_CLOEXEC;
// How often a save waiting for a pipe's reader looks again.
constexpr std::chrono::milliseconds kReaderPollInterval{10};

bool IsNamedPipe(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISFIFO(status.st_mode);
}

// Opens a named pipe that nobody reads yet once a reader opens it, waiting as
// long as the program allows. Fails with ENXIO when nobody came.
int OpenWhenRead(const std::string& path)
{
    using Clock = std::chrono::steady_clock;
    const std::chrono::milliseconds wait = PipeReaderWait();
    if (wait == kWaitForever)
        return OpenRetrying(path.c_str(), kStreamFlags, 0); // blocks until a reader comes
    const Clock::time_point deadline = Clock::now() + wait;
    for (;;) {
        const Clock::duration left = deadline - Clock::now();
        if (left <= Clock::duration::zero()) {
            errno = ENXIO;
            return -1;
        }
        std::this_thread::sleep_for(std::min<Clock::duration>(kReaderPollInterval, left));
        const int handle = OpenRetrying(path.c_str(), kStreamFlags | O_NONBLOCK, 0);
        if (handle >= 0 || errno != ENXIO)
            return handle;
    }
}

std::string FolderOrCurrent(const std::string& path)
{
    const std::string folder = FolderOf(path);
    return folder.empty() ? std::string(".") : folder;
}

// The name-length limit of the folder's file system.
std::size_t NameMax(const std::string& folder)
{
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : 255;
}

std::string RealPath(const std::string& path)
{
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr)
        return std::string();
    std::string result = resolved;
    std::free(resolved);
    return result;
}

std::string Join(const std::string& folder, const std::string& name)
{
    return folder == "/" ? folder + name : folder + '/' + name;
}

NodeKind KindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return NodeKind::regular;
    if (S_ISDIR(mode))
        return NodeKind::directory;
    if (S_ISCHR(mode) || S_ISFIFO(mode))
        return NodeKind::stream;
    return NodeKind::other;
}

FileIdentity IdentityOf(const struct stat& status)
{
    FileIdentity identity;
    identity.kind = KindOf(status.st_mode);
    identity.device = static_cast<std::uint64_t>(status.st_dev);
    identity.fileNumber = static_cast<std::uint64_t>(status.st_ino);
    identity.size = static_cast<std::uint64_t>(status.st_size);
#ifdef __APPLE__
    const struct timespec& modified = status.st_mtimespec;
#else
    const struct timespec& modified = status.st_mtim;
#endif
    identity.modifiedSeconds = static_cast<std::int64_t>(modified.tv_sec);
    identity.modifiedNanoseconds = static_cast<std::int64_t>(modified.tv_nsec);
    return identity;
}

// The number of our own open handle that `path` names through /dev/stdout,
// /dev/fd/N or /proc/self/fd/N, or -1.
int OwnHandleNamed(const std::string& path)
{
    const std::string ownHandles = "/proc/" + std::to_string(::getpid()) + "/fd";
    std::string current = path;
    for (int links = 0; links <= kMaxLinks; ++links) {
        const std::string folder = RealPath(FolderOrCurrent(current));
        const std::string name = FileNameOf(current);
        if (folder.empty() || name.empty())
            return -1;
        if (folder == ownHandles && name.find_first_not_of("0123456789") == std::string::npos &&
            name.size() < 10)
            return std::stoi(name);
        const std::string next = Join(folder, name);
        struct stat status {};
        if (::lstat(next.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return -1;
        std::string link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(next.c_str(), link.data(), link.size());
        if (length <= 0)
            return -1;
        link.resize(static_cast<std::size_t>(length));
        current = link.front() == '/' ? link : Join(folder, link);
    }
    return -1;
}

// Gives the new file the owner, group and permission bits of the file it
// replaces, as writing into that file would have kept them.
void TakeOwnerAndMode(int handle, const struct stat& model)
{
    mode_t mode = model.st_mode & 07777;
    if (model.st_uid != ::geteuid() || model.st_gid != ::getegid()) {
        if (::fchown(handle, model.st_uid, model.st_gid) != 0)
            (void)::fchown(handle, static_cast<uid_t>(-1), model.st_gid);
        struct stat now {};
        if (::fstat(handle, &now) != 0 || now.st_uid != model.st_uid || now.st_gid != model.st_gid)
            mode &= ~static_cast<mode_t>(S_ISUID | S_ISGID);
    }
    ::fchmod(handle, mode);
}

// Makes the entries of the folder durable after a rename (best effort).
void SyncFolder(const std::string& folder)
{
    const int handle =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle >= 0) {
        ::fsync(handle);
        ::close(handle);
    }
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Creates a named temporary file and locks it. A cleanup by another save may
// remove the name between the two steps; then the name no longer leads to
// our file and we try another.
int CreateNamedTemporary(const std::string& target, mode_t mode, TemporaryFile& temporary)
{
    const std::size_t nameMax = NameMax(FolderOrCurrent(target));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = TemporaryNameFor(target, nameMax);
        RegisterPending(candidate);
        const int handle = OpenRetrying(candidate.c_str(),
                                        O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (handle < 0) {
            const int error = errno;
            ForgetPending(candidate);
            if (error == EEXIST)
                continue;
            errno = error;
            return -1;
        }
        struct stat opened {};
        struct stat named {};
        if (::flock(handle, LOCK_EX | LOCK_NB) == 0 && ::fstat(handle, &opened) == 0 &&
            ::lstat(candidate.c_str(), &named) == 0 && SameFile(opened, named)) {
            temporary.path = candidate;
            return handle;
        }
        ::close(handle);
        ForgetPending(candidate);
    }
    errno = EEXIST;
    return -1;
}

} // namespace

int OpenRegular(const std::string& path, unsigned flags)
{
    int mode = O_CLOEXEC | O_NONBLOCK;
    switch (flags & kAccessMask) {
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
    const int handle = OpenRetrying(path.c_str(), mode, 0666);
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

long long Read(int handle, void* buffer, std::size_t count)
{
    return system_calls::Read(handle, buffer, count > SSIZE_MAX ? SSIZE_MAX : count);
}

long long Write(int handle, const void* buffer, std::size_t count)
{
    return system_calls::Write(handle, buffer, count > SSIZE_MAX ? SSIZE_MAX : count);
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
    int result = 0;
    do
        result = system_calls::Sync(handle);
    while (result != 0 && errno == EINTR);
    return result;
}

int Close(int handle)
{
    // An interrupted close has still released the handle (trying again could
    // close a handle opened meanwhile), and whatever a save wrote was synced
    // before: only the other errors count.
    if (system_calls::Close(handle) != 0 && errno != EINTR)
        return -1;
    return 0;
}

int FindSaveTarget(const std::string& path, SaveTarget& target)
{
    if (path.empty()) {
        errno = ENOENT;
        return -1;
    }
    // Our own handle is written where it stands, whatever it leads to, so
    // that --save /dev/stdout adds to the output like any other step.
    target.ownHandle = OwnHandleNamed(path);
    if (target.ownHandle >= 0) {
        target.kind = NodeKind::stream;
        target.path = path;
        return 0;
    }
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) {
        target.kind = KindOf(status.st_mode);
        // A device or pipe is opened by the name given, which the system
        // resolves itself (/dev/stdout leads through /proc to a pipe).
        target.path = target.kind == NodeKind::regular ? RealPath(path) : path;
        return target.path.empty() ? -1 : 0;
    }
    if (errno != ENOENT)
        return -1; // ELOOP for a loop or a chain longer than the system follows
    // Nothing there: follow dangling links by hand to the name the file gets.
    std::string current = path;
    for (int links = 0;; ++links) {
        const std::string folder = RealPath(FolderOrCurrent(current));
        const std::string name = FileNameOf(current);
        if (folder.empty())
            return -1;
        if (name.empty() || name == "." || name == "..") {
            errno = EISDIR;
            return -1;
        }
        const std::string candidate = Join(folder, name);
        if (::lstat(candidate.c_str(), &status) != 0) {
            if (errno != ENOENT)
                return -1;
            target = {NodeKind::absent, candidate};
            return 0;
        }
        if (!S_ISLNK(status.st_mode)) {
            // It came into being meanwhile.
            target.kind = KindOf(status.st_mode);
            target.path = candidate;
            return 0;
        }
        if (links == kMaxLinks) {
            errno = ELOOP;
            return -1;
        }
        std::string link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(candidate.c_str(), link.data(), link.size());
        if (length < 0)
            return -1;
        link.resize(static_cast<std::size_t>(length));
        current = link.front() == '/' ? link : Join(folder, link);
    }
}

int OpenStream(const SaveTarget& target)
{
    if (target.ownHandle >= 0) {
        const int flags = ::fcntl(target.ownHandle, F_GETFL);
        if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY) {
            errno = EBADF;
            return -1;
        }
        return ::fcntl(target.ownHandle, F_DUPFD_CLOEXEC, 0);
    }
    // Not blocking on the open: a device that is not there answers at once,
    // and a pipe that nobody reads is waited for only as long as allowed.
    int handle = OpenRetrying(target.path.c_str(), kStreamFlags | O_NONBLOCK, 0);
    if (handle < 0 && errno == ENXIO) {
        if (!IsNamedPipe(target.path)) {
            errno = EPIPE; // ENXIO stands for a pipe without reader
            return -1;
        }
        handle = OpenWhenRead(target.path);
    }
    if (handle < 0)
        return -1;
    struct stat status {};
    if (::fstat(handle, &status) != 0 || KindOf(status.st_mode) != NodeKind::stream) {
        ::close(handle);
        errno = EACCES;
        return -1;
    }
    ::fcntl(handle, F_SETFL, ::fcntl(handle, F_GETFL) & ~O_NONBLOCK);
    return handle;
}

int CreateTemporaryFor(const std::string& target, int& handle, TemporaryFile& temporary)
{
    temporary.path.clear();
    struct stat model {};
    const bool replacing = ::stat(target.c_str(), &model) == 0;
    // Private until it has the target's owner and bits; a new file gets the
    // default bits that the umask leaves.
    const mode_t mode = replacing ? 0600 : 0666;
    handle = -1;
#ifdef O_TMPFILE
    // An unnamed file is linked into the folder only once complete; linking
    // it needs /proc.
    if (::access("/proc/self/fd", X_OK) == 0) {
        handle =
            OpenRetrying(FolderOrCurrent(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        if (handle < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return -1;
        if (handle >= 0)
            ::flock(handle, LOCK_EX | LOCK_NB);
    }
#endif
    if (handle < 0)
        handle = CreateNamedTemporary(target, mode, temporary);
    if (handle < 0)
        return -1;
    if (replacing)
        TakeOwnerAndMode(handle, model);
    return 0;
}

int ReplaceWithTemporary(int handle, TemporaryFile& temporary, const std::string& target)
{
    if (temporary.path.empty()) {
        const std::string self = "/proc/self/fd/" + std::to_string(handle);
        const std::size_t nameMax = NameMax(FolderOrCurrent(target));
        for (int attempt = 0; attempt < 100 && temporary.path.empty(); ++attempt) {
            const std::string candidate = TemporaryNameFor(target, nameMax);
            RegisterPending(candidate);
            if (system_calls::Link(self.c_str(), candidate.c_str()) == 0) {
                temporary.path = candidate;
                break;
            }
            const int error = errno;
            ForgetPending(candidate);
            if (error != EEXIST) {
                ::close(handle);
                errno = error;
                return -1;
            }
        }
    }
    // The lock stays until the rename, so that no cleanup takes the file.
    if (temporary.path.empty() ||
        system_calls::Rename(temporary.path.c_str(), target.c_str()) != 0) {
        const int error = temporary.path.empty() ? EEXIST : errno;
        ::close(handle);
        errno = error;
        return -1;
    }
    ForgetPending(temporary.path);
    temporary.path.clear();
    // The file is in place and was synced before: what follows cannot undo
    // the save, and nothing of it is reported.
    ::close(handle);
    SyncFolder(FolderOrCurrent(target));
    return 0;
}

void DiscardTemporary(int handle, TemporaryFile& temporary)
{
    if (!temporary.path.empty()) {
        ::unlink(temporary.path.c_str());
        ForgetPending(temporary.path);
        temporary.path.clear();
    }
    if (handle >= 0)
        ::close(handle);
}

void RemoveLeftovers(const std::string& folder)
{
    DIR* entries = ::opendir(folder.empty() ? "." : folder.c_str());
    if (entries == nullptr)
        return;
    const int folderHandle = ::dirfd(entries);
    while (const dirent* entry = ::readdir(entries)) {
        if (!IsTemporaryName(entry->d_name))
            continue;
        // A save in progress holds the lock on its file; a dead one does not.
        const int handle = ::openat(folderHandle, entry->d_name,
                                    O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        if (handle < 0)
            continue;
        struct stat opened {};
        struct stat named {};
        if (::fstat(handle, &opened) == 0 && S_ISREG(opened.st_mode) &&
            ::flock(handle, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(folderHandle, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            SameFile(opened, named))
            ::unlinkat(folderHandle, entry->d_name, 0);
        ::close(handle);
    }
    ::closedir(entries);
}

int IdentifyPath(const std::string& path, FileIdentity& identity)
{
    identity = FileIdentity();
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return errno == ENOENT || errno == ENOTDIR ? 0 : -1;
    identity = IdentityOf(status);
    return 0;
}

int IdentifyHandle(int handle, FileIdentity& identity)
{
    struct stat status {};
    if (::fstat(handle, &status) != 0)
        return -1;
    identity = IdentityOf(status);
    return 0;
}

int OpenToInspect(const std::string& path)
{
    // Not blocking: should a pipe have taken the file's place, the open
    // returns at once and the pipe is refused.
    const int handle = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    struct stat status {};
    if (handle >= 0 && (::fstat(handle, &status) != 0 || !S_ISREG(status.st_mode))) {
        ::close(handle);
        errno = EACCES;
        return -1;
    }
    return handle;
}

long long ReadToInspect(int handle, void* buffer, std::size_t count)
{
    ssize_t got = 0;
    do
        got = ::read(handle, buffer, count > SSIZE_MAX ? SSIZE_MAX : count);
    while (got < 0 && errno == EINTR);
    return got;
}

void CloseInspected(int handle)
{
    ::close(handle);
}

void PrepareProcessForSaving()
{
    // A standard handle that is closed would be the number the next open file
    // gets, and output meant for it would land in a saved file.
    for (const int standard : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(standard, F_GETFD) >= 0 || errno != EBADF)
            continue;
        const int placeholder = ::open("/dev/null", O_RDONLY);
        if (placeholder >= 0 && placeholder != standard) {
            ::dup2(placeholder, standard);
            ::close(placeholder);
        }
    }
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL)
            continue; // an ignored SIGHUP (nohup) stays ignored
        struct sigaction cleanup {};
        cleanup.sa_handler = RemovePendingAndEnd;
        sigemptyset(&cleanup.sa_mask);
        cleanup.sa_flags = SA_RESETHAND;
        ::sigaction(signal, &cleanup, nullptr);
    }
}

std::vector<std::string> ProgramArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

bool IsReadOnly(const std::string& path)
{
    return ::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0;
}

} // namespace platform_file
