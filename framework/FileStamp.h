#pragma once

#include "framework/PlatformFile.h"

#include <cstdint>
#include <string>

class CFile;

// What a document remembers of the file it was read from or last saved to,
// so that it can tell later whether another program has changed the file:
// the file's identity (device, number, size, modification time) and a hash
// of its content. A file whose identity changed but whose content did not
// (touched, or rewritten with the same bytes) is unchanged.
class FileStamp {
public:
    enum class Comparison {
        unchanged,
        changed,
        missing,       // nothing at the path any more: deleted or renamed away
        notComparable, // not a regular file, then or now, or not to be looked at
    };

    // Only files up to this size have their content hashed (a colormap has
    // 82,752 bytes at most), so that no look at a file reads more than this.
    // A larger file counts as changed as soon as its identity changes.
    static constexpr std::uint64_t kMaxHashedSize = std::uint64_t{16} << 20;

    // The stamp of no file, which compares as notComparable.
    FileStamp() = default;
    // The file at `path` as it is now.
    static FileStamp OfPath(const std::string& path);
    // The file that `file` has open (and has just read). When its name leads
    // to another file by now, only the identity of the one read is known.
    static FileStamp OfOpenFile(const CFile& file);

    // The parts of a stamp, for a record kept elsewhere (a recovery journal),
    // and the stamp made again from them.
    static FileStamp FromParts(const platform_file::FileIdentity& identity, bool hashed,
                               std::uint64_t contentHash);
    const platform_file::FileIdentity& GetIdentity() const { return m_identity; }
    bool IsHashed() const { return m_bHashed; }
    std::uint64_t GetContentHash() const { return m_contentHash; }
    bool operator==(const FileStamp&) const = default;

    bool IsOfRegularFile() const { return m_identity.kind == platform_file::NodeKind::regular; }
    // Compares the file now at `path` with this stamp. The file's content is
    // read only when its identity differs and its size does not.
    Comparison CompareWith(const std::string& path) const;

private:
    platform_file::FileIdentity m_identity;
    bool m_bHashed = false;
    std::uint64_t m_contentHash = 0;
};
