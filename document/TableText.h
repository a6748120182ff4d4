#pragma once

#include "document/ColorTriple.h"

#include <string>

struct TableChanges;

// The texts that tell about a colormap's tables.

inline constexpr const char* kTablesMatch = "The file's tables match";
inline constexpr const char* kNoStoredTables = "The file holds no tables";

// `value` in decimal with a comma between each group of three digits:
// "16,384".
std::string WithThousandsSeparators(long long value);

// How saving changes the file's tables: kTablesMatch when it changes none,
// otherwise "Saving will change 1,204 of 16,384 light entries and 3,911 of
// 65,536 translucency entries" (the translucency part only for a file that
// holds that table). `changes` is nullptr for a colormap without stored
// tables: kNoStoredTables.
std::string TableComparisonText(const TableChanges* changes);

// The status text of a light-level entry under the pointer: entry `cell` at
// level `level` is the colour of entry `result`.
// "Level 12, cell 37 → cell 200: rgb(1, 2, 3)".
std::string LightLevelStatusText(int level, int cell, int result, const ColorTriple& color);

// The status text of a translucency entry under the pointer: entry `first`
// seen through `second` is the colour of entry `result`.
// "37 over 200 → 145: rgb(1, 2, 3)".
std::string TranslucencyStatusText(int first, int second, int result, const ColorTriple& color);
