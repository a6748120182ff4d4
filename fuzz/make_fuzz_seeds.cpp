// Writes the seed corpora of the fuzz targets, one folder per target, from
// the program's own writers and the test builders: valid inputs of every
// kind each reader knows, and damaged ones. Files of other names in the
// folders (regression inputs) are left alone.
#include "document/CPalvaneDoc.h"
#include "document/RecoveryJournal.h"
#include "document/palette_formats/PaletteFormats.h"
#include "framework/ScriptedUserInterface.h"
#include "tests/support/OptFileBuilder.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Write(const std::filesystem::path& path, const Bytes& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

Bytes ReadBack(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes Prefix(const Bytes& bytes, std::size_t size)
{
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
}

// A document whose palette runs through many colours, so that its tables
// are not all alike.
void FillRamp(CPalvaneDoc& document)
{
    for (int i = 0; i < CPalvaneDoc::kPaletteSize; ++i)
        document.m_palette[static_cast<std::size_t>(i)] =
            ColorTriple(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                        static_cast<std::uint8_t>((i * 7) & 0xFF));
}

// Colormaps saved by the document itself, with and without the transparency
// table, and the ways a file can fall short of one.
void ColormapSeeds(const std::filesystem::path& folder, const std::filesystem::path& scratch)
{
    ScriptedUserInterface ui;
    ScopedUserInterface installed(ui);
    CPalvaneDoc document;
    document.OnNewDocument();
    FillRamp(document);
    const std::filesystem::path saved = scratch / "saved.cmp";
    Bytes full;
    for (const bool transparency : {false, true}) {
        ui.QueueMessageBoxAnswer(transparency ? IDYES : IDNO);
        if (!document.OnSaveDocument(saved.string()))
            throw std::runtime_error("cannot save " + saved.string());
        full = ReadBack(saved);
        Write(folder / (transparency ? "transparency.cmp" : "light-levels.cmp"), full);
    }
    Write(folder / "palette-only.cmp", Prefix(full, 832));
    Write(folder / "palette-short.cmp", Prefix(full, 500));
    Write(folder / "header-only.cmp", Prefix(full, 64));
    Write(folder / "magic-only.cmp", Prefix(full, 4));
    Write(folder / "empty.cmp", {});
    Bytes lower = Prefix(full, 832);
    lower[0] = 'c';
    lower[2] = 'p';
    Write(folder / "magic-lower-case.cmp", lower);
    Bytes wrong = Prefix(full, 832);
    wrong[2] = '\0';
    Write(folder / "magic-cut.cmp", wrong);
}

// Dark Forces palettes exported by the document, and shorter and longer ones.
void DfpalSeeds(const std::filesystem::path& folder, const std::filesystem::path& scratch)
{
    ScriptedUserInterface ui;
    ScopedUserInterface installed(ui);
    CPalvaneDoc document;
    document.OnNewDocument();
    FillRamp(document);
    const std::filesystem::path exported = scratch / "exported.pal";
    ui.QueueFile(exported.string());
    document.OnFileExportDfpal();
    const Bytes palette = ReadBack(exported);
    Write(folder / "exported.pal", palette);
    Write(folder / "short.pal", Prefix(palette, 301));
    Bytes bright(768);
    for (std::size_t i = 0; i < bright.size(); ++i)
        bright[i] = static_cast<std::uint8_t>(i);
    bright.resize(1000, 0xFF);
    Write(folder / "out-of-range-and-long.pal", bright);
    Write(folder / "empty.pal", {});
}

OptFileBuilder::Bytes ChoiceModel()
{
    OptFileBuilder opt;
    const int texture = opt.Texture("Cockpit", {0xFFFF}, {1, 2, 3, 4});
    const int choice = opt.Node(24, {texture, opt.TextureLink("Tex00000")});
    const int faces = opt.FaceBlock({{{0, 1, 2, 3}, {1, 2, 3}}, {{4, 5, 6, -1}, {4, 5, 6}}});
    return opt.Build({opt.Node(21, {choice, faces}), opt.FaceBlock({{{0, 1, 2, -1}, {}}})});
}

OptFileBuilder::Bytes CycleModel()
{
    OptFileBuilder opt;
    const int loop = opt.Node(0, {0});
    opt.SetInt32(opt.Int32At(loop + 12) - opt.Base(), opt.Stored(loop));
    return opt.Build({loop});
}

// A face block and a texture that claim far more than the file holds.
OptFileBuilder::Bytes OverclaimingModel()
{
    OptFileBuilder opt;
    const int texture = opt.Texture("Huge", {0x1234}, {9, 8, 7});
    const int faces = opt.FaceBlock({{{0, 1, 2, 3}, {1, 2, 3}}});
    opt.SetInt32(faces + 16, 0x7FFFFFFF);
    opt.SetInt32(opt.TextureHeader(texture) + 8, 0x7FFFFFFF);
    return opt.Build({opt.Node(21, {texture, faces})});
}

void OptSeeds(const std::filesystem::path& folder)
{
    const OptFileBuilder::Bytes sample = SampleOptModel();
    Write(folder / "sample.opt", sample);
    Write(folder / "sample-half.opt", Prefix(sample, sample.size() / 2));
    const OptFileBuilder::Bytes choice = ChoiceModel();
    Write(folder / "choice.opt", choice);
    Write(folder / "choice-cut.opt", Prefix(choice, choice.size() - 40));
    Write(folder / "cycle.opt", CycleModel());
    Write(folder / "overclaiming.opt", OverclaimingModel());
    Write(folder / "shared-blocks.opt", SharedBlocksOptModel());
    Write(folder / "empty.opt", OptFileBuilder().Build({}));
}

// Argument lists, each argument ended by a NUL byte.
void ArgumentSeeds(const std::filesystem::path& folder)
{
    const std::vector<std::pair<std::string, std::vector<std::string>>> lists = {
        {"open-edit-save",
         {"--open", "in.cmp", "--select", "32:47", "--gradient", "1:9", "--colorize",
          "0:255=#FF8000", "--set", "7=#102030", "--transparency", "--save", "out.cmp"}},
        {"new-exports",
         {"--new", "--black32", "--export-jasc", "a.pal", "--no-black32", "--export-dfpal", "b.pal",
          "--import-dfpal", "b.pal", "--dump"}},
        {"models",
         {"--opt-info", "m.opt", "--new", "--import-opt", "C:\\m.opt:3", "--colorize", "4:5=cancel",
          "--no-transparency"}},
        {"help", {"--help"}},
        {"version", {"--version", "--new"}},
        {"errors", {"--select", "300:2", "--set", "x", "--bogus", "-h"}},
    };
    for (const auto& [name, arguments] : lists) {
        Bytes bytes;
        for (const std::string& argument : arguments) {
            bytes.insert(bytes.end(), argument.begin(), argument.end());
            bytes.push_back(0);
        }
        Write(folder / (name + ".args"), bytes);
    }
}

// Journals the editor writes, for a saved and an untitled colormap, one
// with a field from a later editor, and the ways one can be damaged.
void JournalSeeds(const std::filesystem::path& folder)
{
    CPalvaneDoc document;
    document.OnNewDocument();
    FillRamp(document);
    RecoveryJournal journal = RecoveryJournal::Of(document);
    journal.title = "JKCMP2";
    Write(folder / "untitled.journal", journal.Encode());
    journal.selectionStart = 32;
    journal.selectionEnd = 47;
    journal.title = "sample.cmp";
    journal.path = "/home/someone/colormaps/sample.cmp";
    const Bytes saved = journal.Encode();
    Write(folder / "saved.journal", saved);
    platform_file::FileIdentity identity;
    identity.kind = platform_file::NodeKind::regular;
    identity.device = 2049;
    identity.fileNumber = 1311768;
    identity.size = 17216;
    identity.modifiedSeconds = 1796000000;
    identity.modifiedNanoseconds = 123456789;
    journal.fileStamp = FileStamp::FromParts(identity, true, 0x0123456789ABCDEFu);
    Write(folder / "saved-with-file-state.journal", journal.Encode());
    Bytes later = saved;
    later.insert(later.end(), {'D', 'I', 'S', 'K', 4, 0, 0, 0, 1, 2, 3, 4});
    later[20] = static_cast<std::uint8_t>(later.size() - 24);
    later[21] = static_cast<std::uint8_t>((later.size() - 24) >> 8);
    Write(folder / "later-field.journal", later);
    Write(folder / "cut-in-palette.journal", Prefix(saved, 400));
    Write(folder / "header-only.journal", Prefix(saved, 24));
    Bytes version = saved;
    version[16] = 2;
    Write(folder / "version-2.journal", version);
    Write(folder / "empty.journal", {});
}

// A palette written in each format, one cut short, and hand-written text
// and binary palettes with the variations readers must take.
void PaletteFormatSeeds(const std::filesystem::path& folder)
{
    using namespace palette_formats;
    CPalvaneDoc document;
    document.OnNewDocument();
    FillRamp(document);
    const std::pair<const char*, PaletteFormat> formats[] = {
        {"jasc.pal", PaletteFormat::jasc},
        {"gimp.gpl", PaletteFormat::gimp},
        {"riff.pal", PaletteFormat::riff},
        {"adobe.act", PaletteFormat::adobeColorTable},
        {"paintnet.txt", PaletteFormat::paintNet},
        {"list.hex", PaletteFormat::hexList},
        {"darkforces.pal", PaletteFormat::darkForces},
        {"rgb.pal", PaletteFormat::rawRgb},
    };
    for (const auto& [name, format] : formats) {
        const std::string text = CodecFor(format).Write(document.m_palette, "ramp");
        const Bytes bytes(text.begin(), text.end());
        Write(folder / name, bytes);
        Write(folder / (std::string("cut-") + name), Prefix(bytes, bytes.size() / 2 + 1));
    }
    const auto text = [](const std::string& content) {
        return Bytes(content.begin(), content.end());
    };
    Write(folder / "jasc-crlf-extra.pal",
          text("JASC-PAL\r\n0100\r\n300\r\n1 2 3 x \r\n 4  5 6\r\n"));
    Write(folder / "gimp-names.gpl",
          text("GIMP Palette\nName: a\nColumns: 4\n# c\n\n 1 2 3 Red one\n"));
    Write(folder / "list-mixed.hex", text("; list\n#010203, 0xA0B0C0 a1b2c3\n1 2 3\n# note\n"));
    const Bytes riff = {'R', 'I', 'F', 'F', 30,   0,    0,    0,    'P', 'A', 'L', ' ', 'j',
                        'u', 'n', 'k', 2,   0,    0,    0,    'z',  'z', 'd', 'a', 't', 'a',
                        8,   0,   0,   0,   0x00, 0x03, 0x01, 0x00, 9,   8,   7,   0};
    Write(folder / "riff-unknown-chunk.pal", riff);
    Bytes adobe(772, 0);
    adobe[770] = adobe[771] = 0xFF;
    adobe[769] = 3;
    Write(folder / "adobe-three.act", adobe);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make-fuzz-seeds FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const std::filesystem::path scratch = folder / ".scratch";
    try {
        std::filesystem::create_directories(scratch);
        ColormapSeeds(folder / "colormap_open", scratch);
        DfpalSeeds(folder / "dfpal_import", scratch);
        OptSeeds(folder / "opt_reader");
        ArgumentSeeds(folder / "cli_arguments");
        JournalSeeds(folder / "recovery_journal");
        PaletteFormatSeeds(folder / "palette_formats");
        std::filesystem::remove_all(scratch);
    } catch (const std::exception& error) {
        std::cerr << "make-fuzz-seeds: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
