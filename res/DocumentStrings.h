#pragma once

// The document string of colormaps: window title (empty), document name,
// file-new name, filter name, filter extension, file type id, file type name.
inline constexpr const char* kColormapDocumentString =
    "\nJKCMP\nJKCMP\nJedi Knight Palette Files (*.cmp)\n.cmp\nJediKnight.CMP\nJedi Knight CMP";
