#pragma once

#include "opt/OptFace.h"
#include "opt/OptFacePlace.h"
#include "opt/OptSharedList.h"

#include <array>
#include <cstdint>

// The geometry that the data blocks under one top-level node hold. The
// coordinates are copied bit for bit and never interpreted. A block that
// several nodes refer to is kept once and shared.
struct OptMesh {
    using Triples = OptSharedList<std::array<std::uint32_t, 3>>;
    using Pairs = OptSharedList<std::array<std::uint32_t, 2>>;
    using Faces = OptSharedList<OptFace, OptFacePlace>;

    Triples vertices;
    Faces faces;
    Triples normals;
    Pairs texCoords;
};
