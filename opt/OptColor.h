#pragma once

#include "document/ColorTriple.h"

#include <cstdint>

// A model file's 16-bit colour (red in bits 11-15, green 5-10, blue 0-4) as a
// palette colour. Each component moves to the top of its byte and the low
// bits stay 0, so white comes out as (248, 252, 248).
constexpr ColorTriple ConvertOptColor(std::uint16_t value)
{
    return ColorTriple(static_cast<std::uint8_t>((value >> 8) & 0xF8),
                       static_cast<std::uint8_t>((value >> 3) & 0xFC),
                       static_cast<std::uint8_t>((value << 3) & 0xFF));
}

// The colour stored little-endian in the two bytes at `bytes`.
constexpr ColorTriple ConvertOptColor(const std::uint8_t* bytes)
{
    return ConvertOptColor(static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8)));
}
