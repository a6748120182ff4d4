#pragma once

#include "document/ColorTriple.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Palette files of other programs, one codec per format. A codec judges
// bytes by their content, reads them into colours and writes colours back.
// Codecs work on bytes in memory and know nothing of files or documents.
namespace palette_formats {

// A palette holds at most this many colours; a reader keeps no more.
inline constexpr std::size_t kMaxColors = 256;

// The colours a codec read, or why it could not read them.
struct PaletteRead {
    std::vector<ColorTriple> colors; // in file order, at most kMaxColors
    std::size_t count = 0;           // how many the file holds, possibly more
    std::string error;               // empty when read: "line 7: expected ..."

    bool Succeeded() const { return error.empty(); }
    static PaletteRead Failure(std::string why)
    {
        PaletteRead read;
        read.error = std::move(why);
        return read;
    }
};

// How sure a codec is that bytes are in its format, judged by content only.
enum class Recognition {
    none,     // not this format
    possible, // content this format allows, as do others (768 plain bytes)
    likely,   // what this format's files look like (a first line of hex colours)
    certain,  // the format's own signature ("JASC-PAL", "RIFF....PAL ")
};

class PaletteCodec {
public:
    virtual ~PaletteCodec() = default;

    // What the format is called in messages and file filters: "GIMP palette".
    virtual std::string_view Name() const = 0;
    // The extension its files usually carry, without the dot: "gpl".
    virtual std::string_view Extension() const = 0;

    virtual Recognition Recognize(std::span<const std::uint8_t> bytes) const = 0;
    // Reads bytes this codec recognised (or any others: it then says what is
    // wrong with them). It allocates for no more colours than the bytes hold.
    virtual PaletteRead Read(std::span<const std::uint8_t> bytes) const = 0;
    // The file's bytes for `colors` (1 to kMaxColors of them); `title` names
    // the palette where the format has a place for a name.
    virtual std::string Write(std::span<const ColorTriple> colors,
                              std::string_view title) const = 0;
    // What the user should know about a file of `count` colours written in
    // this format; empty when nothing.
    virtual std::string NoteOnWriting(std::size_t /*count*/) const { return {}; }
};

inline std::string_view AsText(std::span<const std::uint8_t> bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}
inline std::span<const std::uint8_t> AsBytes(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

} // namespace palette_formats
