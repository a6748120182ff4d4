#pragma once

#include "opt/OptFace.h"

#include <cstdint>

// What a face block's place in the tree gives each of its faces. A block
// that several nodes refer to keeps its faces once; each place applies its
// own level and texture.
struct OptFacePlace {
    std::int32_t level = 0;
    std::int32_t texture = -1;

    void ApplyTo(OptFace& face) const
    {
        face.level = level;
        face.texture = texture;
    }
};
