#pragma once

#include <cstdint>
#include <iosfwd>
#include <vector>

class COptReader;

// Writes what a model reader holds to `out` as one line of JSON, without the
// line's end: its four settings, the node tree, a summary of each mesh with
// its faces, and each texture with its converted palette and a checksum of
// its pixels. The text goes out piece by piece as it is made, so a model
// that lists a shared block many times never has its JSON in memory.
void WriteOptReaderJson(const COptReader& reader, std::ostream& out);

// The CRC-32 of `bytes` (the polynomial of zip and PNG files).
std::uint32_t Crc32(const std::vector<std::uint8_t>& bytes);
