#include "opt/OptBlockReader.h"

#include "opt/OptColor.h"
#include "opt/OptInputStream.h"

#include <algorithm>

namespace {

constexpr std::size_t kFaceBytes = 64;   // sixteen values
constexpr std::size_t kNormalBytes = 12; // three values
constexpr std::size_t kPaletteBytes = 2 * OptTexture::kPaletteEntries;
// What one entry of a block cache costs in memory: a map node, its key and
// its shared pointer.
constexpr std::uint64_t kCacheEntryBytes = 96;

// Reads up to `count` entries of `entryBytes` each from where `in` stands,
// a chunk at a time, and hands each chunk's whole entries to `take` (their
// bytes and how many there are), until the file ends or a read fails.
template <typename Take>
void ReadInChunks(OptInputStream& in, std::uint64_t count, std::size_t entryBytes, Take take)
{
    constexpr std::size_t kChunkBytes = std::size_t{1} << 16;
    const std::uint64_t perChunk = std::max<std::size_t>(kChunkBytes / entryBytes, 1);
    std::vector<std::uint8_t> chunk(
        static_cast<std::size_t>(std::min(count, perChunk) * entryBytes));
    for (std::uint64_t done = 0; done < count;) {
        const auto wanted = static_cast<std::size_t>(std::min(count - done, perChunk) * entryBytes);
        const std::size_t got = in.Read(chunk.data(), wanted);
        take(chunk.data(), got / entryBytes);
        done += got / entryBytes;
        if (got != wanted)
            return;
    }
}

// The bytes of the file a block was read from: what listing it again costs.
template <std::size_t N> std::uint64_t FileBytes(const OptBlockReader::Values<N>& block)
{
    return block.size() * 4 * N;
}
std::uint64_t FileBytes(const std::vector<OptFace>& block)
{
    return block.size() * (kFaceBytes + kNormalBytes);
}
std::uint64_t FileBytes(const OptTexture::Palette&)
{
    return kPaletteBytes;
}
std::uint64_t FileBytes(const OptTexture::Pixels& block)
{
    return block.size();
}

} // namespace

template <typename Block, typename ReadBlock>
std::shared_ptr<const Block> OptBlockReader::Shared(Cache<Block>& cache, const Key& key,
                                                    ReadBlock readBlock)
{
    if (const auto found = cache.find(key); found != cache.end())
        return m_in.Repeat(FileBytes(*found->second)) ? found->second : nullptr;
    std::shared_ptr<const Block> block = readBlock();
    if (block == nullptr || !m_in.Keep(kCacheEntryBytes))
        return nullptr;
    cache.emplace(key, block);
    return block;
}

template <std::size_t N>
OptBlockReader::Cache<OptBlockReader::Values<N>>& OptBlockReader::ValueCache()
{
    if constexpr (N == 3)
        return m_triples;
    else
        return m_pairs;
}

template <std::size_t N>
std::shared_ptr<const OptBlockReader::Values<N>> OptBlockReader::ValueBlock(std::int64_t position,
                                                                            std::int32_t count)
{
    return Shared(ValueCache<N>(), {position, count},
                  [&] { return ReadValues<N>(position, count); });
}

template std::shared_ptr<const OptBlockReader::Values<3>>
    OptBlockReader::ValueBlock<3>(std::int64_t, std::int32_t);
template std::shared_ptr<const OptBlockReader::Values<2>>
    OptBlockReader::ValueBlock<2>(std::int64_t, std::int32_t);

std::shared_ptr<const std::vector<OptFace>> OptBlockReader::FaceBlock(std::int64_t dataPos,
                                                                      std::int32_t count)
{
    return Shared(m_faces, {dataPos, count}, [&] { return ReadFaces(dataPos, count); });
}

std::shared_ptr<const OptTexture::Palette> OptBlockReader::Palette(std::int64_t position)
{
    return Shared(m_palettes, {position, 0}, [&] { return ReadPalette(position); });
}

std::shared_ptr<const OptTexture::Pixels> OptBlockReader::Pixels(std::int64_t position,
                                                                 std::int32_t size)
{
    return Shared(m_pixels, {position, size}, [&] { return ReadPixels(position, size); });
}

// Each block is allocated only once the budget has agreed to the reading
// that will fill it, and only as large as the file can fill.
template <std::size_t N>
std::shared_ptr<const OptBlockReader::Values<N>> OptBlockReader::ReadValues(std::int64_t position,
                                                                            std::int32_t count)
{
    using Entry = std::array<std::uint32_t, N>;
    const std::uint64_t entries = m_in.EntriesHeld(position, count, sizeof(Entry));
    if (entries == 0 ||
        !m_in.AffordRead(position, entries * sizeof(Entry), entries * sizeof(Entry)))
        return nullptr;
    auto block = std::make_shared<Values<N>>();
    block->reserve(static_cast<std::size_t>(entries));
    m_in.Seek(position);
    ReadInChunks(m_in, entries, sizeof(Entry), [&](const std::uint8_t* bytes, std::size_t read) {
        for (std::size_t e = 0; e < read; ++e) {
            Entry& entry = block->emplace_back();
            for (std::size_t k = 0; k < N; ++k)
                entry[k] = OptInputStream::UInt32At(bytes + sizeof(Entry) * e + 4 * k);
        }
    });
    if (block->empty() || !m_in.Keep(block->capacity() * sizeof(Entry)))
        return nullptr;
    return block;
}

std::shared_ptr<const std::vector<OptFace>> OptBlockReader::ReadFaces(std::int64_t dataPos,
                                                                      std::int32_t count)
{
    const std::uint64_t faces = m_in.EntriesHeld(dataPos, count, kFaceBytes);
    if (faces == 0 || !m_in.AffordRead(dataPos, faces * kFaceBytes, faces * sizeof(OptFace)))
        return nullptr;
    auto block = std::make_shared<std::vector<OptFace>>();
    block->reserve(static_cast<std::size_t>(faces));
    m_in.Seek(dataPos);
    ReadInChunks(m_in, faces, kFaceBytes, [&](const std::uint8_t* bytes, std::size_t read) {
        for (const std::uint8_t* entry = bytes; entry < bytes + read * kFaceBytes;
             entry += kFaceBytes) {
            OptFace& face = block->emplace_back();
            for (std::size_t k = 0; k < 4; ++k)
                face.vertexIndex[k] = OptInputStream::Int32At(entry + 4 * k);
            for (std::size_t k = 0; k < 12; ++k)
                face.extraIndex[k] = OptInputStream::Int32At(entry + 16 + 4 * k);
            face.cornerCount = face.vertexIndex[3] == -1 ? 3 : 4;
        }
    });
    // The normals follow all the faces the block declares, one per face; a
    // file that ends among them leaves the rest 0.
    m_in.Seek(dataPos + std::int64_t{kFaceBytes} * count);
    std::size_t value = 0;
    ReadInChunks(m_in, 3 * block->size(), 4, [&](const std::uint8_t* bytes, std::size_t read) {
        for (std::size_t v = 0; v < read; ++v, ++value)
            (*block)[value / 3].normal[value % 3] = OptInputStream::UInt32At(bytes + 4 * v);
    });
    if (block->empty() || !m_in.Keep(block->capacity() * sizeof(OptFace)))
        return nullptr;
    return block;
}

std::shared_ptr<const OptTexture::Palette> OptBlockReader::ReadPalette(std::int64_t position)
{
    std::uint8_t colors[kPaletteBytes];
    m_in.Seek(position);
    const std::size_t read = m_in.Read(colors, sizeof colors);
    if (read < 2 || !m_in.Keep(sizeof(OptTexture::Palette)))
        return nullptr;
    auto palette = std::make_shared<OptTexture::Palette>();
    for (std::size_t j = 0; j < read / 2; ++j)
        (*palette)[j] = ConvertOptColor(colors + 2 * j);
    return palette;
}

std::shared_ptr<const OptTexture::Pixels> OptBlockReader::ReadPixels(std::int64_t position,
                                                                     std::int32_t size)
{
    // A count that the file cannot hold allocates nothing.
    const auto bytes = static_cast<std::uint64_t>(size);
    if (size <= 0 || m_in.EntriesHeld(position, size, 1) != bytes ||
        !m_in.AffordRead(position, bytes, bytes))
        return nullptr;
    auto pixels = std::make_shared<OptTexture::Pixels>();
    pixels->reserve(static_cast<std::size_t>(size));
    m_in.Seek(position);
    ReadInChunks(m_in, bytes, 1, [&](const std::uint8_t* chunk, std::size_t read) {
        pixels->insert(pixels->end(), chunk, chunk + read);
    });
    if (pixels->size() != bytes || !m_in.Keep(bytes))
        return nullptr;
    return pixels;
}
