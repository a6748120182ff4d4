#include "framework/FileStamp.h"

#include "framework/CFile.h"

namespace {

// FNV-1a with 64 bits: quick, and ample to tell two versions of one file
// apart. It need not withstand a collision made on purpose: whoever can
// write the file can replace it anyway.
constexpr std::uint64_t kFnvOffset = 0xCBF29CE484222325u;
constexpr std::uint64_t kFnvPrime = 0x00000100000001B3u;

} // namespace

FileStamp FileStamp::OfPath(const std::string& path)
{
    FileStamp stamp;
    std::uint64_t hash = kFnvOffset;
    const auto add = [&hash](const std::uint8_t* bytes, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i)
            hash = (hash ^ bytes[i]) * kFnvPrime;
    };
    if (platform_file::InspectContent(path, kMaxHashedSize, stamp.m_identity, add) == 0) {
        stamp.m_bHashed = true;
        stamp.m_contentHash = hash;
    } else if (platform_file::IdentifyPath(path, stamp.m_identity) != 0) {
        stamp.m_identity = platform_file::FileIdentity();
    }
    return stamp;
}

FileStamp FileStamp::FromParts(const platform_file::FileIdentity& identity, bool hashed,
                               std::uint64_t contentHash)
{
    FileStamp stamp;
    stamp.m_identity = identity;
    stamp.m_bHashed = hashed;
    stamp.m_contentHash = hashed ? contentHash : 0;
    return stamp;
}

FileStamp FileStamp::OfOpenFile(const CFile& file)
{
    platform_file::FileIdentity read;
    if (!file.GetIdentity(read))
        return FileStamp();
    FileStamp stamp = OfPath(file.GetFilePath());
    if (!(stamp.m_identity == read)) {
        stamp = FileStamp();
        stamp.m_identity = read;
    }
    return stamp;
}

FileStamp::Comparison FileStamp::CompareWith(const std::string& path) const
{
    if (!IsOfRegularFile())
        return Comparison::notComparable;
    platform_file::FileIdentity now;
    if (platform_file::IdentifyPath(path, now) != 0)
        return Comparison::notComparable;
    if (now.kind == platform_file::NodeKind::absent)
        return Comparison::missing;
    if (now.kind != platform_file::NodeKind::regular)
        return Comparison::notComparable;
    if (now == m_identity)
        return Comparison::unchanged;
    if (now.size != m_identity.size || !m_bHashed)
        return Comparison::changed;
    const FileStamp current = OfPath(path);
    return current.m_bHashed && current.m_contentHash == m_contentHash ? Comparison::unchanged
                                                                       : Comparison::changed;
}
