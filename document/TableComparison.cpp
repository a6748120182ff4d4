#include "document/TableComparison.h"

#include <cstddef>

namespace {

int CountDifferences(const std::vector<std::uint8_t>& first,
                     const std::vector<std::uint8_t>& second)
{
    int count = 0;
    for (std::size_t i = 0; i < first.size(); ++i)
        count += first[i] != second[i] ? 1 : 0;
    return count;
}

} // namespace

TableChanges CompareTables(const colormap_tables::Tables& stored,
                           const colormap_tables::Tables& computed)
{
    TableChanges changes;
    changes.lightChanged = CountDifferences(stored.lightLevels, computed.lightLevels);
    if (stored.HasTransparency())
        changes.translucencyChanged = CountDifferences(stored.transparency, computed.transparency);
    return changes;
}
