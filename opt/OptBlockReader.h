#pragma once

#include "opt/OptMesh.h"
#include "opt/OptTexture.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <utility>
#include <vector>

class OptInputStream;

// Reads the data blocks of a model file (vertex, normal and texture
// coordinate entries, faces, palettes, pixels) each once: a block asked for
// again, by however many nodes, is the same shared block, and the stream
// is charged for listing it again rather than for reading and keeping it
// anew. A block is known by where it lies and how many entries its node
// claims. Each request gives null when there is nothing to read there or
// the stream's budget cannot pay for it.
class OptBlockReader {
public:
    template <std::size_t N> using Values = std::vector<std::array<std::uint32_t, N>>;

    explicit OptBlockReader(OptInputStream& in) : m_in(in) {}

    // `count` entries of N 32-bit values at `position`, as far as the file
    // holds them: vertices and normals have three, texture coordinates two.
    template <std::size_t N>
    std::shared_ptr<const Values<N>> ValueBlock(std::int64_t position, std::int32_t count);
    // The faces of a face block whose data begin at `dataPos`, each with the
    // normal that follows all `count` faces the block declares.
    std::shared_ptr<const std::vector<OptFace>> FaceBlock(std::int64_t dataPos, std::int32_t count);
    // The palette at `position`, converted; entries past the end of the file
    // stay black.
    std::shared_ptr<const OptTexture::Palette> Palette(std::int64_t position);
    // The `size` pixel bytes at `position`; none unless the file holds them all.
    std::shared_ptr<const OptTexture::Pixels> Pixels(std::int64_t position, std::int32_t size);

private:
    using Key = std::pair<std::int64_t, std::int64_t>;
    template <typename Block> using Cache = std::map<Key, std::shared_ptr<const Block>>;

    template <typename Block, typename ReadBlock>
    std::shared_ptr<const Block> Shared(Cache<Block>& cache, const Key& key, ReadBlock readBlock);
    template <std::size_t N> Cache<Values<N>>& ValueCache();
    template <std::size_t N>
    std::shared_ptr<const Values<N>> ReadValues(std::int64_t position, std::int32_t count);
    std::shared_ptr<const std::vector<OptFace>> ReadFaces(std::int64_t dataPos, std::int32_t count);
    std::shared_ptr<const OptTexture::Palette> ReadPalette(std::int64_t position);
    std::shared_ptr<const OptTexture::Pixels> ReadPixels(std::int64_t position, std::int32_t size);

    OptInputStream& m_in;
    // Vertex and normal blocks hold the same entries, so they share a cache.
    Cache<Values<3>> m_triples;
    Cache<Values<2>> m_pairs;
    Cache<std::vector<OptFace>> m_faces;
    Cache<OptTexture::Palette> m_palettes;
    Cache<OptTexture::Pixels> m_pixels;
};
