#include "document/CellText.h"

#include <cstdint>
#include <cstdio>

std::string CellStatusText(int index, const ColorTriple& color)
{
    char text[64];
    std::snprintf(text, sizeof text, "Cell %d: rgb(%d, %d, %d)", index, color.red, color.green,
                  color.blue);
    return text;
}

std::string CellLabel(int index)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(index));
    return text;
}

bool CellLabelIsBlack(const ColorTriple& color)
{
    const std::int32_t threshold = SquaredDistance(g_colorWhite, g_colorBlack) / 2;
    return SquaredDistance(color, g_colorBlack) > threshold;
}
