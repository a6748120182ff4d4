#include "cli/OptJson.h"

#include "cli/DocumentJson.h"
#include "opt/COptReader.h"

#include <array>
#include <cstdio>

namespace {

template <typename Values> std::string JsonArray(const Values& values)
{
    std::string out = "[";
    for (const auto value : values)
        out += (out.size() > 1 ? "," : "") + std::to_string(value);
    return out + "]";
}

// Node depth is bounded by the reader, so the recursion is too.
void AppendNode(const OptNode& node, std::string& out)
{
    out += "{\"kind\":" + std::to_string(node.kind) +
           ",\"position\":" + std::to_string(node.position) +
           ",\"texture\":" + std::to_string(node.texture) +
           ",\"mesh\":" + std::to_string(node.mesh) + ",\"index\":" + std::to_string(node.index) +
           ",\"children\":[";
    for (std::size_t i = 0; i < node.children.size(); ++i) {
        if (i > 0)
            out += ',';
        AppendNode(node.children[i], out);
    }
    out += "]}";
}

void AppendMesh(const OptMesh& mesh, std::string& out)
{
    out += "{\"vertices\":" + std::to_string(mesh.vertices.size()) +
           ",\"normals\":" + std::to_string(mesh.normals.size()) +
           ",\"texCoords\":" + std::to_string(mesh.texCoords.size()) + ",\"faces\":[";
    for (std::size_t i = 0; i < mesh.faces.size(); ++i) {
        const OptFace& face = mesh.faces[i];
        out += (i > 0 ? ",{\"vertexIndex\":" : "{\"vertexIndex\":") + JsonArray(face.vertexIndex) +
               ",\"cornerCount\":" + std::to_string(face.cornerCount) +
               ",\"level\":" + std::to_string(face.level) +
               ",\"texture\":" + std::to_string(face.texture) +
               ",\"normal\":" + JsonArray(face.normal) + "}";
    }
    out += "]}";
}

void AppendTexture(const OptTexture& texture, std::string& out)
{
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08x", static_cast<unsigned>(Crc32(texture.pixels)));
    out += "{\"name\":" + JsonString(texture.name) +
           ",\"pixelPos\":" + std::to_string(texture.pixelPos) +
           ",\"palettePos\":" + std::to_string(texture.palettePos) +
           ",\"pixelSize\":" + std::to_string(texture.pixelSize) + ",\"palette\":\"" +
           PaletteToHex(texture.palette) + "\",\"pixelsCrc32\":\"" + crc + "\"}";
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
    std::string out = "{\"base\":" + std::to_string(reader.m_nBase) +
                      ",\"choice\":" + std::to_string(reader.m_nChoice) +
                      ",\"levelCount\":" + std::to_string(reader.m_nLevelCount) +
                      ",\"paletteBias\":" + std::to_string(reader.m_nPaletteBias) + ",\"nodes\":";
    AppendList(reader.m_nodes, AppendNode, out);
    out += ",\"meshes\":";
    AppendList(reader.m_meshes, AppendMesh, out);
    out += ",\"textures\":";
    AppendList(reader.m_textures, AppendTexture, out);
    return out + "}";
}
