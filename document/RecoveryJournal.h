#pragma once

#include "document/CPalvaneDoc.h"
#include "framework/FileStamp.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// What the editor keeps of a document with unsaved changes, so that they
// outlive an editor that is killed or crashes: the palette, the selection,
// the title and the file the document belongs to, with that file's state.
//
// The file is a header, tagged fields and nothing else, all numbers
// little-endian:
//
//   "Palvane journal\n"   16 bytes
//   version               u32, kVersion
//   body size             u32, the bytes of the fields that follow
//   fields                each a 4-character tag, a u32 size and that many bytes
//
// A reader refuses what it cannot trust (another magic or version, a size
// that disagrees with the file, a known field of the wrong size or value, a
// known field twice or a required one missing) and skips fields it does not
// know, so that a later editor can add one without a new version.
class RecoveryJournal {
public:
    static constexpr std::uint32_t kVersion = 1;
    static constexpr std::size_t kHeaderSize = 24;
    // Titles and paths are UTF-8 bytes. The longest path Windows allows is
    // 32767 UTF-16 units, at most three bytes each in UTF-8.
    static constexpr std::size_t kMaxTextSize = 128 * 1024;
    // No journal the editor writes comes near this; a reader allocates no
    // more than this for a file.
    static constexpr std::size_t kMaxFileSize = 1024 * 1024;

    CPalvaneDoc::Palette palette{};
    std::int32_t selectionStart = -1;
    std::int32_t selectionEnd = -1;
    std::string title;
    std::string path; // empty for a document that has never been saved
    // The file at `path` as the document last read or saved it, so that a
    // restored document still asks before replacing a file changed since.
    FileStamp fileStamp;

    // The journal of `document` as it is now.
    static RecoveryJournal Of(const CPalvaneDoc& document);
    // Gives `document` the journal's palette, selection, file and title, and
    // tells its views, which leaves it modified.
    void RestoreInto(CPalvaneDoc& document) const;

    std::vector<std::uint8_t> Encode() const;
    // The journal in `bytes`, or nullopt with the reason it was refused in
    // `reason`.
    static std::optional<RecoveryJournal> Decode(std::span<const std::uint8_t> bytes,
                                                 std::string& reason);

    // Writes the journal to `filePath` completely or not at all, raising
    // CFileException on failure.
    void Write(const std::string& filePath) const;
    // Reads the journal at `filePath`, or gives nullopt with the reason
    // (the file's error, or why its contents were refused).
    static std::optional<RecoveryJournal> Read(const std::string& filePath, std::string& reason);

    friend bool operator==(const RecoveryJournal&, const RecoveryJournal&) = default;
};
