#include "document/TableText.h"

#include "document/ColormapTables.h"
#include "document/TableComparison.h"

#include <cstdio>

namespace {

std::string Rgb(const ColorTriple& color)
{
    char text[32];
    std::snprintf(text, sizeof text, "rgb(%d, %d, %d)", color.red, color.green, color.blue);
    return text;
}

} // namespace

std::string WithThousandsSeparators(long long value)
{
    const std::string digits = std::to_string(value < 0 ? -value : value);
    std::string text = value < 0 ? "-" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

std::string TableComparisonText(const TableChanges* changes)
{
    if (changes == nullptr)
        return kNoStoredTables;
    if (!changes->Any())
        return kTablesMatch;
    std::string text = "Saving will change " + WithThousandsSeparators(changes->lightChanged) +
                       " of " + WithThousandsSeparators(colormap_tables::kLightLevelBytes) +
                       " light entries";
    if (changes->translucencyChanged >= 0)
        text += " and " + WithThousandsSeparators(changes->translucencyChanged) + " of " +
                WithThousandsSeparators(colormap_tables::kTransparencyBytes) +
                " translucency entries";
    return text;
}

std::string LightLevelStatusText(int level, int cell, int result, const ColorTriple& color)
{
    return "Level " + std::to_string(level) + ", cell " + std::to_string(cell) + " \u2192 cell " +
           std::to_string(result) + ": " + Rgb(color);
}

std::string TranslucencyStatusText(int first, int second, int result, const ColorTriple& color)
{
    return std::to_string(first) + " over " + std::to_string(second) + " \u2192 " +
           std::to_string(result) + ": " + Rgb(color);
}
