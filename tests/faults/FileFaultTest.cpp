// Each call that an open, a save, an import or an export makes of the file
// system fails in turn, with each error it can meet: the operation reports
// the error's cause and changes nothing, neither the document nor any file.
// An interrupted or short read or write, and an interrupted open, sync or
// close, are taken in stride: the outcome is that of an undisturbed run. So is
// a failing close of a file that was only read, once all of it was read.

#include "document/CPalvaneDoc.h"
#include "document/PaletteExchangeFormats.h"
#include "framework/CDocTemplate.h"
#include "framework/CFileException.h"
#include "framework/ScriptedUserInterface.h"
#include "opt/XwaTextureImport.h"
#include "res/CommandIds.h"
#include "tests/support/ColormapFixtures.h"
#include "tests/support/FileFaults.h"
#include "tests/support/OptFileBuilder.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>

namespace {

using file_faults::Call;

// A document and a folder of files for an operation to work on, the same
// for every run.
struct Scene {
    explicit Scene(const TempFolder& folder) : folder(folder)
    {
        std::filesystem::remove_all(folder.Path());
        std::filesystem::create_directory(folder.Path());
        Bytes palette(768);
        for (std::size_t i = 0; i < palette.size(); ++i)
            palette[i] = static_cast<std::uint8_t>(i * 7 + 1);
        WriteFileBytes(folder / "old.cmp", ColormapHead("CMP ", palette));
        WriteFileBytes(folder / "other.cmp", {'o', 't', 'h', 'e', 'r'});
        Bytes sixBit = palette;
        for (std::uint8_t& value : sixBit)
            value %= 64; // a Dark Forces palette, imported without a question
        WriteFileBytes(folder / "in.pal", sixBit);
        WriteFileBytes(folder / "out.pal", {'o', 'l', 'd'});
        OptFileBuilder opt;
        const int texture = opt.Texture("Tex00000", {0xFFFF, 0, 0x1234}, {7});
        WriteFileBytes(folder / "model.opt", opt.Build({opt.Node(0, {texture})}));

        document.OnNewDocument();
        for (int i = 0; i < CPalvaneDoc::kPaletteSize; ++i)
            document.m_palette[i] = ColorTriple(i, 255 - i, i / 2);
        document.m_nSelStart = 3;
        document.m_nSelEnd = 9;
        document.SetPathName(folder / "old.cmp");
        document.SetModifiedFlag();
        ui.SetStandingAnswer(CPalvaneDoc::kTransparencyQuestion, IDYES);
        ui.SetStandingAnswer(jasc_format::kProtectQuestion, IDNO);
    }

    const TempFolder& folder;
    CPalvaneDoc document;
    ScriptedUserInterface ui;
    ScopedUserInterface installed{ui};
};

// The document as far as an operation can change it.
std::string Describe(const CPalvaneDoc& document)
{
    const std::string palette(reinterpret_cast<const char*>(document.m_palette.data()),
                              sizeof document.m_palette);
    return palette + ' ' + std::to_string(document.m_nSelStart) + ':' +
           std::to_string(document.m_nSelEnd) + (document.IsModified() ? " modified " : " ") +
           document.GetPathName();
}

// What an operation can change: the document, the folder, and what it made
// besides (the document an open makes).
struct Outcome {
    std::string document;
    std::string made;
    std::map<std::string, Bytes> files;
};

Outcome Capture(const Scene& scene, std::string made)
{
    Outcome outcome{Describe(scene.document), std::move(made), {}};
    for (const std::string& name : FolderEntries(scene.folder.Path()))
        outcome.files[name] = ReadFileBytes(scene.folder / name);
    return outcome;
}

// What differs between two outcomes, or "".
std::string Differences(const Outcome& a, const Outcome& b)
{
    std::string differences = a.document == b.document ? "" : "the document; ";
    differences += a.made == b.made ? "" : "what was made; ";
    for (const auto& [name, bytes] : a.files)
        if (b.files.count(name) == 0 || b.files.at(name) != bytes)
            differences += "file " + name + "; ";
    for (const auto& [name, bytes] : b.files)
        if (a.files.count(name) == 0)
            differences += "file " + name + "; ";
    return differences;
}

struct Operation {
    const char* name;
    unsigned command; // the document's command, or kOpen
    const char* file; // the file it works on, which its errors name
    // The message when its first call, an open, fails; null: the cause's.
    const char* openFailure = nullptr;
    // On a file system without unnamed files: a save names its temporary file.
    bool namedTemporary = false;
    // Its files are only read: once they are read, closing them cannot fail it.
    bool closeFailureIgnored = false;
    friend void PrintTo(const Operation& operation, std::ostream* out) { *out << operation.name; }
};
constexpr unsigned kOpen = 0;

const Operation kOperations[] = {
    {"open", kOpen, "old.cmp"},
    {"save", ID_FILE_SAVE, "old.cmp"},
    {"save as", ID_FILE_SAVE_AS, "other.cmp"},
    {"save as a new file", ID_FILE_SAVE_AS, "new.cmp"},
    {"save with a named temporary file", ID_FILE_SAVE, "old.cmp", nullptr, true},
    {"Dark Forces import", ID_FILE_IMPORT_DFPAL, "in.pal"},
    {"Dark Forces export", ID_FILE_EXPORT_DFPAL, "out.pal"},
    {"JASC export", ID_FILE_EXPORT_JASC, "out.pal"},
    {"JASC export with a named temporary file", ID_FILE_EXPORT_JASC, "out.pal", nullptr, true},
    {"model import", ID_FILE_IMPORT_XWA, "model.opt", xwa_import::kUnableToRead, false, true},
};

// Runs the operation; returns what it made beyond the document.
std::string RunOperation(const Operation& operation, Scene& scene)
{
    const std::string path = scene.folder / operation.file;
    if (operation.command == kOpen) {
        // A failed open discards the document it made; those open stay as they were.
        CPalvaneDoc opened;
        CDocTemplate kind{std::string()};
        return kind.InitOpenDocument(opened, path) ? Describe(opened) : std::string();
    }
    // What a command asks for: this file, the first texture.
    scene.ui.QueueFile(path);
    scene.ui.QueueTexture(0);
    scene.document.OnCommand(operation.command);
    return std::string();
}

struct Attempt {
    Outcome before;
    Outcome after;
    std::vector<std::string> messages;
    std::vector<Call> calls;
};

class FileFaultTest : public ::testing::TestWithParam<Operation> {
protected:
    Attempt Perform(std::size_t at, int error)
    {
        Scene scene(folder);
        Attempt run;
        run.before = Capture(scene, std::string());
        file_faults::Start(at, error, GetParam().namedTemporary);
        const std::string made = RunOperation(GetParam(), scene);
        run.calls = file_faults::Stop();
        run.after = Capture(scene, made);
        run.messages = scene.ui.MessagesShown();
        return run;
    }

    TempFolder folder;
};

bool Applies(int error, Call call)
{
    if (error == file_faults::kShortTransfer)
        return call == Call::read || call == Call::write;
    return error != EINTR || (call != Call::link && call != Call::rename);
}

} // namespace

TEST_P(FileFaultTest, EachCallFailsCleanlyOrIsRetried)
{
    const Operation& operation = GetParam();
    const Attempt undisturbed = Perform(file_faults::kNoCall, 0);
    ASSERT_NE(Differences(undisturbed.after, undisturbed.before), "");
    ASSERT_GT(undisturbed.calls.size(), 1u);
    const std::string file = folder / operation.file;
    for (std::size_t at = 0; at < undisturbed.calls.size(); ++at) {
        const Call call = undisturbed.calls[at];
        for (const int error : {EIO, ENOSPC, EACCES, EINTR, file_faults::kShortTransfer}) {
            if (!Applies(error, call))
                continue;
            SCOPED_TRACE(std::string(file_faults::CallName(call)) + " #" + std::to_string(at) +
                         " error " + std::to_string(error));
            const Attempt run = Perform(at, error);
            if (error == EINTR || error == file_faults::kShortTransfer ||
                (call == Call::close && operation.closeFailureIgnored)) {
                EXPECT_EQ(Differences(run.after, undisturbed.after), "");
                EXPECT_EQ(run.messages, undisturbed.messages);
                continue;
            }
            const std::string message =
                at == 0 && operation.openFailure != nullptr
                    ? operation.openFailure
                    : CFileException::MessageFor(CFileException::ErrnoToCause(error), file);
            EXPECT_EQ(Differences(run.after, run.before), "");
            ASSERT_FALSE(run.messages.empty());
            EXPECT_EQ(run.messages.back(), message);
            // Before it: only the questions that an undisturbed run asks too.
            ASSERT_LE(run.messages.size(), undisturbed.messages.size() + 1);
            EXPECT_TRUE(std::equal(run.messages.begin(), run.messages.end() - 1,
                                   undisturbed.messages.begin()));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Operations, FileFaultTest, ::testing::ValuesIn(kOperations),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (c == ' ')
                                     c = '_';
                             return name;
                         });
