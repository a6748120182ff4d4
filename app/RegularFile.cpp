#include "app/RegularFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

RegularFile::Content ReadOpenFile(int file, qint64 limit)
{
    using RegularFile::Status;
    struct stat status {};
    if (::fstat(file, &status) != 0 || !S_ISREG(status.st_mode))
        return {Status::unusable, {}};
    if (status.st_size > limit)
        return {Status::tooLarge, {}};
    RegularFile::Content content{Status::read, {}};
    content.bytes.reserve(status.st_size);
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {Status::unusable, {}};
        if (got == 0)
            return content;
        // A file that grew meanwhile is still held to the limit.
        content.bytes.append(buffer, got);
        if (content.bytes.size() > limit)
            return {Status::tooLarge, {}};
    }
}

} // namespace

RegularFile::Content RegularFile::Read(const QString& path, qint64 limit, bool followLink)
{
    // Without O_NONBLOCK, opening a named pipe waits for a writer.
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW);
    const int file = ::open(QFile::encodeName(path).constData(), flags);
    if (file < 0)
        return {errno == ENOENT ? Status::missing : Status::unusable, {}};
    Content content = ReadOpenFile(file, limit);
    ::close(file);
    return content;
}
