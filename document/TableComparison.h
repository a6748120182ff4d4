#pragma once

#include "document/ColormapTables.h"

// How the tables a colormap file holds differ from tables computed from a
// palette, entry by entry.
struct TableChanges {
    int lightChanged = 0; // of the 16,384 light-level entries
    // Of the 65,536 translucency entries; -1 when the file holds no
    // translucency table.
    int translucencyChanged = -1;

    bool Any() const { return lightChanged > 0 || translucencyChanged > 0; }
};

// `stored`: the tables as a file holds them (its light levels, and its
// transparency table when it has one); `computed` must have a transparency
// table wherever `stored` has one.
TableChanges CompareTables(const colormap_tables::Tables& stored,
                           const colormap_tables::Tables& computed);
