#include "document/RecoveryJournal.h"

#include "framework/AtomicReplaceFile.h"
#include "framework/CFile.h"
#include "framework/CFileException.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <string_view>

namespace {

using Bytes = std::vector<std::uint8_t>;
using ByteSpan = std::span<const std::uint8_t>;

constexpr std::string_view kMagic = "Palvane journal\n";
static_assert(kMagic.size() + 8 == RecoveryJournal::kHeaderSize);
constexpr std::size_t kFieldHeaderSize = 8;
constexpr std::size_t kSelectionSize = 8;
constexpr std::size_t kPaletteSize = sizeof(CPalvaneDoc::Palette);
// The file's kind, five 64-bit numbers of its identity, whether its content
// was hashed, and the hash.
constexpr std::size_t kFileStampSize = 4 + 5 * 8 + 1 + 8;
static_assert(kPaletteSize == 768);

void PutU32(Bytes& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutU64(Bytes& out, std::uint64_t value)
{
    PutU32(out, static_cast<std::uint32_t>(value));
    PutU32(out, static_cast<std::uint32_t>(value >> 32));
}

std::uint32_t GetU32(ByteSpan bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    return value;
}

std::uint64_t GetU64(ByteSpan bytes, std::size_t at)
{
    return GetU32(bytes, at) | static_cast<std::uint64_t>(GetU32(bytes, at + 4)) << 32;
}

void PutBytes(Bytes& out, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out.insert(out.end(), bytes, bytes + size);
}

// Each field the journal holds: how it is written, and how it is read back
// once its size is known to lie within the bounds. A reader returns false
// for a value the journal cannot hold. An optional field whose writer adds
// no bytes is left out of the journal. A field added later is one more row,
// not required, so that journals written before it still read.
struct Field {
    std::string_view tag;
    bool required;
    std::size_t minSize;
    std::size_t maxSize;
    void (*write)(const RecoveryJournal& journal, Bytes& out);
    bool (*read)(ByteSpan data, RecoveryJournal& journal);
};

bool IsSelectionIndex(std::int32_t value)
{
    return value >= -1 && value < CPalvaneDoc::kPaletteSize;
}

// No title or path holds a NUL byte: the system could not name a file so.
bool ReadText(ByteSpan data, std::string& text)
{
    if (std::find(data.begin(), data.end(), 0) != data.end())
        return false;
    text.assign(data.begin(), data.end());
    return true;
}

const Field kFields[] = {
    {"PALT", true, kPaletteSize, kPaletteSize,
     [](const RecoveryJournal& journal, Bytes& out) {
         PutBytes(out, journal.palette.data(), kPaletteSize);
     },
     [](ByteSpan data, RecoveryJournal& journal) {
         std::memcpy(journal.palette.data(), data.data(), kPaletteSize);
         return true;
     }},
    {"SELN", true, kSelectionSize, kSelectionSize,
     [](const RecoveryJournal& journal, Bytes& out) {
         PutU32(out, static_cast<std::uint32_t>(journal.selectionStart));
         PutU32(out, static_cast<std::uint32_t>(journal.selectionEnd));
     },
     [](ByteSpan data, RecoveryJournal& journal) {
         journal.selectionStart = static_cast<std::int32_t>(GetU32(data, 0));
         journal.selectionEnd = static_cast<std::int32_t>(GetU32(data, 4));
         return IsSelectionIndex(journal.selectionStart) && IsSelectionIndex(journal.selectionEnd);
     }},
    {"TITL", true, 0, RecoveryJournal::kMaxTextSize,
     [](const RecoveryJournal& journal, Bytes& out) {
         PutBytes(out, journal.title.data(), journal.title.size());
     },
     [](ByteSpan data, RecoveryJournal& journal) { return ReadText(data, journal.title); }},
    {"PATH", true, 0, RecoveryJournal::kMaxTextSize,
     [](const RecoveryJournal& journal, Bytes& out) {
         PutBytes(out, journal.path.data(), journal.path.size());
     },
     [](ByteSpan data, RecoveryJournal& journal) { return ReadText(data, journal.path); }},
    {"STMP", false, kFileStampSize, kFileStampSize,
     [](const RecoveryJournal& journal, Bytes& out) {
         const platform_file::FileIdentity& identity = journal.fileStamp.GetIdentity();
         if (identity.kind == platform_file::NodeKind::absent)
             return; // no file was read or saved
         PutU32(out, static_cast<std::uint32_t>(identity.kind));
         PutU64(out, identity.device);
         PutU64(out, identity.fileNumber);
         PutU64(out, identity.size);
         PutU64(out, static_cast<std::uint64_t>(identity.modifiedSeconds));
         PutU64(out, static_cast<std::uint64_t>(identity.modifiedNanoseconds));
         out.push_back(journal.fileStamp.IsHashed() ? 1 : 0);
         PutU64(out, journal.fileStamp.GetContentHash());
     },
     [](ByteSpan data, RecoveryJournal& journal) {
         const std::uint32_t kind = GetU32(data, 0);
         const std::uint8_t hashed = data[44];
         if (kind == static_cast<std::uint32_t>(platform_file::NodeKind::absent) ||
             kind > static_cast<std::uint32_t>(platform_file::NodeKind::other) || hashed > 1)
             return false;
         platform_file::FileIdentity identity;
         identity.kind = static_cast<platform_file::NodeKind>(kind);
         identity.device = GetU64(data, 4);
         identity.fileNumber = GetU64(data, 12);
         identity.size = GetU64(data, 20);
         identity.modifiedSeconds = static_cast<std::int64_t>(GetU64(data, 28));
         identity.modifiedNanoseconds = static_cast<std::int64_t>(GetU64(data, 36));
         journal.fileStamp = FileStamp::FromParts(identity, hashed == 1, GetU64(data, 45));
         return true;
     }},
};
constexpr std::size_t kFieldCount = std::size(kFields);

// Tags are four printable ASCII characters, known or not.
bool IsTag(ByteSpan tag)
{
    return std::all_of(tag.begin(), tag.end(),
                       [](std::uint8_t c) { return c >= 0x21 && c < 0x7F; });
}

std::string TagText(ByteSpan tag)
{
    return IsTag(tag) ? std::string(tag.begin(), tag.end()) : std::string("(unprintable)");
}

} // namespace

RecoveryJournal RecoveryJournal::Of(const CPalvaneDoc& document)
{
    RecoveryJournal journal;
    journal.palette = document.m_palette;
    journal.selectionStart = document.m_nSelStart;
    journal.selectionEnd = document.m_nSelEnd;
    journal.title = document.GetTitle();
    journal.path = document.GetPathName();
    journal.fileStamp = document.GetFileStamp();
    return journal;
}

void RecoveryJournal::RestoreInto(CPalvaneDoc& document) const
{
    document.m_palette = palette;
    document.m_nSelStart = selectionStart;
    document.m_nSelEnd = selectionEnd;
    if (!path.empty())
        document.SetPathName(path);
    document.SetTitle(title);
    document.SetFileStamp(fileStamp);
    // The document-changed protocol, but no step to undo: the restored
    // palette starts the history, and no state of it is the saved one.
    document.SetModifiedFlag(true);
    document.StartPaletteHistory();
    document.UpdateAllViews(nullptr);
}

std::vector<std::uint8_t> RecoveryJournal::Encode() const
{
    Bytes body;
    for (const Field& field : kFields) {
        PutBytes(body, field.tag.data(), field.tag.size());
        const std::size_t sizeAt = body.size();
        PutU32(body, 0);
        field.write(*this, body);
        const auto size = static_cast<std::uint32_t>(body.size() - sizeAt - 4);
        // An optional field with nothing to say is left out.
        if (!field.required && size == 0) {
            body.resize(sizeAt - field.tag.size());
            continue;
        }
        for (std::size_t i = 0; i < 4; ++i)
            body[sizeAt + i] = static_cast<std::uint8_t>(size >> (8 * i));
    }
    Bytes out;
    out.reserve(kHeaderSize + body.size());
    PutBytes(out, kMagic.data(), kMagic.size());
    PutU32(out, kVersion);
    PutU32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::optional<RecoveryJournal> RecoveryJournal::Decode(std::span<const std::uint8_t> bytes,
                                                       std::string& reason)
{
    auto refuse = [&reason](std::string why) {
        reason = std::move(why);
        return std::nullopt;
    };
    if (bytes.size() < kHeaderSize)
        return refuse(bytes.empty() ? "the file is empty" : "the header is cut short");
    if (!std::equal(kMagic.begin(), kMagic.end(), bytes.begin()))
        return refuse("it is not a recovery journal");
    if (const std::uint32_t version = GetU32(bytes, 16); version != kVersion)
        return refuse("it has version " + std::to_string(version) + ", not " +
                      std::to_string(kVersion));
    if (bytes.size() > kMaxFileSize)
        return refuse("it is larger than a journal can be");
    const std::size_t bodySize = GetU32(bytes, 20);
    if (bodySize != bytes.size() - kHeaderSize)
        return refuse("its size says " + std::to_string(bodySize) + " bytes of fields, but " +
                      std::to_string(bytes.size() - kHeaderSize) + " follow");

    RecoveryJournal journal;
    bool seen[kFieldCount] = {};
    ByteSpan rest = bytes.subspan(kHeaderSize);
    while (!rest.empty()) {
        if (rest.size() < kFieldHeaderSize)
            return refuse("a field header is cut short");
        const ByteSpan tag = rest.first(4);
        const std::size_t size = GetU32(rest, 4);
        if (!IsTag(tag))
            return refuse("a field has no tag");
        if (size > rest.size() - kFieldHeaderSize)
            return refuse("field " + TagText(tag) + " runs past the end");
        const ByteSpan data = rest.subspan(kFieldHeaderSize, size);
        rest = rest.subspan(kFieldHeaderSize + size);

        const auto known =
            std::find_if(std::begin(kFields), std::end(kFields), [&](const Field& f) {
                return std::equal(f.tag.begin(), f.tag.end(), tag.begin());
            });
        if (known == std::end(kFields))
            continue; // written by a later editor
        const auto index = static_cast<std::size_t>(known - std::begin(kFields));
        if (seen[index])
            return refuse("field " + TagText(tag) + " appears twice");
        seen[index] = true;
        if (size < known->minSize || size > known->maxSize || !known->read(data, journal))
            return refuse("field " + TagText(tag) + " is malformed");
    }
    for (std::size_t i = 0; i < kFieldCount; ++i)
        if (kFields[i].required && !seen[i])
            return refuse("field " + std::string(kFields[i].tag) + " is missing");
    return journal;
}

void RecoveryJournal::Write(const std::string& filePath) const
{
    const Bytes bytes = Encode();
    AtomicReplaceFile file;
    CFileException error;
    if (!file.Open(filePath, CFile::modeCreate | CFile::modeWrite, &error))
        throw error;
    file.Write(bytes.data(), bytes.size());
    file.Close();
}

std::optional<RecoveryJournal> RecoveryJournal::Read(const std::string& filePath,
                                                     std::string& reason)
{
    Bytes bytes;
    try {
        CFile file(filePath, CFile::modeRead | CFile::shareDenyWrite);
        // One byte more than allowed tells a file that is too large (or
        // grows while read) from one that fits.
        const std::uint64_t length = file.GetLength();
        bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(length, kMaxFileSize)) + 1);
        bytes.resize(file.Read(bytes.data(), bytes.size()));
        file.Close();
    } catch (const CFileException& error) {
        error.GetErrorMessage(reason);
        return std::nullopt;
    }
    if (bytes.size() > kMaxFileSize) {
        reason = "it is larger than a journal can be";
        return std::nullopt;
    }
    return Decode(bytes, reason);
}
