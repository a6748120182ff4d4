#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

// Why tests skip on Windows: they need what only POSIX systems have.
inline constexpr const char* kNeedsPosix =
    "needs fork, signals, FIFOs, file owners or permission bits, which Windows does not have";

// Runs `check` in a forked child and returns what it returned: an empty
// string when all was well, otherwise a description of what went wrong.
// With `unprivileged`, a child running as the superuser first becomes the
// user "nobody", so that file permissions hold for it.
std::string RunInChild(const std::function<std::string()>& check, bool unprivileged = false);

// How RunProgram starts a program.
struct ProgramOptions {
    std::string standardOutput; // a file for standard output; empty: captured
    bool closeStandardOutput = false;
    long long fileSizeLimit = -1; // in bytes, as RLIMIT_FSIZE
    int signal = 0;               // sent after signalDelay, when not 0
    std::chrono::microseconds signalDelay{0};
};

struct ProgramRun {
    int exitCode = -1; // when the program exited
    int signal = 0;    // the signal that ended it, or 0
    std::string out;
    std::string err;
    long long peakResidentBytes = -1; // the most memory it held, as the system counts it
    long long bytesRead = -1;         // what its reads returned in all, where /proc tells
};

// Runs `command` (the program's path, then its arguments) as a process with
// the default handling of every signal.
ProgramRun RunProgram(const std::vector<std::string>& command, const ProgramOptions& options = {});
