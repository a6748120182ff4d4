// palvane-cli's pictures of the tables, read back pixel by pixel against the
// tables a save of the same palette writes.

#include "tests/cli/CliRun.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <random>

#ifdef PALVANE_CLI_PICTURES
#include "cli/PngPicture.h"

namespace {

constexpr std::size_t kPalette = 64;
constexpr std::size_t kLight = 832;
constexpr std::size_t kTranslucency = 17216;

// A colormap file of a random palette, without tables.
Bytes RandomColormap()
{
    Bytes file = {'C', 'M', 'P', ' ', 30};
    file.resize(kLight);
    std::mt19937 rng(2026);
    for (std::size_t i = kPalette; i < kLight; ++i)
        file[i] = static_cast<std::uint8_t>(rng());
    return file;
}

// Each picture, and the table entry its pixel (x, y) shows, from the saved file.
struct Picture {
    std::string step;
    std::string suffix; // after the file name
    int width, height;
    std::size_t (*entry)(int x, int y);
};

const Picture kPictures[] = {
    {"--render-light", "", 256, 64, [](int x, int y) { return kLight + y * 256 + x; }},
    {"--render-translucency", "", 256, 256,
     [](int x, int y) { return kTranslucency + y * 256 + x; }},
    {"--render-grid", "", 256, 256,
     [](int x, int y) { return kLight + 63 * 256 + y / 16 * 16 + x / 16; }},
    {"--render-grid", ":0", 256, 256, [](int x, int y) { return kLight + y / 16 * 16 + x / 16; }},
    {"--render-grid", ":33", 256, 256,
     [](int x, int y) { return kLight + 33 * 256 + y / 16 * 16 + x / 16; }},
};

TEST(CliPicturesTest, EveryPixelIsThePaletteColourOfTheEntryASaveWrites)
{
    TempFolder folder;
    WriteFileBytes(folder / "random.cmp", RandomColormap());
    for (const std::string& colormap :
         {std::string(PALVANE_SAMPLE_COLORMAP), folder / "random.cmp"}) {
        std::vector<std::string> arguments = {"--open", colormap, "--transparency"};
        for (std::size_t p = 0; p < std::size(kPictures); ++p) {
            arguments.push_back(kPictures[p].step);
            arguments.push_back(folder / ("picture" + std::to_string(p) + ".png") +
                                kPictures[p].suffix);
        }
        arguments.push_back("--save");
        arguments.push_back(folder / "saved.cmp");
        const CliResult result = RunCli(arguments);
        ASSERT_EQ(result.status, 0) << result.err;
        const Bytes saved = ReadFileBytes(folder / "saved.cmp");
        ASSERT_EQ(saved.size(), 82752u);
        for (std::size_t p = 0; p < std::size(kPictures); ++p) {
            const Picture& expected = kPictures[p];
            const RgbPicture picture = ReadPng(folder / ("picture" + std::to_string(p) + ".png"));
            ASSERT_EQ(picture.width, expected.width) << expected.step << expected.suffix;
            ASSERT_EQ(picture.height, expected.height) << expected.step << expected.suffix;
            int wrong = 0;
            for (int y = 0; y < picture.height; ++y) {
                for (int x = 0; x < picture.width; ++x) {
                    const std::size_t colour = kPalette + 3 * saved[expected.entry(x, y)];
                    wrong += picture.Pixel(x, y) !=
                             ColorTriple(saved[colour], saved[colour + 1], saved[colour + 2]);
                }
            }
            EXPECT_EQ(wrong, 0) << colormap << " " << expected.step << expected.suffix;
        }
    }
}

TEST(CliPicturesTest, ALevelOutOfRangeIsAUsageError)
{
    const CliResult result = RunCli({"--new", "--render-grid", "grid.png:64"});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err.substr(0, result.err.find('\n')),
              "palvane-cli: --render-grid takes FILE[:LEVEL], not 'grid.png:64'");
}

} // namespace

#else

TEST(CliPicturesTest, ABuildWithoutAnImageLibrarySaysSoAndLeavesThemOutOfItsHelp)
{
    for (const char* step : {"--render-light", "--render-translucency", "--render-grid"}) {
        const CliResult result = RunCli({"--new", step, "picture.png"});
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err.substr(0, result.err.find('\n')),
                  std::string("palvane-cli: ") + step +
                      " is not available: this palvane-cli was built without an image library "
                      "to write pictures with");
        EXPECT_EQ(RunCli({"--help"}).out.find(step), std::string::npos);
    }
}

#endif
