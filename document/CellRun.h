#pragma once

#include <cstdint>
#include <string>

// A run of palette cells, `first` to `last` inclusive, as the selection holds
// one: both -1 for none, otherwise 0 <= first <= last <= 255.
struct CellRun {
    std::int32_t first = -1;
    std::int32_t last = -1;

    bool IsEmpty() const { return first < 0; }
    std::int32_t Count() const { return IsEmpty() ? 0 : last - first + 1; }

    friend bool operator==(const CellRun&, const CellRun&) = default;
};

// How menus and the status bar name a run: "5" for one cell, "32–47" (with
// an en dash) for several, "" for none.
std::string CellRunText(const CellRun& run);
