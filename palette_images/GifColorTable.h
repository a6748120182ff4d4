#pragma once

#include "document/ColorTriple.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace palette_images {

// The colour table of a GIF file as it stores it: the global table, or
// without one the first image's local table. Qt decodes a GIF into
// true-colour pixels, so the table is taken from the file itself. Nothing
// when the file has no table or is cut short before it.
std::optional<std::vector<ColorTriple>> GifColorTable(std::span<const std::uint8_t> bytes);

} // namespace palette_images
