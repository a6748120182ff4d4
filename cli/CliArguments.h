#pragma once

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
        importOpt,
        optInfo
    };
    Kind kind;
    std::string file;  // open, save, importOpt, optInfo
    int selStart = -1; // select
    int selEnd = -1;
    int textureRow = 0; // importOpt
};

struct CliArguments {
    enum class Action { run, help, version, usageError };
    Action action = Action::run;
    std::vector<CliStep> steps;
    std::string error; // usageError: what was wrong
};

CliArguments ParseCliArguments(const std::vector<std::string>& arguments);

// The text that --help prints.
std::string CliUsageText();
