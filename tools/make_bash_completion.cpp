// Writes the bash completion of palvane-cli from the option table that
// drives its parsing and --help: make-bash-completion FILE. Options complete
// by their names; the value of one that takes a file completes as a file
// name, other values are the user's to type.

#include "cli/CliArguments.h"

#include <fstream>
#include <iostream>
#include <string>

namespace {

// The options whose value names a file ("FILE", "FILE[:N]").
bool TakesFile(const CliOptionName& option)
{
    return option.value.rfind("FILE", 0) == 0;
}

std::string Script()
{
    std::string options;
    std::string fileOptions;
    std::string valueOptions;
    auto add = [](std::string& list, const std::string& name, const char* separator) {
        list += (list.empty() ? "" : separator) + name;
    };
    for (const CliOptionName& option : CliOptionNames()) {
        add(options, option.name, " ");
        if (TakesFile(option))
            add(fileOptions, option.name, "|");
        else if (!option.value.empty())
            add(valueOptions, option.name, "|");
    }
    std::string cases;
    if (!fileOptions.empty())
        cases += "        " + fileOptions +
                 ")\n"
                 "            compopt -o filenames 2>/dev/null\n"
                 "            mapfile -t COMPREPLY < <(compgen -f -- \"$current\")\n"
                 "            return ;;\n";
    if (!valueOptions.empty())
        cases += "        " + valueOptions +
                 ")\n"
                 "            return ;;\n";
    return "# bash completion for palvane-cli                          -*- shell-script -*-\n"
           "# Generated from palvane-cli's option table by make-bash-completion.\n"
           "\n"
           "_palvane_cli()\n"
           "{\n"
           "    local current=${COMP_WORDS[COMP_CWORD]}\n"
           "    COMPREPLY=()\n"
           "    case ${COMP_WORDS[COMP_CWORD-1]} in\n" +
           cases +
           "    esac\n"
           "    mapfile -t COMPREPLY < <(compgen -W '" +
           options +
           "' -- \"$current\")\n"
           "} &&\n"
           "    complete -F _palvane_cli palvane-cli\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make-bash-completion FILE\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << Script();
    out.close();
    if (!out) {
        std::cerr << "make-bash-completion: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
