#pragma once

#include "document/ColormapTables.h"

#include <memory>
#include <mutex>

// Makes a colormap's tables as a save writes them, keeping the last palette
// and its tables so that the next request pays only for what changed: the
// same palette again costs nothing, a few changed entries cost the lookups
// they touch. A document's saves and its tables panel, which asks from
// another thread, share one maker; their requests take turns.
class ColormapTableMaker {
public:
    using TablesPtr = std::shared_ptr<const colormap_tables::Tables>;

    // The tables of `palette`; the transparency table is there when asked
    // for, and may be when not.
    TablesPtr Make(const colormap_tables::Palette& palette, bool withTransparency);

private:
    std::mutex m_mutex;
    TablesPtr m_pLast;
};
