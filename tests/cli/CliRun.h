#pragma once

#include "cli/CliSession.h"

#include <sstream>
#include <string>
#include <vector>

// palvane-cli run in this process, its output captured.
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
