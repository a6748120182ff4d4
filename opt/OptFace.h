#pragma once

#include <array>
#include <cstdint>

// One face of a mesh as a face block stores it, with what the reader learns
// from the face block's place in the tree.
struct OptFace {
    std::array<std::int32_t, 4> vertexIndex{}; // the fourth is -1 for a triangle
    std::array<std::int32_t, 12> extraIndex{};
    std::array<std::uint32_t, 3> normal{}; // copied bit for bit
    std::int32_t cornerCount = 0;
    std::int32_t level = 0;    // the index of the face block's parent
    std::int32_t texture = -1; // the texture number, -1 for none
};
