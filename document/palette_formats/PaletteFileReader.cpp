#include "document/palette_formats/PaletteFileReader.h"

#include "framework/CFile.h"
#include "framework/FileFormatException.h"

#include <vector>

namespace palette_formats {

namespace {

// Reads up to `limit` bytes and one more, so that a longer file shows itself.
// The length the file reports is not trusted: a pipe has none.
std::vector<std::uint8_t> ReadAtMost(const std::string& path, std::uint64_t limit)
{
    constexpr std::size_t kChunk = 64 * 1024;
    CFile file(path, CFile::modeRead | CFile::shareDenyNone);
    std::vector<std::uint8_t> bytes;
    while (bytes.size() <= limit) {
        const std::size_t had = bytes.size();
        bytes.resize(had + kChunk);
        const std::size_t count = file.Read(bytes.data() + had, kChunk);
        bytes.resize(had + count);
        if (count == 0)
            break;
    }
    file.Close();
    return bytes;
}

} // namespace

std::string_view PathExtension(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

PaletteFile ReadPaletteFile(const std::string& path, const CodecList& codecs)
{
    const std::vector<std::uint8_t> bytes = ReadAtMost(path, kMaxPaletteFileSize);
    if (bytes.size() > kMaxPaletteFileSize)
        throw FileFormatException(path + " is larger than 16 MiB, too large for a palette file");
    PaletteFile file;
    file.codec = DetectPaletteCodec(bytes, PathExtension(path), codecs);
    if (file.codec == nullptr)
        throw FileFormatException(path + " is not a palette file: expected " +
                                  ExpectedFormats(codecs));
    file.read = file.codec->Read(bytes);
    if (!file.read.Succeeded())
        throw FileFormatException(path + " is not a valid " + std::string(file.codec->Name()) +
                                  ": " + file.read.error);
    return file;
}

} // namespace palette_formats
