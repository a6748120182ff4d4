#include "cli/OptJson.h"

#include "cli/DocumentJson.h"
#include "opt/COptReader.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <string>

namespace {

// Everything is appended to one string: a model read from a damaged file
// can hold thousands of nodes.
template <typename Integer> void AppendNumber(std::string& out, Integer value)
{
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

template <typename Integer> void AppendField(std::string& out, const char* name, Integer value)
{
    out += name;
    AppendNumber(out, value);
}

template <typename Values>
void AppendArray(std::string& out, const char* name, const Values& values)
{
    out += name;
    out += '[';
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            out += ',';
        AppendNumber(out, values[i]);
    }
    out += ']';
}

// Node depth is bounded by the reader, so the recursion is too.
void AppendNode(const OptNode& node, std::string& out)
{
    AppendField(out, "{\"kind\":", node.kind);
    AppendField(out, ",\"position\":", node.position);
    AppendField(out, ",\"texture\":", node.texture);
    AppendField(out, ",\"mesh\":", node.mesh);
    AppendField(out, ",\"index\":", node.index);
    out += ",\"children\":[";
    for (std::size_t i = 0; i < node.children.size(); ++i) {
        if (i > 0)
            out += ',';
        AppendNode(node.children[i], out);
    }
    out += "]}";
}

void AppendMesh(const OptMesh& mesh, std::string& out)
{
    AppendField(out, "{\"vertices\":", mesh.vertices.size());
    AppendField(out, ",\"normals\":", mesh.normals.size());
    AppendField(out, ",\"texCoords\":", mesh.texCoords.size());
    out += ",\"faces\":[";
    for (std::size_t i = 0; i < mesh.faces.size(); ++i) {
        const OptFace& face = mesh.faces[i];
        AppendArray(out, i > 0 ? ",{\"vertexIndex\":" : "{\"vertexIndex\":", face.vertexIndex);
        AppendField(out, ",\"cornerCount\":", face.cornerCount);
        AppendField(out, ",\"level\":", face.level);
        AppendField(out, ",\"texture\":", face.texture);
        AppendArray(out, ",\"normal\":", face.normal);
        out += '}';
    }
    out += "]}";
}

void AppendTexture(const OptTexture& texture, std::string& out)
{
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08x", static_cast<unsigned>(Crc32(*texture.pixels)));
    out += "{\"name\":";
    out += JsonString(texture.name);
    AppendField(out, ",\"pixelPos\":", texture.pixelPos);
    AppendField(out, ",\"palettePos\":", texture.palettePos);
    AppendField(out, ",\"pixelSize\":", texture.pixelSize);
    out += ",\"palette\":\"";
    out += PaletteToHex(*texture.palette);
    out += "\",\"pixelsCrc32\":\"";
    out += crc;
    out += "\"}";
}

template <typename Record, typename Append>
void AppendList(const std::vector<Record>& records, Append append, std::string& out)
{
    out += '[';
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i > 0)
            out += ',';
        append(records[i], out);
    }
    out += ']';
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

std::string OptReaderToJson(const COptReader& reader)
{
    std::string out;
    AppendOptReaderJson(reader, out);
    return out;
}

void AppendOptReaderJson(const COptReader& reader, std::string& out)
{
    AppendField(out, "{\"base\":", reader.m_nBase);
    AppendField(out, ",\"choice\":", reader.m_nChoice);
    AppendField(out, ",\"levelCount\":", reader.m_nLevelCount);
    AppendField(out, ",\"paletteBias\":", reader.m_nPaletteBias);
    out += ",\"nodes\":";
    AppendList(reader.m_nodes, AppendNode, out);
    out += ",\"meshes\":";
    AppendList(reader.m_meshes, AppendMesh, out);
    out += ",\"textures\":";
    AppendList(reader.m_textures, AppendTexture, out);
    out += '}';
}
