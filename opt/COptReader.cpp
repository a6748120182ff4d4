#include "opt/COptReader.h"

#include "framework/CFile.h"
#include "framework/FileInputBuffer.h"
#include "opt/OptBlockReader.h"
#include "opt/OptInputStream.h"

#include <cstring>
#include <istream>
#include <utility>

namespace {

// Offsets are 32-bit and wrap as 32-bit values do.
std::int32_t Wrap(std::int64_t value)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value & 0xFFFFFFFF));
}

// The number a texture link's name holds from its fourth byte on: blanks,
// one optional sign, then digits up to the first other byte. At most six
// digits fit, so it cannot overflow.
std::int32_t LinkNumber(const char* name, std::size_t length)
{
    std::size_t i = 3;
    while (i < length && (name[i] == ' ' || (name[i] >= '\t' && name[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < length && (name[i] == '+' || name[i] == '-'))
        negative = name[i++] == '-';
    std::int32_t number = 0;
    for (; i < length && name[i] >= '0' && name[i] <= '9'; ++i)
        number = number * 10 + (name[i] - '0');
    return negative ? -number : number;
}

// The count and stored offset that lie one after the other at `position`.
bool ReadCountAndOffset(OptInputStream& in, std::int64_t position, std::int32_t& count,
                        std::int32_t& offset)
{
    in.Seek(position);
    return in.ReadInt32(count) && in.ReadInt32(offset);
}

bool IsBranchKind(std::int32_t kind)
{
    return kind <= 0 || kind == COptReader::kListNode || kind == COptReader::kChoiceNode;
}

} // namespace

// The file being read and the blocks read from it so far. Records keep the
// blocks they share; the block reader's caches go when reading ends.
struct COptReader::Reading {
    Reading(std::istream& stream, Scope scope) : in(stream), blocks(in), scope(scope) {}

    OptInputStream in;
    OptBlockReader blocks;
    Scope scope;
};

bool COptReader::Read(const std::string& path, Scope scope)
{
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone))
        return false;
    FileInputBuffer buffer(file);
    std::istream stream(&buffer);
    // A read that fails is not the end of the file: its error ends the
    // reading, rather than a model that silently lacks what could not be read.
    stream.exceptions(std::ios::badbit);
    ReadFrom(stream, scope);
    // All there was to read has been read: a file opened only for reading
    // loses nothing when closing it fails, so that is not an error.
    file.Abort();
    return true;
}

void COptReader::ReadFrom(std::istream& stream, Scope scope)
{
    Reading reading(stream, scope);
    OptInputStream& in = reading.in;
    std::int32_t address = 0;
    in.Seek(8);
    if (!in.ReadInt32(address))
        return;
    m_nBase = Wrap(std::int64_t{address} - 8);
    std::int32_t count = 0;
    std::int32_t arrayOffset = 0;
    if (!ReadCountAndOffset(in, 14, count, arrayOffset))
        return;
    const bool meshes = scope == Scope::everything;
    in.Seek(ToPosition(arrayOffset));
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t stored = 0;
        if (!in.ReadInt32(stored) || (meshes && !in.Keep(sizeof(OptMesh))) ||
            !AddNode(m_nodes, stored, nullptr, i, in))
            break;
        if (meshes)
            m_meshes.emplace_back();
    }
    for (OptNode& node : m_nodes) {
        Visit(node, 0, reading);
        Walk(node, 0, reading);
    }
    ReadTextures(reading);
}

std::int32_t COptReader::ToPosition(std::int32_t stored) const
{
    return Wrap(std::int64_t{stored} - m_nBase);
}

bool COptReader::AddNode(std::vector<OptNode>& list, std::int32_t stored, OptNode* parent,
                         std::int32_t mesh, OptInputStream& in)
{
    if (!in.Keep(sizeof(OptNode)))
        return false;
    OptNode& node = list.emplace_back();
    node.position = ToPosition(stored);
    node.parent = parent;
    node.owner = this;
    node.mesh = mesh;
    node.index = static_cast<std::int32_t>(list.size() - 1);
    return true;
}

void COptReader::Walk(OptNode& node, int depth, Reading& reading)
{
    for (OptNode& child : node.children) {
        Visit(child, depth + 1, reading);
        Walk(child, depth + 1, reading);
    }
}

bool COptReader::IsOnPath(const OptNode& node) const
{
    for (const OptNode* above = node.parent; above != nullptr; above = above->parent)
        if (above->position == node.position)
            return true;
    return false;
}

void COptReader::Visit(OptNode& node, int depth, Reading& reading)
{
    OptInputStream& in = reading.in;
    if (node.position < 0) {
        node.kind = OptNode::kAbsent;
        node.position = 0;
        return;
    }
    in.Seek(std::int64_t{node.position} + 4);
    if (!in.ReadInt32(node.kind)) {
        node.kind = OptNode::kAbsent; // nothing is there to read
        return;
    }
    if (IsBranchKind(node.kind)) {
        if (depth < kMaxDepth && !IsOnPath(node))
            ReadChildren(node, in);
        return;
    }
    if (node.kind == kTextureLink)
        ReadTextureLink(node, in);
    else if (node.kind == kTextureNode)
        ReadTextureNode(node, in);
    if (reading.scope != Scope::everything)
        return; // the rest goes into the meshes
    OptMesh& mesh = m_meshes[static_cast<std::size_t>(node.mesh)];
    switch (node.kind) {
    case kVertexBlock:
        ReadEntries(node, mesh.vertices, reading);
        break;
    case kNormalBlock:
        ReadEntries(node, mesh.normals, reading);
        break;
    case kTexCoordBlock:
        ReadEntries(node, mesh.texCoords, reading);
        break;
    case kFaceBlock:
        ReadFaceBlock(node, reading);
        break;
    default:
        break; // kind 22 and unknown kinds hold nothing the reader wants
    }
}

void COptReader::ReadChildren(OptNode& node, OptInputStream& in)
{
    std::int32_t count = 0;
    std::int32_t arrayOffset = 0;
    if (!ReadCountAndOffset(in, std::int64_t{node.position} + 8, count, arrayOffset))
        return;
    in.Seek(ToPosition(arrayOffset));
    for (std::int32_t j = 0; j < count; ++j) {
        std::int32_t stored = 0;
        if (!in.ReadInt32(stored) || !AddNode(node.children, stored, &node, node.mesh, in))
            break;
    }
}

template <std::size_t N>
void COptReader::ReadEntries(const OptNode& node, OptSharedList<std::array<std::uint32_t, N>>& list,
                             Reading& reading)
{
    OptInputStream& in = reading.in;
    std::int32_t count = 0;
    std::int32_t dataOffset = 0;
    if (!ReadCountAndOffset(in, std::int64_t{node.position} + 16, count, dataOffset) || count <= 0)
        return;
    const auto block = reading.blocks.ValueBlock<N>(ToPosition(dataOffset), count);
    if (block != nullptr && in.Keep(list.kRunBytes))
        list.Append(block);
}

void COptReader::ReadTextureLink(OptNode& node, OptInputStream& in)
{
    std::int32_t nameOffset = 0;
    in.Seek(std::int64_t{node.position} + 20);
    if (!in.ReadInt32(nameOffset))
        return;
    char name[OptTexture::kNameBytes];
    in.Seek(ToPosition(nameOffset));
    if (in.ReadExactly(name, sizeof name))
        node.texture = LinkNumber(name, sizeof name);
}

void COptReader::ReadTextureNode(OptNode& node, OptInputStream& in)
{
    std::uint8_t header[24];
    char name[OptTexture::kNameBytes];
    std::uint8_t textureHeader[24];
    in.Seek(node.position);
    if (!in.ReadExactly(header, sizeof header))
        return;
    in.Seek(ToPosition(OptInputStream::Int32At(header)));
    if (!in.ReadExactly(name, sizeof name))
        return;
    const std::int32_t dataPos = ToPosition(OptInputStream::Int32At(header + 20));
    in.Seek(dataPos);
    if (!in.ReadExactly(textureHeader, sizeof textureHeader) || !in.Keep(sizeof(OptTexture)))
        return;
    OptTexture& texture = m_textures.emplace_back();
    texture.name.assign(name, strnlen(name, sizeof name));
    texture.pixelPos = Wrap(std::int64_t{dataPos} + 24);
    texture.palettePos = ToPosition(OptInputStream::Int32At(textureHeader));
    texture.pixelSize = OptInputStream::Int32At(textureHeader + 8);
    texture.headerValue16 = OptInputStream::Int32At(textureHeader + 16);
    texture.headerValue20 = OptInputStream::Int32At(textureHeader + 20);
    node.texture = static_cast<std::int32_t>(m_textures.size() - 1);
}

std::int32_t COptReader::FaceBlockTexture(const OptNode& node)
{
    // A top-level face block has no siblings to take a texture from.
    if (node.index == 0 || node.parent == nullptr)
        return -1;
    const OptNode& sibling = node.parent->children[static_cast<std::size_t>(node.index - 1)];
    switch (sibling.kind) {
    case kTextureLink:
    case kTextureNode:
        return sibling.texture;
    case kChoiceNode: {
        const std::size_t choices = sibling.children.size();
        if (choices == 0)
            return -1; // lowering would name no child
        // A negative choice counts as too large.
        if (static_cast<std::uint32_t>(m_nChoice) >= choices)
            m_nChoice = static_cast<std::int32_t>(choices - 1);
        return sibling.children[static_cast<std::size_t>(m_nChoice)].texture;
    }
    default:
        return -1;
    }
}

void COptReader::ReadFaceBlock(const OptNode& node, Reading& reading)
{
    OptInputStream& in = reading.in;
    const OptFacePlace place{node.parent != nullptr ? node.parent->index : 0,
                             FaceBlockTexture(node)};
    std::int32_t count = 0;
    std::int32_t dataOffset = 0;
    if (!ReadCountAndOffset(in, std::int64_t{node.position} + 16, count, dataOffset) || count <= 0)
        return;
    const std::int32_t dataPos = Wrap(std::int64_t{dataOffset} + 4 - m_nBase);
    const auto block = reading.blocks.FaceBlock(dataPos, count);
    OptMesh::Faces& faces = m_meshes[static_cast<std::size_t>(node.mesh)].faces;
    if (block == nullptr || !in.Keep(faces.kRunBytes))
        return;
    faces.Append(block, place);
    if (place.level + 1 > m_nLevelCount)
        m_nLevelCount = place.level + 1;
}

void COptReader::ReadTextures(Reading& reading)
{
    for (OptTexture& texture : m_textures) {
        if (auto palette =
                reading.blocks.Palette(std::int64_t{texture.palettePos} + m_nPaletteBias))
            texture.palette = std::move(palette);
        if (reading.scope != Scope::everything)
            continue;
        if (auto pixels = reading.blocks.Pixels(texture.pixelPos, texture.pixelSize))
            texture.pixels = std::move(pixels);
    }
}
