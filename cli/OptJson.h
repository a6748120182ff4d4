#pragma once

#include <cstdint>
#include <string>
#include <vector>

class COptReader;

// What a model reader holds as one line of JSON: its four settings, the node
// tree, a summary of each mesh with its faces, and each texture with its
// converted palette and a checksum of its pixels.
std::string OptReaderToJson(const COptReader& reader);
// The same, appended to `out`; a caller printing many models can keep one
// string's storage for all of them.
void AppendOptReaderJson(const COptReader& reader, std::string& out);

// The CRC-32 of `bytes` (the polynomial of zip and PNG files).
std::uint32_t Crc32(const std::vector<std::uint8_t>& bytes);
