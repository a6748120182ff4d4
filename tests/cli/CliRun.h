#pragma once

#include "cli/CliSession.h"

#include <sstream>
#include <string>
#include <vector>

// What one palvane-cli run gave: its exit status and what it printed.
struct CliResult {
    int status;
    std::string out;
    std::string err;
};

inline CliResult RunCli(const std::vector<std::string>& arguments)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunPalvaneCli(arguments, out, err);
    return {status, out.str(), err.str()};
}
