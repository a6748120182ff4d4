#include "cli/OptJson.h"

#include "cli/DocumentJson.h"
#include "opt/COptReader.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <map>
#include <ostream>
#include <string>

namespace {

// The JSON of one model, made in a string that goes out to the stream each
// time it has grown past a chunk: the text of a model can be far larger than
// the model, which lists shared blocks once for every place that refers to
// them.
class OptJsonWriter {
public:
    explicit OptJsonWriter(std::ostream& out) : m_out(out) { m_text.reserve(2 * kChunkBytes); }

    void Write(const COptReader& reader);

private:
    static constexpr std::size_t kChunkBytes = std::size_t{1} << 16;

    template <typename Integer> void Number(Integer value)
    {
        char digits[24];
        m_text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
    }
    template <typename Integer> void Field(const char* name, Integer value)
    {
        m_text += name;
        Number(value);
    }
    template <typename Values> void Array(const char* name, const Values& values)
    {
        m_text += name;
        m_text += '[';
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i > 0)
                m_text += ',';
            Number(values[i]);
        }
        m_text += ']';
    }
    template <typename List, typename WriteRecord> void Records(const List& list, WriteRecord write)
    {
        m_text += '[';
        bool first = true;
        for (const auto& record : list) {
            if (!first)
                m_text += ',';
            first = false;
            (this->*write)(record);
            if (m_text.size() >= kChunkBytes)
                Flush();
        }
        m_text += ']';
    }
    void Flush()
    {
        m_out.write(m_text.data(), static_cast<std::streamsize>(m_text.size()));
        m_text.clear();
    }

    void Node(const OptNode& node);
    void Mesh(const OptMesh& mesh);
    void Face(const OptFace& face);
    void Texture(const OptTexture& texture);

    std::ostream& m_out;
    std::string m_text;
    // Textures that share their pixels share their checksum.
    std::map<const OptTexture::Pixels*, std::uint32_t> m_checksums;
};

void OptJsonWriter::Write(const COptReader& reader)
{
    Field("{\"base\":", reader.m_nBase);
    Field(",\"choice\":", reader.m_nChoice);
    Field(",\"levelCount\":", reader.m_nLevelCount);
    Field(",\"paletteBias\":", reader.m_nPaletteBias);
    m_text += ",\"nodes\":";
    Records(reader.m_nodes, &OptJsonWriter::Node);
    m_text += ",\"meshes\":";
    Records(reader.m_meshes, &OptJsonWriter::Mesh);
    m_text += ",\"textures\":";
    Records(reader.m_textures, &OptJsonWriter::Texture);
    m_text += '}';
    Flush();
}

// Node depth is bounded by the reader, so the recursion is too.
void OptJsonWriter::Node(const OptNode& node)
{
    Field("{\"kind\":", node.kind);
    Field(",\"position\":", node.position);
    Field(",\"texture\":", node.texture);
    Field(",\"mesh\":", node.mesh);
    Field(",\"index\":", node.index);
    m_text += ",\"children\":";
    Records(node.children, &OptJsonWriter::Node);
    m_text += '}';
}

void OptJsonWriter::Mesh(const OptMesh& mesh)
{
    Field("{\"vertices\":", mesh.vertices.size());
    Field(",\"normals\":", mesh.normals.size());
    Field(",\"texCoords\":", mesh.texCoords.size());
    m_text += ",\"faces\":";
    Records(mesh.faces, &OptJsonWriter::Face);
    m_text += '}';
}

void OptJsonWriter::Face(const OptFace& face)
{
    Array("{\"vertexIndex\":", face.vertexIndex);
    Field(",\"cornerCount\":", face.cornerCount);
    Field(",\"level\":", face.level);
    Field(",\"texture\":", face.texture);
    Array(",\"normal\":", face.normal);
    m_text += '}';
}

void OptJsonWriter::Texture(const OptTexture& texture)
{
    const auto [checksum, isNew] = m_checksums.try_emplace(texture.pixels.get(), 0);
    if (isNew)
        checksum->second = Crc32(*texture.pixels);
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08x", static_cast<unsigned>(checksum->second));
    m_text += "{\"name\":";
    m_text += JsonString(texture.name);
    Field(",\"pixelPos\":", texture.pixelPos);
    Field(",\"palettePos\":", texture.palettePos);
    Field(",\"pixelSize\":", texture.pixelSize);
    m_text += ",\"palette\":\"";
    m_text += PaletteToHex(*texture.palette);
    m_text += "\",\"pixelsCrc32\":\"";
    m_text += crc;
    m_text += "\"}";
}

} // namespace

std::uint32_t Crc32(const std::vector<std::uint8_t>& bytes)
{
    static const std::array<std::uint32_t, 256> kTable = [] {
        std::array<std::uint32_t, 256> table{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        return table;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const std::uint8_t byte : bytes)
        crc = kTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void WriteOptReaderJson(const COptReader& reader, std::ostream& out)
{
    OptJsonWriter(out).Write(reader);
}
