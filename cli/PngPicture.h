#pragma once

#include "document/TablePictures.h"

#include <cstdint>
#include <string>
#include <vector>

// Pictures as PNG files, through libpng.

// The bytes of a PNG file of the picture; empty when it cannot be encoded.
std::vector<std::uint8_t> EncodePng(const RgbPicture& picture);

// The picture a PNG file holds, as red, green and blue; an empty picture
// when the file cannot be read as PNG.
RgbPicture ReadPng(const std::string& path);
