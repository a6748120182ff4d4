#pragma once

#include "res/CommandIds.h"

#include <span>

// The program's commands as data: from these tables the shell builds one
// action per command, both menu bars, the toolbar and the keys.

// One command: its id and name, its key ("" for none) and its prompt
// string, the status-bar prompt and, after a line feed, the tooltip (""
// for a command without one). A few commands answer a second key as well,
// one that menus do not show.
struct CommandInfo {
    unsigned id;
    const char* name;
    const char* key;
    const char* prompt;
    const char* otherKey = "";
};

inline constexpr CommandInfo kCommandTable[] = {
    {ID_FILE_NEW, "ID_FILE_NEW", "Ctrl+N", "Create a new document\nNew"},
    {ID_FILE_OPEN, "ID_FILE_OPEN", "Ctrl+O", "Open an existing document\nOpen"},
    {ID_FILE_CLOSE, "ID_FILE_CLOSE", "", "Close the active document\nClose"},
    {ID_FILE_SAVE, "ID_FILE_SAVE", "Ctrl+S", "Save the active document\nSave"},
    {ID_FILE_SAVE_AS, "ID_FILE_SAVE_AS", "", "Save the active document with a new name\nSave As"},
    {ID_FILE_PRINT_SETUP, "ID_FILE_PRINT_SETUP", "",
     "Change the printer and printing options\nPrint Setup"},
    {ID_FILE_PRINT, "ID_FILE_PRINT", "Ctrl+P", "Print the active document\nPrint"},
    {ID_FILE_PRINT_DIRECT, "ID_FILE_PRINT_DIRECT", "", ""},
    {ID_FILE_PRINT_PREVIEW, "ID_FILE_PRINT_PREVIEW", "", "Display full pages\nPrint Preview"},
    {ID_FILE_MRU_FILE1, "ID_FILE_MRU_FILE1", "", "Open this document"},
    {ID_FILE_MRU_FILE2, "ID_FILE_MRU_FILE2", "", "Open this document"},
    {ID_FILE_MRU_FILE3, "ID_FILE_MRU_FILE3", "", "Open this document"},
    {ID_FILE_MRU_FILE4, "ID_FILE_MRU_FILE4", "", "Open this document"},
    {ID_FILE_MRU_FILE5, "ID_FILE_MRU_FILE5", "", "Open this document"},
    {ID_EDIT_UNDO, "ID_EDIT_UNDO", "Ctrl+Z", "Undo the last change to the palette\nUndo"},
    {ID_EDIT_REDO, "ID_EDIT_REDO", "Ctrl+Y", "Redo the change last undone\nRedo", "Ctrl+Shift+Z"},
    {ID_EDIT_COPY, "ID_EDIT_COPY", "Ctrl+C",
     "Copy the selected colors to the Clipboard as text\nCopy"},
    {ID_EDIT_PASTE, "ID_EDIT_PASTE", "Ctrl+V",
     "Put the colors on the Clipboard into the cells from the first selected one\nPaste"},
    {ID_EDIT_SELECT_ALL, "ID_EDIT_SELECT_ALL", "Ctrl+A",
     "Select every cell of the palette\nSelect All"},
    {ID_WINDOW_NEW, "ID_WINDOW_NEW", "", "Open another window for the active document\nNew Window"},
    {ID_WINDOW_ARRANGE, "ID_WINDOW_ARRANGE", "",
     "Arrange icons at the bottom of the window\nArrange Icons"},
    {ID_WINDOW_CASCADE, "ID_WINDOW_CASCADE", "",
     "Arrange windows so they overlap\nCascade Windows"},
    {ID_WINDOW_TILE_HORZ, "ID_WINDOW_TILE_HORZ", "",
     "Arrange windows as non-overlapping tiles\nTile Windows"},
    {ID_APP_ABOUT, "ID_APP_ABOUT", "",
     "Display program information, version number and copyright\nAbout"},
    {ID_APP_EXIT, "ID_APP_EXIT", "", "Quit the application; prompts to save documents\nExit"},
    {ID_VIEW_TOOLBAR, "ID_VIEW_TOOLBAR", "", "Show or hide the toolbar\nToggle ToolBar"},
    {ID_VIEW_STATUS_BAR, "ID_VIEW_STATUS_BAR", "", "Show or hide the status bar\nToggle StatusBar"},
    {ID_PALETTE_GRADIENT, "ID_PALETTE_GRADIENT", "",
     "Create a gradient between the selection points\nGradient"},
    {ID_FILE_EXPORT_JASC, "ID_FILE_EXPORT_JASC", "", "Export As a JASC Palette (PSP)\nExport JASC"},
    {ID_PALETTE_COLORIZE, "ID_PALETTE_COLORIZE", "", "Colorize the selection\nColorize"},
    {ID_FILE_EXPORT_DFPAL, "ID_FILE_EXPORT_DFPAL", "", ""},
    {ID_FILE_IMPORT_DFPAL, "ID_FILE_IMPORT_DFPAL", "", ""},
    {ID_FILE_IMPORT_XWA, "ID_FILE_IMPORT_XWA", "", ""},
    {ID_FILE_IMPORT_PALETTE, "ID_FILE_IMPORT_PALETTE", "",
     "Import the colors of a palette file or an image\nImport Palette File"},
    {ID_FILE_EXPORT_GPL, "ID_FILE_EXPORT_GPL", "", "Export As a GIMP Palette\nExport GIMP"},
    {ID_FILE_EXPORT_RIFF, "ID_FILE_EXPORT_RIFF", "", "Export As a RIFF Palette\nExport RIFF"},
    {ID_FILE_EXPORT_ACT, "ID_FILE_EXPORT_ACT", "",
     "Export As an Adobe Color Table\nExport Adobe Color Table"},
    {ID_FILE_EXPORT_PAINTNET, "ID_FILE_EXPORT_PAINTNET", "",
     "Export As a Paint.NET Palette\nExport Paint.NET"},
    {ID_FILE_EXPORT_HEX, "ID_FILE_EXPORT_HEX", "",
     "Export As a list of hexadecimal colors\nExport Hex List"},
    {ID_FILE_EXPORT_SWATCH, "ID_FILE_EXPORT_SWATCH", "",
     "Export As an image of 16 by 16 color cells\nExport Swatch Image"},
    {ID_VIEW_TABLES, "ID_VIEW_TABLES", "Ctrl+T",
     "Show or hide the tables of the active colormap\nToggle Tables"},
};

// One entry of a menu bar. A pop-up's items follow it up to its end mark.
struct MenuItem {
    enum Kind { command, separator, popup, popupEnd, recentFiles, windowList };
    Kind kind;
    const char* text;
    unsigned id;
};

namespace menu_items {
inline constexpr MenuItem Command(const char* text, unsigned id)
{
    return {MenuItem::command, text, id};
}
inline constexpr MenuItem Popup(const char* text)
{
    return {MenuItem::popup, text, 0};
}
inline constexpr MenuItem kSeparator{MenuItem::separator, "", 0};
inline constexpr MenuItem kEnd{MenuItem::popupEnd, "", 0};
// The placeholder that the recent files replace; it shows, disabled, while
// the list is empty.
inline constexpr MenuItem kRecentFiles{MenuItem::recentFiles, "Recent File", ID_FILE_MRU_FILE1};
// Where the open child windows are listed.
inline constexpr MenuItem kWindowList{MenuItem::windowList, "", 0};
} // namespace menu_items

// Menu 128, while no document is open.
inline constexpr MenuItem kMainFrameMenu[] = {
    menu_items::Popup("&File"),
    menu_items::Command("&New\tCtrl+N", ID_FILE_NEW),
    menu_items::Command("&Open...\tCtrl+O", ID_FILE_OPEN),
    menu_items::kSeparator,
    menu_items::Command("P&rint Setup...", ID_FILE_PRINT_SETUP),
    menu_items::kSeparator,
    menu_items::kRecentFiles,
    menu_items::kSeparator,
    menu_items::Command("E&xit", ID_APP_EXIT),
    menu_items::kEnd,
    menu_items::Popup("&View"),
    menu_items::Command("&Toolbar", ID_VIEW_TOOLBAR),
    menu_items::Command("&Status Bar", ID_VIEW_STATUS_BAR),
    menu_items::Command("&Tables\tCtrl+T", ID_VIEW_TABLES),
    menu_items::kEnd,
    menu_items::Popup("&Help"),
    menu_items::Command("&About Palvane...", ID_APP_ABOUT),
    menu_items::kEnd,
};

// Menu 129, while a document is open.
inline constexpr MenuItem kDocumentMenu[] = {
    menu_items::Popup("&File"),
    menu_items::Command("&New\tCtrl+N", ID_FILE_NEW),
    menu_items::Command("&Open...\tCtrl+O", ID_FILE_OPEN),
    menu_items::Command("&Close", ID_FILE_CLOSE),
    menu_items::Command("&Save\tCtrl+S", ID_FILE_SAVE),
    menu_items::Command("Save &As...", ID_FILE_SAVE_AS),
    menu_items::kSeparator,
    menu_items::Popup("I&mport From"),
    menu_items::Command("&Dark Forces Palette...", ID_FILE_IMPORT_DFPAL),
    menu_items::Command("&X-Wing Alliance Texture...", ID_FILE_IMPORT_XWA),
    menu_items::Command("&Palette File...", ID_FILE_IMPORT_PALETTE),
    menu_items::kEnd,
    menu_items::Popup("&Export As"),
    menu_items::Command("&Dark Forces Palette...", ID_FILE_EXPORT_DFPAL),
    menu_items::Command("&JASC Palette...", ID_FILE_EXPORT_JASC),
    menu_items::Command("&GIMP Palette...", ID_FILE_EXPORT_GPL),
    menu_items::Command("&RIFF Palette...", ID_FILE_EXPORT_RIFF),
    menu_items::Command("&Adobe Color Table...", ID_FILE_EXPORT_ACT),
    menu_items::Command("Paint.&NET Palette...", ID_FILE_EXPORT_PAINTNET),
    menu_items::Command("&Hex List...", ID_FILE_EXPORT_HEX),
    menu_items::Command("&Swatch Image...", ID_FILE_EXPORT_SWATCH),
    menu_items::kEnd,
    menu_items::kSeparator,
    menu_items::Command("&Print...\tCtrl+P", ID_FILE_PRINT),
    menu_items::Command("Print Pre&view", ID_FILE_PRINT_PREVIEW),
    menu_items::Command("P&rint Setup...", ID_FILE_PRINT_SETUP),
    menu_items::kSeparator,
    menu_items::kRecentFiles,
    menu_items::kSeparator,
    menu_items::Command("E&xit", ID_APP_EXIT),
    menu_items::kEnd,
    menu_items::Popup("&Edit"),
    menu_items::Command("&Undo\tCtrl+Z", ID_EDIT_UNDO),
    menu_items::Command("&Redo\tCtrl+Y", ID_EDIT_REDO),
    menu_items::kSeparator,
    menu_items::Command("&Copy\tCtrl+C", ID_EDIT_COPY),
    menu_items::Command("&Paste\tCtrl+V", ID_EDIT_PASTE),
    menu_items::kSeparator,
    menu_items::Command("Select &All\tCtrl+A", ID_EDIT_SELECT_ALL),
    menu_items::kEnd,
    menu_items::Popup("&Palette"),
    menu_items::Command("&Gradient", ID_PALETTE_GRADIENT),
    menu_items::Command("Colo&rize...", ID_PALETTE_COLORIZE),
    menu_items::kEnd,
    menu_items::Popup("&View"),
    menu_items::Command("&Toolbar", ID_VIEW_TOOLBAR),
    menu_items::Command("&Status Bar", ID_VIEW_STATUS_BAR),
    menu_items::Command("&Tables\tCtrl+T", ID_VIEW_TABLES),
    menu_items::kEnd,
    menu_items::Popup("&Window"),
    menu_items::Command("&New Window", ID_WINDOW_NEW),
    menu_items::Command("&Cascade", ID_WINDOW_CASCADE),
    menu_items::Command("&Tile", ID_WINDOW_TILE_HORZ),
    menu_items::Command("&Arrange Icons", ID_WINDOW_ARRANGE),
    menu_items::kWindowList,
    menu_items::kEnd,
    menu_items::Popup("&Help"),
    menu_items::Command("&About Palvane...", ID_APP_ABOUT),
    menu_items::kEnd,
};

// The text of the command's item in menu 129 or else menu 128, nullptr for a
// command that no menu lists.
constexpr const char* MenuItemText(unsigned id)
{
    for (const auto& menu :
         {std::span<const MenuItem>(kDocumentMenu), std::span<const MenuItem>(kMainFrameMenu)})
        for (const MenuItem& item : menu)
            if (item.id == id && item.kind != MenuItem::popup)
                return item.text;
    return nullptr;
}

// Toolbar 128, left to right; 0 is a separator. Button n shows image n of
// the toolbar strip, counting buttons only.
inline constexpr unsigned kToolBar[] = {
    ID_FILE_NEW,
    ID_FILE_OPEN,
    ID_FILE_SAVE,
    ID_FILE_PRINT,
    0,
    ID_PALETTE_GRADIENT,
    ID_PALETTE_COLORIZE,
    0,
    ID_APP_ABOUT,
};
