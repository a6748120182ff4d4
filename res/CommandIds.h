#pragma once

// The identifiers of the commands that menu items, toolbar buttons and keys
// send. The framework's own commands keep their customary values; the
// document's commands are numbered from 32771.

inline constexpr unsigned ID_FILE_NEW = 57600;
inline constexpr unsigned ID_FILE_OPEN = 57601;
inline constexpr unsigned ID_FILE_CLOSE = 57602;
inline constexpr unsigned ID_FILE_SAVE = 57603;
inline constexpr unsigned ID_FILE_SAVE_AS = 57604;
inline constexpr unsigned ID_FILE_PRINT_SETUP = 57606;
inline constexpr unsigned ID_FILE_PRINT = 57607;
inline constexpr unsigned ID_FILE_PRINT_DIRECT = 57608;
inline constexpr unsigned ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr unsigned ID_FILE_MRU_FILE1 = 57616;
inline constexpr unsigned ID_FILE_MRU_FILE2 = 57617;
inline constexpr unsigned ID_FILE_MRU_FILE3 = 57618;
inline constexpr unsigned ID_FILE_MRU_FILE4 = 57619;
inline constexpr unsigned ID_FILE_MRU_FILE5 = 57620;
inline constexpr unsigned ID_EDIT_COPY = 57634;
inline constexpr unsigned ID_EDIT_PASTE = 57637;
inline constexpr unsigned ID_EDIT_SELECT_ALL = 57642;
inline constexpr unsigned ID_EDIT_UNDO = 57643;
inline constexpr unsigned ID_EDIT_REDO = 57644;
inline constexpr unsigned ID_WINDOW_NEW = 57648;
inline constexpr unsigned ID_WINDOW_ARRANGE = 57649;
inline constexpr unsigned ID_WINDOW_CASCADE = 57650;
inline constexpr unsigned ID_WINDOW_TILE_HORZ = 57651;
inline constexpr unsigned ID_APP_ABOUT = 57664;
inline constexpr unsigned ID_APP_EXIT = 57665;
inline constexpr unsigned ID_VIEW_TOOLBAR = 59392;
inline constexpr unsigned ID_VIEW_STATUS_BAR = 59393;

inline constexpr unsigned ID_PALETTE_GRADIENT = 32771;
inline constexpr unsigned ID_FILE_EXPORT_JASC = 32772;
inline constexpr unsigned ID_PALETTE_COLORIZE = 32773;
inline constexpr unsigned ID_FILE_EXPORT_DFPAL = 32774;
inline constexpr unsigned ID_FILE_IMPORT_DFPAL = 32775;
inline constexpr unsigned ID_FILE_IMPORT_XWA = 32776;
inline constexpr unsigned ID_FILE_IMPORT_PALETTE = 32780;
inline constexpr unsigned ID_FILE_EXPORT_GPL = 32781;
inline constexpr unsigned ID_FILE_EXPORT_RIFF = 32782;
inline constexpr unsigned ID_FILE_EXPORT_ACT = 32783;
inline constexpr unsigned ID_FILE_EXPORT_PAINTNET = 32784;
inline constexpr unsigned ID_FILE_EXPORT_HEX = 32785;
inline constexpr unsigned ID_FILE_EXPORT_SWATCH = 32786;

inline constexpr unsigned ID_VIEW_TABLES = 32800;
