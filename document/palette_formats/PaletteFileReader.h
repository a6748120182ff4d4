#pragma once

#include "document/palette_formats/PaletteFormats.h"

#include <cstdint>
#include <string>

namespace palette_formats {

// No palette file comes near this; larger files are refused before they are
// read whole.
inline constexpr std::uint64_t kMaxPaletteFileSize = 16 * 1024 * 1024;

// A palette file read: its format and colours.
struct PaletteFile {
    const PaletteCodec* codec = nullptr;
    PaletteRead read; // succeeded
};

// Reads the file at `path` whole and reads it with the codec of `codecs` that
// recognises its content (the extension only settles ties). A file that
// cannot be read raises CFileException; one that is too large, in no format
// of `codecs`, or malformed raises FileFormatException with a message that
// names the file and what was wrong:
//   "x.txt is not a palette file: expected a JASC-PAL palette, ..."
//   "x.gpl is not a valid GIMP palette: line 7: expected three numbers from 0 to 255"
PaletteFile ReadPaletteFile(const std::string& path, const CodecList& codecs);

// The extension of the last name in `path`, without the dot; empty when none.
std::string_view PathExtension(std::string_view path);

} // namespace palette_formats
