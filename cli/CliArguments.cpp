#include "cli/CliArguments.h"

#include <algorithm>
#include <charconv>

namespace {

// A palette index, 0 to 255, in decimal.
bool ParseIndex(const std::string& text, int& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last && !text.empty() && value >= 0 && value <= 255;
}

// "S:E", both palette indices, S <= E.
bool ParseRun(const std::string& text, CliStep& step)
{
    const auto colon = text.find(':');
    return colon != std::string::npos && ParseIndex(text.substr(0, colon), step.selStart) &&
           ParseIndex(text.substr(colon + 1), step.selEnd) && step.selStart <= step.selEnd;
}

// "S:E" with S < E: a run of two cells or more.
bool ParseLongRun(const std::string& text, CliStep& step)
{
    return ParseRun(text, step) && step.selStart < step.selEnd;
}

// "#RRGGBB" into a colour value with red in the low byte.
bool ParseColor(const std::string& text, std::uint32_t& color)
{
    if (text.size() != 7 || text[0] != '#')
        return false;
    std::uint32_t rgb = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data() + 1, last, rgb, 16);
    if (error != std::errc() || end != last)
        return false;
    color = (rgb >> 16) | (rgb & 0x00FF00u) | ((rgb & 0xFFu) << 16);
    return true;
}

// "S:E=#RRGGBB" or "S:E=cancel".
bool ParseColorize(const std::string& text, CliStep& step)
{
    const auto equals = text.find('=');
    if (equals == std::string::npos || !ParseRun(text.substr(0, equals), step))
        return false;
    const std::string answer = text.substr(equals + 1);
    step.cancel = answer == "cancel";
    return step.cancel || ParseColor(answer, step.color);
}

// "I=#RRGGBB".
bool ParseSetColor(const std::string& text, CliStep& step)
{
    const auto equals = text.find('=');
    return equals != std::string::npos && ParseIndex(text.substr(0, equals), step.selStart) &&
           ParseColor(text.substr(equals + 1), step.color);
}

bool ParseFile(const std::string& text, CliStep& step)
{
    step.file = text;
    return true;
}

// "FILE" or "FILE:N": a model file and the texture row to import (default 0).
// A colon followed by anything but digits belongs to the file name.
bool ParseModelFileAndRow(const std::string& text, CliStep& step)
{
    const auto colon = text.rfind(':');
    const std::string digits = colon == std::string::npos ? "" : text.substr(colon + 1);
    int row = 0;
    const char* last = digits.data() + digits.size();
    const auto [end, error] = std::from_chars(digits.data(), last, row);
    const bool hasRow = colon != std::string::npos && colon > 0 && !digits.empty() &&
                        digits[0] != '-' && error == std::errc() && end == last;
    step.file = hasRow ? text.substr(0, colon) : text;
    step.textureRow = hasRow ? row : 0;
    return true;
}

// "FILE" or "FILE:LEVEL": a picture file and the light level to show
// (0 to 63, default 63). A colon followed by anything but digits belongs to
// the file name.
bool ParsePictureFileAndLevel(const std::string& text, CliStep& step)
{
    const auto colon = text.rfind(':');
    const std::string digits = colon == std::string::npos ? "" : text.substr(colon + 1);
    const bool hasLevel = colon != std::string::npos && colon > 0 && !digits.empty() &&
                          digits.find_first_not_of("0123456789") == std::string::npos;
    step.file = hasLevel ? text.substr(0, colon) : text;
    step.level = 63;
    if (!hasLevel)
        return true;
    const char* last = digits.data() + digits.size();
    const auto [end, error] = std::from_chars(digits.data(), last, step.level);
    return error == std::errc() && end == last && step.level <= 63;
}

// One command-line option. Steps that act on the document need one opened
// or made by an earlier step.
struct CliOption {
    const char* name;
    CliArguments::Action action;
    CliStep::Kind kind;
    const char* value; // what the value looks like; nullptr: takes none
    bool (*parse)(const std::string& text, CliStep& step);
    bool needsDocument;
    const char* help;
    bool needsImages = false;   // only in builds that read and write images
    bool needsPictures = false; // only in builds that write pictures
};

using Action = CliArguments::Action;
using Kind = CliStep::Kind;

const CliOption kOptions[] = {
    {"--new", Action::run, Kind::newDocument, nullptr, nullptr, false,
     "start a new colormap, every colour grey"},
    {"--open", Action::run, Kind::open, "FILE", ParseFile, false, "open a colormap file (.cmp)"},
    {"--transparency", Action::run, Kind::transparency, nullptr, nullptr, false,
     "the saves that follow include the transparency table"},
    {"--no-transparency", Action::run, Kind::noTransparency, nullptr, nullptr, false,
     "the saves that follow leave it out (the default)"},
    {"--replace-tables", Action::run, Kind::replaceTables, nullptr, nullptr, false,
     "saves replace tables that were not made from the\n"
     "palette, with a warning (the default)"},
    {"--keep-tables", Action::run, Kind::keepTables, nullptr, nullptr, false,
     "saves of a colormap with such tables fail instead"},
    {"--select", Action::run, Kind::select, "S:E", ParseRun, true,
     "select cells S to E, 0 <= S <= E <= 255, as clicks would"},
    {"--gradient", Action::run, Kind::gradient, "S:E", ParseLongRun, true,
     "select S to E (S < E) and blend the cells between them"},
    {"--colorize", Action::run, Kind::colorize, "S:E=#RRGGBB", ParseColorize, true,
     "select S to E and tint them towards the colour;\n"
     "S:E=cancel cancels the colour chooser"},
    {"--set", Action::run, Kind::setColor, "I=#RRGGBB", ParseSetColor, true,
     "give cell I the colour, as the colour chooser would"},
    {"--import-dfpal", Action::run, Kind::importDfpal, "FILE", ParseFile, true,
     "replace the palette from a Dark Forces palette"},
    {"--export-dfpal", Action::run, Kind::exportDfpal, "FILE", ParseFile, true,
     "export the palette as a Dark Forces palette"},
    {"--black32", Action::run, Kind::black32, nullptr, nullptr, false,
     "the JASC exports that follow write cells 0 to 31 black"},
    {"--no-black32", Action::run, Kind::noBlack32, nullptr, nullptr, false,
     "they write those cells as they are (the default)"},
    {"--export-jasc", Action::run, Kind::exportJasc, "FILE", ParseFile, true,
     "export the palette as a JASC-PAL text palette"},
    {"--save", Action::run, Kind::save, "FILE", ParseFile, true,
     "save the colormap, tables computed from its palette"},
    {"--dump", Action::run, Kind::dump, nullptr, nullptr, true,
     "print the document as one line of JSON"},
    {"--table-report", Action::run, Kind::tableReport, nullptr, nullptr, true,
     "print how a save changes the tables the file holds"},
    {"--render-light", Action::run, Kind::renderLight, "FILE", ParseFile, true,
     "write the light levels a save writes as a 256 x 64\n"
     "PNG picture, level 0 on the top row",
     false, true},
    {"--render-translucency", Action::run, Kind::renderTranslucency, "FILE", ParseFile, true,
     "write the translucency table as a 256 x 256 PNG\n"
     "picture, row = the first index",
     false, true},
    {"--render-grid", Action::run, Kind::renderGrid, "FILE[:LEVEL]", ParsePictureFileAndLevel, true,
     "write the palette at light level LEVEL (0 to 63,\n"
     "default 63) as 16 x 16 cells of 16 x 16 pixels",
     false, true},
    {"--import-opt", Action::run, Kind::importOpt, "FILE[:N]", ParseModelFileAndRow, true,
     "replace the palette with that of texture row N\n"
     "(default 0) of an X-Wing Alliance model file (.opt)"},
    {"--opt-info", Action::run, Kind::optInfo, "FILE", ParseFile, false,
     "print what a model file holds as one line of JSON"},
    {"--import-palette", Action::run, Kind::importPalette, "FILE", ParseFile, true,
     "fill cells from the selection's start (0 without one) with\n"
     "a palette file, its format recognised by its content"},
    {"--export-gpl", Action::run, Kind::exportGpl, "FILE", ParseFile, true,
     "export the palette as a GIMP palette (.gpl)"},
    {"--export-riff", Action::run, Kind::exportRiff, "FILE", ParseFile, true,
     "export the palette as a RIFF palette (.pal)"},
    {"--export-act", Action::run, Kind::exportAct, "FILE", ParseFile, true,
     "export the palette as an Adobe colour table (.act)"},
    {"--export-paintnet", Action::run, Kind::exportPaintNet, "FILE", ParseFile, true,
     "export the palette as a Paint.NET palette (.txt)"},
    {"--export-hex", Action::run, Kind::exportHex, "FILE", ParseFile, true,
     "export the palette as a hex colour list (.hex)"},
    {"--export-swatch", Action::run, Kind::exportSwatch, "FILE", ParseFile, true,
     "export the palette as a PNG image of 16 x 16 cells", true},
    {"--help", Action::help, Kind::dump, nullptr, nullptr, false, "show this text"},
    {"-h", Action::help, Kind::dump, nullptr, nullptr, false, nullptr},
    {"--version", Action::version, Kind::dump, nullptr, nullptr, false, "show the version"},
};

const CliOption* FindOption(const std::string& name)
{
    for (const CliOption& option : kOptions)
        if (name == option.name)
            return &option;
    return nullptr;
}

CliArguments UsageError(std::string message)
{
    CliArguments result;
    result.action = CliArguments::Action::usageError;
    result.error = std::move(message);
    return result;
}

} // namespace

bool CliHasImages()
{
#ifdef PALVANE_CLI_IMAGES
    return true;
#else
    return false;
#endif
}

CliArguments ParseCliArguments(const std::vector<std::string>& arguments)
{
    CliArguments result;
    bool haveDocument = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        const CliOption* option = FindOption(name);
        if (option == nullptr)
            return UsageError("unknown argument '" + name + "'");
        if (option->needsPictures && !kCliHasPictures)
            return UsageError(name + " is not available: this palvane-cli was built without an "
                                     "image library to write pictures with");
        if (option->action != Action::run) {
            result.action = option->action;
            return result;
        }
        if (option->needsImages && !CliHasImages())
            return UsageError(name + " needs images, which this build of palvane-cli does not "
                                     "read or write");
        CliStep step;
        step.kind = option->kind;
        if (option->value != nullptr) {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty())
                return UsageError(name + " needs a value");
            const std::string& value = arguments[++i];
            if (!option->parse(value, step))
                return UsageError(name + " takes " + option->value + ", not '" + value + "'");
        }
        if (option->needsDocument && !haveDocument)
            return UsageError(name + " needs a document: start with --new or --open");
        haveDocument = haveDocument || step.kind == Kind::newDocument || step.kind == Kind::open;
        result.steps.push_back(std::move(step));
    }
    if (result.steps.empty())
        return UsageError("no steps given");
    return result;
}

std::string CliUsageText()
{
    auto synopsis = [](const CliOption& option) {
        return std::string(option.name) +
               (option.value != nullptr ? std::string(" ") + option.value : "");
    };
    std::size_t width = 0;
    auto shown = [](const CliOption& option) {
        return option.help != nullptr && (kCliHasPictures || !option.needsPictures) &&
               (CliHasImages() || !option.needsImages);
    };
    for (const CliOption& option : kOptions)
        if (shown(option))
            width = std::max(width, synopsis(option).size());
    std::string text =
        "Usage: palvane-cli STEP...\n"
        "Runs the steps from left to right on one colormap document and stops at the\n"
        "first that fails.\n"
        "\n";
    for (const CliOption& option : kOptions) {
        if (!shown(option))
            continue;
        const std::string indent(width + 4, ' ');
        std::string line = "  " + synopsis(option);
        line.resize(indent.size(), ' ');
        for (const char* at = option.help; *at != '\0'; ++at) {
            line += *at;
            if (*at == '\n')
                line += indent;
        }
        text += line + '\n';
    }
    text += "\n"
            "Exit status: 0 when every step succeeded, 1 when a step failed (its message\n"
            "is printed), 2 for a usage error.\n";
    return text;
}

std::vector<CliOptionName> CliOptionNames()
{
    std::vector<CliOptionName> names;
    for (const CliOption& option : kOptions)
        names.push_back({option.name, option.value != nullptr ? option.value : ""});
    return names;
}
