#include "tests/support/ChildProcess.h"

#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

std::string RunInChild(const std::function<std::string()>& check, bool unprivileged)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return "cannot make a pipe";
    const pid_t child = ::fork();
    if (child < 0)
        return "cannot fork";
    if (child == 0) {
        ::close(channel[0]);
        std::string result;
        if (unprivileged && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            result = "cannot become an unprivileged user";
        if (result.empty())
            result = check();
        if (result.empty())
            result = "ok";
        const ssize_t written = ::write(channel[1], result.data(), result.size());
        ::_exit(written == static_cast<ssize_t>(result.size()) ? 0 : 1);
    }
    ::close(channel[1]);
    std::string report;
    char buffer[256];
    ssize_t got = 0;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0)
        report.append(buffer, static_cast<std::size_t>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "the child did not finish: " + report;
    return report == "ok" ? std::string() : report;
}

ProgramRun RunProgram(const std::vector<std::string>& command, const ProgramOptions& options)
{
    const TempFolder capture;
    const std::string outPath =
        options.standardOutput.empty() ? capture / "out" : options.standardOutput;
    const std::string errPath = capture / "err";
    WriteFileBytes(errPath, {}); // there even when the child dies before opening them
    if (options.standardOutput.empty())
        WriteFileBytes(outPath, {});
    std::vector<char*> argv;
    for (const std::string& argument : command)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGXFSZ})
            std::signal(signal, SIG_DFL);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (err < 0 || out < 0 || ::dup2(err, 2) < 0 || ::dup2(out, 1) < 0)
            ::_exit(127);
        if (options.closeStandardOutput)
            ::close(1);
        if (options.fileSizeLimit >= 0) {
            const rlimit limit{static_cast<rlim_t>(options.fileSizeLimit),
                               static_cast<rlim_t>(options.fileSizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ProgramRun run;
    if (child < 0)
        return run;
    if (options.signal != 0) {
        std::this_thread::sleep_for(options.signalDelay);
        ::kill(child, options.signal);
    }
    // The ended child stays a zombie until it is waited for, so what it read
    // can still be looked up.
    siginfo_t ended{};
    if (::waitid(P_PID, static_cast<id_t>(child), &ended, WEXITED | WNOWAIT) == 0) {
        std::ifstream io("/proc/" + std::to_string(child) + "/io");
        for (std::string field; io >> field;)
            if (field == "rchar:" && io >> run.bytesRead)
                break;
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    run.peakResidentBytes = 1024LL * usage.ru_maxrss; // in KiB on Linux
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    const Bytes out = options.standardOutput.empty() ? ReadFileBytes(outPath) : Bytes();
    const Bytes err = ReadFileBytes(errPath);
    run.out.assign(out.begin(), out.end());
    run.err.assign(err.begin(), err.end());
    return run;
}
