#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Lays out a model file (.opt) for tests and fuzzing: nodes, offset arrays,
// data blocks, textures with their palette series. Nodes are appended one
// after the other and referred to by the position of their header; children
// come before their parents, and Build writes the file header last. Stored
// offsets are positions plus the offset base (the header's address - 8).
class OptFileBuilder {
public:
    using Bytes = std::vector<std::uint8_t>;
    static constexpr int kAbsent = -1; // a child whose stored offset is 0
    static constexpr int kPaletteBias = 3584;

    struct Face {
        std::array<std::int32_t, 4> vertices;
        std::array<std::uint32_t, 3> normal;
    };

    explicit OptFileBuilder(std::int32_t address = 0x1008);

    std::int32_t Base() const { return m_base; }
    std::int32_t Stored(int position) const;

    // A node of `kind` with these children in its child list.
    int Node(std::int32_t kind, const std::vector<int>& children = {});
    // A vertex (3), normal (11) or texture-coordinate (13) block: its values,
    // `perEntry` to an entry.
    int Entries(std::int32_t kind, const std::vector<std::uint32_t>& values, int perEntry);
    // A face block; the twelve further values of face f are 1000 * (f + 1) + k.
    int FaceBlock(const std::vector<Face>& faces);
    // A texture link whose name is `name` (9 bytes, NUL-padded).
    int TextureLink(const std::string& name);
    // A texture node named `name` (9 bytes, NUL-padded) with `pixels` and a
    // series of eight palettes: the eighth holds `colors` (the rest 0), the
    // first seven a colour of their own number.
    int Texture(const std::string& name, const std::vector<std::uint16_t>& colors,
                const Bytes& pixels);
    // The position of a texture node's texture header.
    int TextureHeader(int texture) const;

    int Append(const Bytes& bytes);
    int AppendInt32s(const std::vector<std::int32_t>& values);
    std::int32_t Int32At(int position) const;
    void SetInt32(int position, std::int32_t value) { PutInt32(m_bytes, position, value); }
    // Writes `value` little-endian at `position` of `bytes`.
    static void PutInt32(Bytes& bytes, int position, std::int32_t value);

    // The whole file, with these top-level nodes.
    Bytes Build(const std::vector<int>& topLevel);

private:
    int Header(std::int32_t name, std::int32_t kind, std::int32_t count, std::int32_t array,
               std::int32_t entries, std::int32_t data);
    int NameBytes(const std::string& name);

    std::int32_t m_base;
    Bytes m_bytes;
};

// A model that holds one of everything the reader reads, for tests that need
// any valid model: two meshes, a texture node with faces after it, a texture
// link, a choice node, a list node, vertex, normal and coordinate blocks.
OptFileBuilder::Bytes SampleOptModel();

// A model whose list node lists one texture node, one face block and one
// vertex block several times over (each place giving the faces its own
// texture), and whose second mesh holds the face block again.
OptFileBuilder::Bytes SharedBlocksOptModel();
