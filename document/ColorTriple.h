#pragma once

#include "framework/UserInterface.h"

#include <cstdint>

// One palette colour: red, green and blue bytes, in that order, exactly as a
// colormap file stores them.
struct ColorTriple {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    constexpr ColorTriple() = default;
    constexpr ColorTriple(std::uint8_t r, std::uint8_t g, std::uint8_t b)
        : red(r), green(g), blue(b)
    {
    }

    // The colour chooser's value: red in bits 0-7, green 8-15, blue 16-23.
    static constexpr ColorTriple FromColorRef(ColorRef value)
    {
        return ColorTriple(static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                           static_cast<std::uint8_t>(value >> 16));
    }
    constexpr ColorRef ToColorRef() const
    {
        return static_cast<ColorRef>(red) | (static_cast<ColorRef>(green) << 8) |
               (static_cast<ColorRef>(blue) << 16);
    }

    friend constexpr bool operator==(const ColorTriple&, const ColorTriple&) = default;
};

static_assert(sizeof(ColorTriple) == 3, "a palette is 768 bytes");

// The squared distance between two colours in RGB space.
constexpr int SquaredDistance(const ColorTriple& a, const ColorTriple& b)
{
    const int dr = a.red - b.red;
    const int dg = a.green - b.green;
    const int db = a.blue - b.blue;
    return dr * dr + dg * dg + db * db;
}

// The dark and light ends of the brightness scale. Every document
// construction sets them to (0, 0, 0) and (255, 255, 255).
extern ColorTriple g_colorWhite;
extern ColorTriple g_colorBlack;
