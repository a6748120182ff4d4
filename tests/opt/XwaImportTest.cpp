#include "document/CPalvaneDoc.h"
#include "framework/DocumentView.h"
#include "framework/FrameworkMessages.h"
#include "framework/ScriptedUserInterface.h"
#include "opt/OptColor.h"
#include "tests/support/Files.h"
#include "tests/support/OptFileBuilder.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Kind = ScriptedUserInterface::Kind;

class UpdateCounter : public DocumentView {
public:
    void OnUpdate(DocumentView*, std::intptr_t, void*) override { ++updates; }
    int updates = 0;
};

// The colour that starts texture t's palette after white and black.
std::uint16_t Marker(int t)
{
    return static_cast<std::uint16_t>(0x0800 * (t + 1));
}

// A document with a view, a selection and a palette the import replaces.
struct ImportScene {
    ImportScene()
    {
        document.m_palette.fill(ColorTriple(1, 2, 3));
        document.m_nSelStart = 4;
        document.m_nSelEnd = 9;
        document.AddView(&view);
    }

    // Writes a model with one texture per name (texture t's palette: white,
    // black, Marker(t)), lets `patch` change its bytes, and queues it as the
    // file chosen. `palette` receives the position of the first texture's
    // palette series.
    std::string Model(const std::vector<std::string>& names,
                      const std::function<void(Bytes&, int palette)>& patch = {})
    {
        OptFileBuilder opt;
        std::vector<int> textures;
        for (std::size_t t = 0; t < names.size(); ++t)
            textures.push_back(
                opt.Texture(names[t], {0xFFFF, 0, Marker(static_cast<int>(t))}, {7}));
        const int paletteAt = textures.empty() ? 0 : opt.TextureHeader(textures[0]);
        Bytes file = opt.Build({opt.Node(0, textures)});
        if (patch)
            patch(file, paletteAt);
        const std::string path = folder / "model.opt";
        WriteFileBytes(path, file);
        ui.QueueFile(path);
        return path;
    }

    bool Unchanged() const
    {
        return document.m_palette[0] == ColorTriple(1, 2, 3) && !document.IsModified() &&
               view.updates == 0;
    }

    ScriptedUserInterface ui;
    ScopedUserInterface installed{ui};
    TempFolder folder;
    CPalvaneDoc document;
    UpdateCounter view;
};

struct RowCase {
    const char* label;
    std::vector<std::string> names;
    int row; // -1: OK without touching the list
    friend void PrintTo(const RowCase& row, std::ostream* out) { *out << row.label; }
};

class XwaImportRowTest : public ::testing::TestWithParam<RowCase> {};

} // namespace

TEST_P(XwaImportRowTest, ImportsThePaletteOfTheRowChosen)
{
    ImportScene scene;
    scene.Model(GetParam().names);
    scene.ui.QueueTexture(GetParam().row < 0 ? 0 : GetParam().row);
    scene.document.OnFileImportXwa();

    const auto& asked = scene.ui.Asked();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].file.filter, "X-Wing Alliance OPT (*.opt)|*.opt||");
    EXPECT_EQ(asked[0].file.defaultExtension, "opt");
    EXPECT_EQ(asked[0].file.initialFileName, "");
    EXPECT_EQ(asked[0].file.flags, unsigned{OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT});
    EXPECT_TRUE(asked[0].file.openFileDialog);
    EXPECT_EQ(asked[1].kind, Kind::texture);
    EXPECT_EQ(asked[1].textureNames, GetParam().names); // in the file's order
    EXPECT_EQ(asked[1].selected, 0);

    const CPalvaneDoc& document = scene.document;
    EXPECT_EQ(document.m_palette[0], ColorTriple(248, 252, 248));
    EXPECT_EQ(document.m_palette[1], ColorTriple(0, 0, 0));
    EXPECT_EQ(document.m_palette[2], ConvertOptColor(Marker(std::max(GetParam().row, 0))));
    EXPECT_EQ(document.m_palette[255], ColorTriple(0, 0, 0));
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(scene.view.updates, 1);
    EXPECT_EQ(document.m_nSelStart, 4);
    EXPECT_EQ(document.m_nSelEnd, 9);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, XwaImportRowTest,
    ::testing::Values(RowCase{"OneTexture", {"Only"}, -1},
                      RowCase{"ListUntouched", {"Zeta", "Alpha", "Mid", "Beta", "Omega"}, -1},
                      RowCase{"FourthRow", {"Zeta", "Alpha", "Mid", "Beta", "Omega"}, 3}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(XwaImportTest, CancelsAndFailuresLeaveThePaletteAlone)
{
    enum class File { cancelled, missing, model };
    enum class Palette { inFile, pastEnd, beforeStart };
    struct Case {
        const char* label;
        File file;
        std::vector<std::string> names;
        Palette palette;
        int row;             // the texture chooser's answer, -1 for Cancel
        const char* message; // "%1" stands for the model's path
        unsigned type;
    };
    const Case cases[] = {
        {"file chooser cancelled", File::cancelled, {}, Palette::inFile, 0, "", 0},
        {"texture chooser cancelled", File::model, {"a", "b"}, Palette::inFile, -1, "", 0},
        {"model missing", File::missing, {}, Palette::inFile, 0, "Unable to read OPT File", MB_OK},
        {"no textures, OK", File::model, {}, Palette::inFile, 0, "", 0},
        {"no textures, Cancel", File::model, {}, Palette::inFile, -1, "", 0},
        {"palette past the end",
         File::model,
         {"a"},
         Palette::pastEnd,
         0,
         "An attempt was made to access %1 past its end.",
         MB_ICONSTOP},
        {"palette before the start",
         File::model,
         {"a"},
         Palette::beforeStart,
         0,
         "Seek failed on %1",
         MB_ICONSTOP},
    };
    for (const Case& c : cases) {
        ImportScene scene;
        std::string path = scene.folder / "missing.opt";
        if (c.file == File::cancelled) {
            scene.ui.QueueCancel(Kind::file);
        } else if (c.file == File::missing) {
            scene.ui.QueueFile(path);
        } else {
            path = scene.Model(c.names, [&](Bytes& file, int header) {
                // The palette read lies 100 bytes before the end, or before the start.
                const auto tail = static_cast<std::int32_t>(file.size()) - 3584 - 100;
                if (c.palette != Palette::inFile)
                    OptFileBuilder::PutInt32(file, header,
                                             (c.palette == Palette::pastEnd ? tail : -4000) +
                                                 OptFileBuilder().Base());
            });
        }
        if (c.row < 0)
            scene.ui.QueueCancel(Kind::texture);
        else
            scene.ui.QueueTexture(c.row);
        scene.document.OnFileImportXwa();
        EXPECT_TRUE(scene.Unchanged()) << c.label;
        EXPECT_EQ(scene.ui.UnscriptedCount(), 0) << c.label;
        const std::string message = AfxFormatString1(c.message, path);
        const auto shown = scene.ui.MessagesShown();
        EXPECT_EQ(shown, message.empty() ? std::vector<std::string>{} : std::vector{message})
            << c.label;
        if (!shown.empty()) {
            EXPECT_EQ(scene.ui.Asked().back().type, c.type) << c.label;
        }
    }
}
