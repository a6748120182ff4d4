#include "cli/CheckedOutput.h"
#include "cli/CliSession.h"
#include "framework/CFileException.h"
#include "framework/PlatformFile.h"

#include <iostream>
#include <ostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    platform_file::PrepareProcessForSaving();
    // A save onto a named pipe waits for its reader as long as it takes;
    // Ctrl-C ends the wait.
    platform_file::SetPipeReaderWait(platform_file::kWaitForever);
    const std::vector<std::string> arguments = platform_file::ProgramArguments(argc, argv);
    constexpr int kStandardOutput = 1;
    CheckedOutput buffer(kStandardOutput);
    std::ostream out(&buffer);
    int status = RunPalvaneCli(arguments, out, std::cerr);
    if (const int error = buffer.Finish(); error != 0) {
        std::cerr << "palvane-cli: "
                  << CFileException::MessageFor(CFileException::ErrnoToCause(error),
                                                "standard output")
                  << '\n';
        if (status == 0)
            status = 1;
    }
    return status;
}
