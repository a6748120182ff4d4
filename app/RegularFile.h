#pragma once

#include <QByteArray>
#include <QString>

// Reading a file that someone else may have put at a known path: a named
// pipe, a device or a socket there is refused at once instead of blocking
// or reading for ever, and no more than a given size is read.
namespace RegularFile {

enum class Status {
    missing,  // nothing at the path
    read,     // the bytes are the whole file
    tooLarge, // a regular file longer than the limit
    unusable, // not a regular file, a link where none is followed, or unreadable
};

struct Content {
    Status status = Status::missing;
    QByteArray bytes;
};

// Reads at most `limit` bytes of the file at `path`, following a link only
// when `followLink` is set.
Content Read(const QString& path, qint64 limit, bool followLink = true);

} // namespace RegularFile
