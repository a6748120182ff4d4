#pragma once

#include "opt/OptFace.h"

#include <array>
#include <cstdint>
#include <vector>

// The geometry that the data blocks under one top-level node hold. The
// coordinates are copied bit for bit and never interpreted.
struct OptMesh {
    std::vector<std::array<std::uint32_t, 3>> vertices;
    std::vector<OptFace> faces;
    std::vector<std::array<std::uint32_t, 3>> normals;
    std::vector<std::array<std::uint32_t, 2>> texCoords;
};
