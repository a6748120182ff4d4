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

std::string SelectionStatusText(int start, int end)
{
    if (start < 0)
        return {};
    char text[64];
    if (start == end)
        std::snprintf(text, sizeof text, "Cell %d", start);
    else
        // The range is joined by an en dash, U+2013, in UTF-8.
        std::snprintf(text, sizeof text, "Cells %d\xE2\x80\x93%d (%d)", start, end,
                      end - start + 1);
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
