#include "tests/support/ChildProcess.h"

#include <string>
#include <sys/wait.h>
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
