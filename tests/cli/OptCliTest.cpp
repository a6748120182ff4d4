#include "tests/cli/CliRun.h"
#include "tests/support/Files.h"
#include "tests/support/OptFileBuilder.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

// Two textures: "Hull" (palette white, black, red) and "Wing" (palette blue).
std::string WriteModel(const TempFolder& folder)
{
    OptFileBuilder opt;
    const int hull = opt.Texture("Hull", {0xFFFF, 0, 0xF800}, {1, 2, 3});
    const int faces = opt.FaceBlock({{{0, 1, 2, -1}, {0xFFFFFFFF, 2, 3}}});
    const int wing = opt.Texture("Wing", {0x001F}, {});
    const std::string path = folder / "ship.opt";
    WriteFileBytes(path, opt.Build({opt.Node(0, {hull, faces}), opt.Node(22, {wing}),
                                    OptFileBuilder::kAbsent}));
    return path;
}

std::string PaletteHex(const std::string& head)
{
    return head + std::string(1536 - head.size(), '0');
}

} // namespace

TEST(OptCliTest, PrintsWhatAModelHolds)
{
    TempFolder folder;
    const CliResult result = RunCli({"--opt-info", WriteModel(folder)});
    ASSERT_EQ(result.status, 0) << result.err;
    // Positions: "Hull" name 22, its palette series 31, texture header 4127,
    // pixels 4151, node 4154; face data 4178, node 4258; "Wing" 4282 to
    // 8435; the branch's child list 8435, header 8443; kind 22 at 8471.
    EXPECT_EQ(
        result.out,
        "{\"base\":4096,\"choice\":0,\"levelCount\":1,\"paletteBias\":3584,\"nodes\":["
        "{\"kind\":0,\"position\":8443,\"texture\":-1,\"mesh\":0,\"index\":0,\"children\":["
        "{\"kind\":20,\"position\":4154,\"texture\":0,\"mesh\":0,\"index\":0,\"children\":[]},"
        "{\"kind\":1,\"position\":4258,\"texture\":-1,\"mesh\":0,\"index\":1,\"children\":[]}"
        "]},"
        "{\"kind\":22,\"position\":8471,\"texture\":-1,\"mesh\":1,\"index\":1,\"children\":[]},"
        "{\"kind\":-1,\"position\":0,\"texture\":-1,\"mesh\":2,\"index\":2,\"children\":[]}],"
        "\"meshes\":[{\"vertices\":0,\"normals\":0,\"texCoords\":0,\"faces\":["
        "{\"vertexIndex\":[0,1,2,-1],\"cornerCount\":3,\"level\":0,\"texture\":0,"
        "\"normal\":[4294967295,2,3]}]},"
        "{\"vertices\":0,\"normals\":0,\"texCoords\":0,\"faces\":[]},"
        "{\"vertices\":0,\"normals\":0,\"texCoords\":0,\"faces\":[]}],"
        "\"textures\":[{\"name\":\"Hull\",\"pixelPos\":4151,\"palettePos\":31,"
        "\"pixelSize\":3,\"palette\":\"" +
            PaletteHex("f8fcf8000000f80000") + "\",\"pixelsCrc32\":\"55bc801d\"}]}\n");
}

TEST(OptCliTest, ImportsATextureRowIntoTheDocument)
{
    TempFolder folder;
    const std::string model = WriteModel(folder);
    const CliResult result =
        RunCli({"--new", "--import-opt", model, "--dump", "--import-opt", model + ":0", "--dump"});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string dump = "{\"palette\":\"" + PaletteHex("f8fcf8000000f80000") +
                             "\",\"selStart\":-1,\"selEnd\":-1,\"modified\":true,"
                             "\"title\":\"JKCMP1\",\"path\":\"\",\"storedTables\":null}\n";
    EXPECT_EQ(result.out, dump + dump);
}

TEST(OptCliTest, ReportsModelsAndRowsItCannotUse)
{
    TempFolder folder;
    const std::string model = WriteModel(folder);
    const std::string missing = folder / "missing.opt";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--opt-info", missing}, "palvane-cli: Unable to read OPT File\n"},
        {{"--new", "--import-opt", missing + ":1"}, "palvane-cli: Unable to read OPT File\n"},
        {{"--new", "--import-opt", model + ":1"},
         "palvane-cli: " + model + " has no texture row 1 (it has 1)\n"},
    };
    for (const auto& [arguments, err] : cases) {
        const CliResult result = RunCli(arguments);
        EXPECT_EQ(result.status, 1) << err;
        EXPECT_EQ(result.err, err);
    }
    EXPECT_EQ(RunCli({"--import-opt", model}).status, 2);
}
