#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The command line of palvane-cli: a list of steps run from left to right on
// one document.
struct CliStep {
    enum class Kind {
        newDocument,
        open,
        save,
        select,
        dump,
        transparency,
        noTransparency,
        gradient,
        colorize,
        setColor,
        importDfpal,
        exportDfpal,
        black32,
        noBlack32,
        exportJasc,
        importOpt,
        optInfo,
        importPalette,
        exportGpl,
        exportRiff,
        exportAct,
        exportPaintNet,
        exportHex,
        exportSwatch,
        replaceTables,
        keepTables,
        tableReport,
        renderLight,
        renderTranslucency,
        renderGrid,
    };
    Kind kind = Kind::dump;
    std::string file;  // open, save, import, export and model steps
    int selStart = -1; // select, gradient, colorize; setColor: the cell
    int selEnd = -1;
    std::uint32_t color = 0; // colorize, setColor: the colour value, red in the low byte
    bool cancel = false;     // colorize: the colour chooser is cancelled
    int textureRow = 0;      // importOpt
    int level = 63;          // renderGrid: the light level
};

struct CliArguments {
    enum class Action { run, help, version, usageError };
    Action action = Action::run;
    std::vector<CliStep> steps;
    std::string error; // usageError: what was wrong
};

// Whether this build reads and writes images (it does where it has Qt).
bool CliHasImages();

CliArguments ParseCliArguments(const std::vector<std::string>& arguments);

// The text that --help prints.
std::string CliUsageText();

// An option as the table that drives parsing and --help names it.
struct CliOptionName {
    std::string name;
    std::string value; // what its value looks like; empty: it takes none
};

// Every option, in the order --help lists them, for shell completion.
std::vector<CliOptionName> CliOptionNames();
// Whether this build writes pictures (--render-light and the like): only
// where it has an image library.
#ifdef PALVANE_CLI_PICTURES
inline constexpr bool kCliHasPictures = true;
#else
inline constexpr bool kCliHasPictures = false;
#endif
