// palvane-cli on model files that are mostly holes, or whose nodes list one
// block many times: what it reads and the memory it holds follow the bytes
// it reads once, not the size the file claims nor the length of its JSON.

#include "tests/support/ChildProcess.h"

#include <gtest/gtest.h>

#ifdef _WIN32
TEST(OptCliMemoryTest, MemoryFollowsTheBytesRead)
{
    GTEST_SKIP() << kNeedsPosix;
}
#else
#include "tests/support/Files.h"
#include "tests/support/OptFileBuilder.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <functional>

#if defined(__SANITIZE_ADDRESS__)
#define PALVANE_ADDRESS_SANITIZER
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PALVANE_ADDRESS_SANITIZER
#endif
#endif

namespace {

constexpr long long kMiB = 1 << 20;
constexpr int kHole = 1 << 20; // where the data in the hole begin
constexpr int kRepeats = 8;

// Text that repeats a piece many times, which is what the JSON of a
// repeated block is; tests compare it with a file piece by piece, so that
// no copy of either is ever whole in memory to grow the programs started.
using Pieces = std::vector<std::pair<std::string, int>>;

struct Model {
    Bytes bytes; // the data; the file goes on as a hole
    long long size;
    Pieces json; // what --opt-info prints
};

bool FileHolds(const std::string& path, const Pieces& pieces)
{
    std::ifstream file(path, std::ios::binary);
    for (const auto& [text, count] : pieces) {
        std::string read(text.size(), '\0');
        for (int i = 0; i < count; ++i)
            if (!file.read(read.data(), static_cast<std::streamsize>(read.size())) || read != text)
                return false;
    }
    return file.peek() == std::ifstream::traits_type::eof();
}

std::string FileText(const std::string& path)
{
    const Bytes bytes = ReadFileBytes(path);
    return {bytes.begin(), bytes.end()};
}

std::string Settings()
{
    return "{\"base\":4096,\"choice\":0,\"levelCount\":1,\"paletteBias\":3584,\"nodes\":[";
}

// A list node whose children are one node `kRepeats` times over.
std::string ListJson(int list, int child, std::int32_t kind, bool textures)
{
    std::string json = "{\"kind\":21,\"position\":" + std::to_string(list) +
                       ",\"texture\":-1,\"mesh\":0,\"index\":0,\"children\":[";
    for (int i = 0; i < kRepeats; ++i)
        json += std::string(i > 0 ? "," : "") + "{\"kind\":" + std::to_string(kind) +
                ",\"position\":" + std::to_string(child) +
                ",\"texture\":" + std::to_string(textures ? i : -1) +
                ",\"mesh\":0,\"index\":" + std::to_string(i) + ",\"children\":[]}";
    return json + "]}]";
}

// A face block of `faces` faces lying in the hole of a 256 MiB file.
Model RepeatedFaceBlock(int faces)
{
    OptFileBuilder opt;
    const int block = opt.AppendInt32s({0, 1, 0, 0, faces, opt.Stored(kHole - 4)});
    const int list = opt.Node(21, std::vector<int>(kRepeats, block));
    const std::string face = "{\"vertexIndex\":[0,0,0,0],\"cornerCount\":4,\"level\":0,"
                             "\"texture\":-1,\"normal\":[0,0,0]}";
    return {opt.Build({list}),
            256 * kMiB,
            {{Settings() + ListJson(list, block, 1, false) +
                  ",\"meshes\":[{\"vertices\":0,\"normals\":0,\"texCoords\":0,\"faces\":[",
              1},
             {face + ",", kRepeats * faces - 1},
             {face + "]}],\"textures\":[]}\n", 1}}};
}

// A texture whose `pixels` bytes lie in the hole of a 256 MiB file; its
// palette starts white, red.
Model RepeatedTexture(int pixels)
{
    OptFileBuilder opt;
    Bytes series(4096, 0);
    for (const int at : {3584, 3585})
        series[at] = 0xFF;
    series[3587] = 0xF8;
    const int palettes = opt.Append(series);
    const int name = opt.Append({'B', 'i', 'g', 0, 0, 0, 0, 0, 0});
    const int texture = opt.AppendInt32s({opt.Stored(name), 20, 0, 0, 0, opt.Stored(kHole)});
    const int list = opt.Node(21, std::vector<int>(kRepeats, texture));
    Bytes bytes = opt.Build({list});
    bytes.resize(kHole + 24);
    OptFileBuilder::PutInt32(bytes, kHole, opt.Stored(palettes));
    OptFileBuilder::PutInt32(bytes, kHole + 8, pixels);
    std::string json = Settings() + ListJson(list, texture, 20, true) +
                       ",\"meshes\":[{\"vertices\":0,\"normals\":0,\"texCoords\":0,\"faces\":[]}]"
                       ",\"textures\":[";
    for (int t = 0; t < kRepeats; ++t)
        json += std::string(t > 0 ? "," : "") +
                "{\"name\":\"Big\",\"pixelPos\":" + std::to_string(kHole + 24) +
                ",\"palettePos\":" + std::to_string(palettes) +
                ",\"pixelSize\":" + std::to_string(pixels) + ",\"palette\":\"f8fcf8f80000" +
                std::string(1524, '0') + "\",\"pixelsCrc32\":\"59450445\"}";
    return {bytes, 256 * kMiB, {{json + "]}\n", 1}}};
}

// 64 MiB of zeros but for a header that makes every four bytes a top-level
// node (all of them absent).
Model Zeros()
{
    Bytes header = OptFileBuilder().Build({});
    OptFileBuilder::PutInt32(header, 14, 16 << 20);
    return {header, 64 * kMiB, {}};
}

struct MemoryCase {
    const char* label;
    std::function<Model()> model;
    std::vector<std::string> arguments; // "FILE" stands for the model's path
    long long maxBytesRead;
    std::function<void(const ProgramRun&, const Model&, const std::string& path)> check;
    friend void PrintTo(const MemoryCase& row, std::ostream* out) { *out << row.label; }
};

class OptCliMemoryTest : public ::testing::TestWithParam<MemoryCase> {};

void PrintsTheModel(const ProgramRun& run, const Model& model, const std::string& path)
{
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(FileHolds(path + ".json", model.json));
}

void ReadsAsFarAsTheBudgetGoes(const ProgramRun& run, const Model&, const std::string& path)
{
    const std::string absent = "{\"kind\":-1,\"position\":0,\"texture\":-1,\"mesh\":0,\"index\":0";
    const std::string json = FileText(path + ".json");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(json.substr(0, Settings().size() + absent.size()), Settings() + absent);
    EXPECT_EQ(json.substr(json.size() - 15), "\"textures\":[]}\n");
}

void HasNoTextures(const ProgramRun& run, const Model&, const std::string& path)
{
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "palvane-cli: " + path + " has no texture row 0 (it has 0)\n");
}

} // namespace

// What the program holds before it reads anything: about 4 MiB, and some
// 11 MiB more where it links Qt's image library.
long long StartingResidentBytes()
{
    static const long long bytes = RunProgram({PALVANE_CLI_PATH, "--version"}).peakResidentBytes;
    return bytes;
}

// What the program keeps of a model is about as large as the bytes it was
// read from (faces 88 bytes for 76, pixels one for one). 12 MiB more than it
// starts with and twice the bytes read leave room for the allocator, and are
// far below what keeping each repetition, or the JSON, would take.
TEST_P(OptCliMemoryTest, MemoryFollowsTheBytesRead)
{
    TempFolder folder;
    const Model model = GetParam().model();
    const std::string path = folder / "model.opt";
    WriteFileBytes(path, model.bytes);
    std::filesystem::resize_file(path, static_cast<std::uintmax_t>(model.size));
    std::vector<std::string> command = {PALVANE_CLI_PATH};
    for (const std::string& argument : GetParam().arguments)
        command.push_back(argument == "FILE" ? path : argument);
    ProgramOptions options;
    options.standardOutput = path + ".json";
    const ProgramRun run = RunProgram(command, options);
    GetParam().check(run, model, path);
    ASSERT_GE(run.bytesRead, 0) << "the system does not tell what a process read";
    EXPECT_LE(run.bytesRead, GetParam().maxBytesRead);
#ifndef PALVANE_ADDRESS_SANITIZER // its shadow memory and quarantine grow the resident size
    EXPECT_LE(run.peakResidentBytes, StartingResidentBytes() + 12 * kMiB + 2 * run.bytesRead)
        << run.bytesRead;
#endif
}

INSTANTIATE_TEST_SUITE_P(
    SparseModels, OptCliMemoryTest,
    ::testing::Values(
        // 4.75 MiB of faces, listed eight times: 43 MB of JSON
        MemoryCase{"FaceBlockListedEightTimes",
                   [] { return RepeatedFaceBlock(1 << 16); },
                   {"--opt-info", "FILE"},
                   6 * kMiB,
                   PrintsTheModel},
        MemoryCase{"TextureListedEightTimes",
                   [] { return RepeatedTexture(32 << 20); },
                   {"--opt-info", "FILE"},
                   34 * kMiB,
                   PrintsTheModel},
        MemoryCase{"TextureImportReadsNoPixels",
                   [] { return RepeatedTexture(32 << 20); },
                   {"--new", "--import-opt", "FILE", "--dump"},
                   kMiB,
                   [](const ProgramRun& run, const Model&, const std::string& path) {
                       EXPECT_EQ(run.exitCode, 0) << run.err;
                       EXPECT_EQ(FileText(path + ".json").substr(0, 26),
                                 "{\"palette\":\"f8fcf8f8000000");
                   }},
        MemoryCase{"ZerosInfo", Zeros, {"--opt-info", "FILE"}, kMiB, ReadsAsFarAsTheBudgetGoes},
        MemoryCase{"ZerosImport", Zeros, {"--new", "--import-opt", "FILE"}, kMiB, HasNoTextures}),
    [](const auto& info) { return std::string(info.param.label); });
#endif
