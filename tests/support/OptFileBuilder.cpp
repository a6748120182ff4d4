#include "tests/support/OptFileBuilder.h"

namespace {

constexpr int kHeaderBytes = 22;
constexpr int kPalettes = 8;

} // namespace

OptFileBuilder::OptFileBuilder(std::int32_t address) : m_base(address - 8), m_bytes(kHeaderBytes, 0)
{
    SetInt32(8, address);
}

std::int32_t OptFileBuilder::Stored(int position) const
{
    return position == kAbsent ? 0 : position + m_base;
}

int OptFileBuilder::Header(std::int32_t name, std::int32_t kind, std::int32_t count,
                           std::int32_t array, std::int32_t entries, std::int32_t data)
{
    return AppendInt32s({name, kind, count, array, entries, data});
}

int OptFileBuilder::Node(std::int32_t kind, const std::vector<int>& children)
{
    std::vector<std::int32_t> stored;
    for (const int child : children)
        stored.push_back(Stored(child));
    const int array = AppendInt32s(stored);
    return Header(0, kind, static_cast<std::int32_t>(children.size()), Stored(array), 0, 0);
}

int OptFileBuilder::Entries(std::int32_t kind, const std::vector<std::uint32_t>& values,
                            int perEntry)
{
    const int data = static_cast<int>(m_bytes.size());
    for (const std::uint32_t value : values)
        AppendInt32s({static_cast<std::int32_t>(value)});
    return Header(0, kind, 0, 0, static_cast<std::int32_t>(values.size()) / perEntry, Stored(data));
}

int OptFileBuilder::FaceBlock(const std::vector<Face>& faces)
{
    const int data = AppendInt32s({0x7EADBEEF}); // 4 bytes the reader skips
    for (std::size_t f = 0; f < faces.size(); ++f) {
        std::vector<std::int32_t> entry(faces[f].vertices.begin(), faces[f].vertices.end());
        for (int k = 0; k < 12; ++k)
            entry.push_back(static_cast<std::int32_t>(1000 * (f + 1)) + k);
        AppendInt32s(entry);
    }
    for (const Face& face : faces)
        for (const std::uint32_t value : face.normal)
            AppendInt32s({static_cast<std::int32_t>(value)});
    return Header(0, 1, 0, 0, static_cast<std::int32_t>(faces.size()), Stored(data));
}

int OptFileBuilder::NameBytes(const std::string& name)
{
    Bytes bytes(name.begin(), name.end());
    bytes.resize(9, 0);
    return Append(bytes);
}

int OptFileBuilder::TextureLink(const std::string& name)
{
    return Header(0, 7, 0, 0, 0, Stored(NameBytes(name)));
}

int OptFileBuilder::Texture(const std::string& name, const std::vector<std::uint16_t>& colors,
                            const Bytes& pixels)
{
    const int nameAt = NameBytes(name);
    Bytes series;
    for (int palette = 0; palette < kPalettes; ++palette) {
        for (int j = 0; j < 256; ++j) {
            std::uint16_t color = static_cast<std::uint16_t>(palette);
            if (palette == kPalettes - 1)
                color =
                    j < static_cast<int>(colors.size()) ? colors[static_cast<std::size_t>(j)] : 0;
            series.push_back(static_cast<std::uint8_t>(color));
            series.push_back(static_cast<std::uint8_t>(color >> 8));
        }
    }
    const int palettes = Append(series);
    const int header =
        AppendInt32s({Stored(palettes), 0, static_cast<std::int32_t>(pixels.size()), 0, 64, 32});
    Append(pixels);
    return Header(Stored(nameAt), 20, 0, 0, 0, Stored(header));
}

int OptFileBuilder::TextureHeader(int texture) const
{
    return Int32At(texture + 20) - m_base;
}

int OptFileBuilder::Append(const Bytes& bytes)
{
    const int position = static_cast<int>(m_bytes.size());
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    return position;
}

int OptFileBuilder::AppendInt32s(const std::vector<std::int32_t>& values)
{
    const int position = static_cast<int>(m_bytes.size());
    m_bytes.resize(m_bytes.size() + 4 * values.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        SetInt32(position + static_cast<int>(4 * i), values[i]);
    return position;
}

std::int32_t OptFileBuilder::Int32At(int position) const
{
    std::uint32_t value = 0;
    for (int k = 3; k >= 0; --k)
        value = (value << 8) | m_bytes[static_cast<std::size_t>(position + k)];
    return static_cast<std::int32_t>(value);
}

void OptFileBuilder::PutInt32(Bytes& bytes, int position, std::int32_t value)
{
    for (int k = 0; k < 4; ++k)
        bytes[static_cast<std::size_t>(position + k)] =
            static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * k));
}

OptFileBuilder::Bytes OptFileBuilder::Build(const std::vector<int>& topLevel)
{
    std::vector<std::int32_t> stored;
    for (const int node : topLevel)
        stored.push_back(Stored(node));
    const int array = AppendInt32s(stored);
    SetInt32(14, static_cast<std::int32_t>(topLevel.size()));
    SetInt32(18, Stored(array));
    return m_bytes;
}

OptFileBuilder::Bytes SampleOptModel()
{
    OptFileBuilder opt;
    const int hull = opt.Texture("Hull", {0xFFFF, 0xF800, 0x07E0, 0x001F}, {1, 2, 3, 4, 5, 6});
    const int hullFaces = opt.FaceBlock({{{0, 1, 2, -1}, {7, 8, 9}}, {{0, 2, 3, 4}, {10, 11, 12}}});
    const int wing = opt.Texture("WingPanel", {0x1234}, {9, 9});
    const int link = opt.TextureLink("Tex00001");
    const int linkFaces = opt.FaceBlock({{{5, 6, 7, 8}, {1, 2, 3}}});
    const int choice = opt.Node(24, {opt.TextureLink("Tex00000"), opt.TextureLink("Tex00001")});
    const int choiceFaces = opt.FaceBlock({{{1, 2, 3, -1}, {4, 5, 6}}});
    const int lod = opt.Node(0, {link, linkFaces, choice, choiceFaces});
    const int list = opt.Node(21, {opt.Node(0), opt.Node(0), lod});
    const int vertices = opt.Entries(3, {1, 2, 3, 4, 5, 6}, 3);
    const int normals = opt.Entries(11, {7, 8, 9}, 3);
    const int coords = opt.Entries(13, {10, 11, 12, 13}, 2);
    const int body = opt.Node(0, {vertices, normals, coords, hull, hullFaces, list});
    const int engine = opt.Node(0, {wing, opt.Node(22, {wing}), OptFileBuilder::kAbsent});
    return opt.Build({body, engine});
}

OptFileBuilder::Bytes SharedBlocksOptModel()
{
    OptFileBuilder opt;
    const int texture = opt.Texture("t", {0xFFFF}, {1, 2, 3});
    const int faces = opt.FaceBlock({{{0, 1, 2, -1}, {7, 8, 9}}, {{3, 4, 5, 6}, {1, 2, 3}}});
    const int vertices = opt.Entries(3, {1, 2, 3}, 3);
    const int link = opt.TextureLink("abc00005");
    return opt.Build(
        {opt.Node(21, {texture, faces, vertices, link, faces, texture, faces, vertices}),
         opt.Node(0, {faces})});
}
