// Recovery journals written to real files and read back, whole and damaged.

#include "document/RecoveryJournal.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

RecoveryJournal Patterned(std::string title, std::string path, int selStart, int selEnd)
{
    RecoveryJournal journal;
    for (int i = 0; i < CPalvaneDoc::kPaletteSize; ++i)
        journal.palette[static_cast<std::size_t>(i)] =
            ColorTriple(std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 7));
    journal.selectionStart = selStart;
    journal.selectionEnd = selEnd;
    journal.title = std::move(title);
    journal.path = std::move(path);
    return journal;
}

void PutU32At(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Where the fields of a journal written by Patterned() start: the palette's
// header at 24, its data at 32, the selection's header at 800, the title's
// at 816; the file state's header is 61 bytes from the end.
constexpr std::size_t kPaletteField = 24;
constexpr std::size_t kSelectionField = 800;
constexpr std::size_t kTitleField = 816;
// The file state is the last field, 53 bytes after its header.
constexpr std::size_t kFileStampField = 8 + 53;

TEST(RecoveryJournalTest, WhatIsWrittenReadsBackTheSame)
{
    TempFolder folder;
    RecoveryJournal journals[] = {
        Patterned("JKCMP3", "", -1, -1),
        Patterned("Ünïcode ☃.cmp", folder / "Ünïcode ☃.cmp", 0, 255),
        Patterned(std::string(RecoveryJournal::kMaxTextSize, 't'),
                  "/" + std::string(RecoveryJournal::kMaxTextSize - 1, 'p'), 32, 47),
    };
    // The state of the file a document was read from comes back too.
    WriteFileBytes(journals[1].path, Bytes(832, 7));
    journals[1].fileStamp = FileStamp::OfPath(journals[1].path);
    ASSERT_TRUE(journals[1].fileStamp.IsHashed());
    for (const RecoveryJournal& journal : journals) {
        SCOPED_TRACE(journal.title.substr(0, 20));
        const std::string file = folder / "journal";
        journal.Write(file);
        std::string reason;
        const auto read = RecoveryJournal::Read(file, reason);
        ASSERT_TRUE(read.has_value()) << reason;
        EXPECT_EQ(*read, journal);

        // A field a later editor adds is passed over.
        Bytes later = ReadFileBytes(file);
        later.insert(later.end(), {'D', 'I', 'S', 'K', 3, 0, 0, 0, 1, 2, 3});
        PutU32At(later, 20, static_cast<std::uint32_t>(later.size() - 24));
        const auto skipped = RecoveryJournal::Decode(later, reason);
        ASSERT_TRUE(skipped.has_value()) << reason;
        EXPECT_EQ(*skipped, journal);
    }
}

TEST(RecoveryJournalTest, DamagedJournalsAreRefused)
{
    RecoveryJournal whole = Patterned("a.cmp", "/x/a.cmp", 3, 9);
    platform_file::FileIdentity identity;
    identity.kind = platform_file::NodeKind::regular;
    identity.size = 832;
    whole.fileStamp = FileStamp::FromParts(identity, true, 42);
    const Bytes good = whole.Encode();
    auto cut = [&](std::size_t size) {
        return Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
    };
    auto with = [&](std::size_t at, std::uint32_t value) {
        Bytes bytes = good;
        PutU32At(bytes, at, value);
        return bytes;
    };
    auto withByte = [&](std::size_t at, std::uint8_t value) {
        Bytes bytes = good;
        bytes[at] = value;
        return bytes;
    };
    Bytes twice = good;
    twice.insert(twice.end(), good.begin() + kSelectionField, good.begin() + kTitleField);
    PutU32At(twice, 20, static_cast<std::uint32_t>(twice.size() - 24));
    Bytes missing = cut(kSelectionField);
    missing.insert(missing.end(), good.begin() + kTitleField, good.end());
    PutU32At(missing, 20, static_cast<std::uint32_t>(missing.size() - 24));
    Bytes huge = good;
    huge.resize(RecoveryJournal::kMaxFileSize + 1);
    PutU32At(huge, 20, static_cast<std::uint32_t>(huge.size() - 24));

    const struct {
        const char* name;
        Bytes bytes;
    } rows[] = {
        {"empty", {}},
        {"cut in the magic", cut(7)},
        {"cut in the header", cut(22)},
        {"cut in a field header", cut(kPaletteField + 5)},
        {"cut in the palette", cut(kPaletteField + 8 + 400)},
        {"cut before the last byte", cut(good.size() - 1)},
        {"another magic", withByte(0, 'p')},
        {"version 0", with(16, 0)},
        {"version 2", with(16, 2)},
        {"body size beyond the file", with(20, 0xFFFFFFFF)},
        {"body size short of the file", with(20, std::uint32_t(good.size() - 25))},
        {"field size beyond the file", with(kPaletteField + 4, 0xFFFFFFFF)},
        {"palette of the wrong size", with(kPaletteField + 4, 767)},
        {"selection beyond the palette", with(kSelectionField + 8, 256)},
        {"selection below none", with(kSelectionField + 12, std::uint32_t(-2))},
        {"field without a tag", withByte(kSelectionField, 0)},
        {"NUL in the title", withByte(kTitleField + 8, 0)},
        {"field twice", twice},
        {"selection missing", missing},
        {"larger than any journal", huge},
        {"file state of no known kind", with(good.size() - kFileStampField + 8, 9)},
        {"file state of no file", with(good.size() - kFileStampField + 8, 0)},
    };
    TempFolder folder;
    for (const auto& row : rows) {
        WriteFileBytes(folder / "journal", row.bytes);
        std::string reason;
        EXPECT_FALSE(RecoveryJournal::Read(folder / "journal", reason).has_value()) << row.name;
        EXPECT_FALSE(reason.empty()) << row.name;
    }
    std::string reason;
    EXPECT_FALSE(RecoveryJournal::Read(folder / "absent", reason).has_value());
    EXPECT_NE(reason.find("absent"), std::string::npos) << reason;
}

} // namespace
