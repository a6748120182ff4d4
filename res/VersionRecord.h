#pragma once

// The strings of the program's version record, in its order.
struct VersionString {
    const char* key;
    const char* value;
};

inline constexpr VersionString kVersionStrings[] = {
    {"CompanyName", "Quorvath"},
    {"FileDescription", "Palvane CMP Editor"},
    {"FileVersion", "1, 1, 0, 1999"},
    {"InternalName", "Palvane"},
    {"LegalCopyright", "Copyright (C) Quorvath"},
    {"OriginalFilename", "palvane.exe"},
    {"ProductName", "Palvane"},
    {"ProductVersion", "1, 1, 0, 1999"},
};
