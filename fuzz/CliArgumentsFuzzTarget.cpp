// palvane-cli's argument parsing on arbitrary arguments: the input is the
// argument list, each argument ended by a NUL byte (the last one need not
// be). Only the parser runs; no step is carried out.
#include "cli/CliArguments.h"
#include "fuzz/FuzzExpect.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> arguments;
    const char* text = reinterpret_cast<const char*>(data);
    for (std::size_t start = 0; start < size;) {
        std::size_t end = start;
        while (end < size && text[end] != '\0')
            ++end;
        arguments.emplace_back(text + start, end - start);
        start = end + 1;
    }
    const CliArguments parsed = ParseCliArguments(arguments);

    const bool run = parsed.action == CliArguments::Action::run;
    const bool usageError = parsed.action == CliArguments::Action::usageError;
    FuzzExpect(usageError != parsed.error.empty(), "exactly a usage error carries a message");
    FuzzExpect(!run || !parsed.steps.empty(), "a run has steps");
    FuzzExpect(parsed.steps.size() <= arguments.size(), "every step comes from an argument");
    for (const CliStep& step : parsed.steps) {
        FuzzExpect(step.selStart >= -1 && step.selStart <= 255 && step.selEnd >= -1 &&
                       step.selEnd <= 255,
                   "cell numbers are palette indices");
        FuzzExpect(step.color <= 0xFFFFFF, "a colour has no top byte");
        FuzzExpect(step.textureRow >= 0, "a texture row is not negative");
    }
    return 0;
}
