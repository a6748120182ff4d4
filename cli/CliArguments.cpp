#include "cli/CliArguments.h"

#include <charconv>

namespace {

bool ParseIndex(const std::string& text, int& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last && !text.empty();
}

// "S:E" with 0 <= S <= E <= 255.
bool ParseSelection(const std::string& text, int& start, int& end)
{
    const auto colon = text.find(':');
    if (colon == std::string::npos)
        return false;
    return ParseIndex(text.substr(0, colon), start) && ParseIndex(text.substr(colon + 1), end) &&
           start >= 0 && start <= end && end <= 255;
}

// "FILE" or "FILE:N": a model file and the texture row to import (default 0).
// A colon followed by anything but digits belongs to the file name.
void ParseModelFileAndRow(const std::string& text, std::string& file, int& row)
{
    const auto colon = text.rfind(':');
    int parsed = 0;
    if (colon != std::string::npos && colon > 0 && ParseIndex(text.substr(colon + 1), parsed) &&
        text[colon + 1] != '-' && text[colon + 1] != '+') {
        file = text.substr(0, colon);
        row = parsed;
    } else {
        file = text;
        row = 0;
    }
}

CliArguments UsageError(std::string message)
{
    CliArguments result;
    result.action = CliArguments::Action::usageError;
    result.error = std::move(message);
    return result;
}

} // namespace

CliArguments ParseCliArguments(const std::vector<std::string>& arguments)
{
    CliArguments result;
    bool haveDocument = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--help" || option == "-h") {
            result.action = CliArguments::Action::help;
            return result;
        }
        if (option == "--version") {
            result.action = CliArguments::Action::version;
            return result;
        }
        CliStep step{CliStep::Kind::dump, {}, -1, -1};
        const bool takesValue = option == "--open" || option == "--save" || option == "--select" ||
                                option == "--import-opt" || option == "--opt-info";
        if (takesValue && (i + 1 >= arguments.size() || arguments[i + 1].empty()))
            return UsageError(option + " needs a value");
        if (option == "--new") {
            step.kind = CliStep::Kind::newDocument;
        } else if (option == "--open") {
            step.kind = CliStep::Kind::open;
            step.file = arguments[++i];
        } else if (option == "--save") {
            step.kind = CliStep::Kind::save;
            step.file = arguments[++i];
        } else if (option == "--select") {
            step.kind = CliStep::Kind::select;
            if (!ParseSelection(arguments[++i], step.selStart, step.selEnd))
                return UsageError("--select takes S:E with 0 <= S <= E <= 255, not '" +
                                  arguments[i] + "'");
        } else if (option == "--import-opt") {
            step.kind = CliStep::Kind::importOpt;
            ParseModelFileAndRow(arguments[++i], step.file, step.textureRow);
        } else if (option == "--opt-info") {
            step.kind = CliStep::Kind::optInfo;
            step.file = arguments[++i];
        } else if (option == "--dump") {
            step.kind = CliStep::Kind::dump;
        } else if (option == "--transparency") {
            step.kind = CliStep::Kind::transparency;
        } else if (option == "--no-transparency") {
            step.kind = CliStep::Kind::noTransparency;
        } else {
            return UsageError("unknown argument '" + option + "'");
        }
        const bool needsDocument =
            step.kind == CliStep::Kind::save || step.kind == CliStep::Kind::select ||
            step.kind == CliStep::Kind::dump || step.kind == CliStep::Kind::importOpt;
        if (needsDocument && !haveDocument)
            return UsageError(option + " needs a document: start with --new or --open");
        haveDocument = haveDocument || step.kind == CliStep::Kind::newDocument ||
                       step.kind == CliStep::Kind::open;
        result.steps.push_back(std::move(step));
    }
    if (result.steps.empty())
        return UsageError("no steps given");
    return result;
}

std::string CliUsageText()
{
    return "Usage: palvane-cli STEP...\n"
           "Runs the steps from left to right on one colormap document and stops at the\n"
           "first that fails.\n"
           "\n"
           "  --new              start a new colormap, every colour grey\n"
           "  --open FILE        open a colormap file (.cmp)\n"
           "  --transparency     the saves that follow include the transparency table\n"
           "  --no-transparency  the saves that follow leave it out (the default)\n"
           "  --select S:E       select cells S to E, 0 <= S <= E <= 255, as clicks would\n"
           "  --save FILE        save the colormap, tables computed from its palette\n"
           "  --dump             print the document as one line of JSON\n"
           "  --import-opt FILE[:N]  replace the palette with that of texture row N\n"
           "                     (default 0) of an X-Wing Alliance model file (.opt)\n"
           "  --opt-info FILE    print what a model file holds as one line of JSON\n"
           "  --help             show this text\n"
           "  --version          show the version\n"
           "\n"
           "Exit status: 0 when every step succeeded, 1 when a step failed (its message\n"
           "is printed), 2 for a usage error.\n";
}
