#pragma once

#include "opt/OptMesh.h"
#include "opt/OptNode.h"
#include "opt/OptTexture.h"

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

class OptInputStream;

// Reads an X-Wing Alliance model file (.opt): its node tree, one mesh per
// top-level node, and every texture with its name, pixels and one converted
// palette. A reader reads one file once; the caller sets the four fields
// below before reading.
//
// Reading never fails once the file is open (but for a read the system
// reports as failed): whatever a short or damaged file holds is read as far
// as it goes, and no value that could not be read drives further reading or
// ends up in a record. A node that leads back to a node on the path to it, or
// lies deeper than kMaxDepth, is read as a leaf. What reading keeps and does
// is bounded by the bytes it reads (see OptInputStream): a data block, a
// palette or a pixel run that several nodes refer to is read and kept once,
// and the records that list it share it.
class COptReader {
public:
    enum NodeKind : std::int32_t {
        kFaceBlock = 1,
        kVertexBlock = 3,
        kTextureLink = 7,
        kNormalBlock = 11,
        kTexCoordBlock = 13,
        kTextureNode = 20,
        kListNode = 21,
        kChoiceNode = 24,
    };
    static constexpr int kMaxDepth = 256;

    // How much of the model a read builds.
    enum class Scope {
        everything,
        // The node tree and the textures (names, positions, palettes), as
        // reading everything gives them, for a caller that needs only the
        // texture list: no meshes, no pixels, and m_nChoice and
        // m_nLevelCount stay as the caller set them.
        textureList,
    };

    COptReader() = default;
    ~COptReader() = default;
    // The nodes refer to the reader and to each other.
    COptReader(const COptReader&) = delete;
    COptReader& operator=(const COptReader&) = delete;

    // Reads the file at `path`. False only when it cannot be opened for
    // binary input (or is no regular file); nothing has been read then. A
    // read that the system reports as failed raises the CFileException
    // that says why; closing the file once it is read cannot fail.
    bool Read(const std::string& path, Scope scope = Scope::everything);
    // Reads a model from `stream`, as Read does once its file is open.
    void ReadFrom(std::istream& stream, Scope scope = Scope::everything);

    std::vector<OptNode> m_nodes;
    std::vector<OptMesh> m_meshes;
    std::vector<OptTexture> m_textures;
    std::int32_t m_nBase = 0; // stored offset - m_nBase = file position
    // Which child of a choice node a following face block takes its texture
    // from; reading lowers it to fit a choice node with fewer children.
    std::int32_t m_nChoice = 0;
    std::int32_t m_nLevelCount = 0;  // reading raises it past every face level
    std::int32_t m_nPaletteBias = 0; // from a palette series to the palette read

private:
    struct Reading; // the file being read and the blocks read from it so far

    std::int32_t ToPosition(std::int32_t stored) const;
    bool AddNode(std::vector<OptNode>& list, std::int32_t stored, OptNode* parent,
                 std::int32_t mesh, OptInputStream& in);
    void Visit(OptNode& node, int depth, Reading& reading);
    void Walk(OptNode& node, int depth, Reading& reading);
    bool IsOnPath(const OptNode& node) const;
    void ReadChildren(OptNode& node, OptInputStream& in);
    template <std::size_t N>
    void ReadEntries(const OptNode& node, OptSharedList<std::array<std::uint32_t, N>>& list,
                     Reading& reading);
    void ReadTextureLink(OptNode& node, OptInputStream& in);
    void ReadTextureNode(OptNode& node, OptInputStream& in);
    std::int32_t FaceBlockTexture(const OptNode& node);
    void ReadFaceBlock(const OptNode& node, Reading& reading);
    void ReadTextures(Reading& reading);
};
