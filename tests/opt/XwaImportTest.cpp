#include "document/CPalvaneDoc.h"
#include "framework/DocumentView.h"
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
    struct Case {
        const char* label;
        std::function<std::string(ImportScene&)> arrange; // returns the message expected
        unsigned type;
    };
    const std::vector<Case> cases = {
        {"file chooser cancelled",
         [](ImportScene& s) {
             s.ui.QueueCancel(Kind::file);
             return std::string();
         },
         0},
        {"texture chooser cancelled",
         [](ImportScene& s) {
             s.Model({"a", "b"});
             s.ui.QueueCancel(Kind::texture);
             return std::string();
         },
         0},
        {"model missing",
         [](ImportScene& s) {
             s.ui.QueueFile(s.folder / "missing.opt");
             return std::string("Unable to read OPT File");
         },
         MB_OK},
        {"no textures, OK",
         [](ImportScene& s) {
             s.Model({});
             s.ui.QueueTexture(0);
             return std::string();
         },
         0},
        {"no textures, Cancel",
         [](ImportScene& s) {
             s.Model({});
             s.ui.QueueCancel(Kind::texture);
             return std::string();
         },
         0},
        {"palette past the end",
         [](ImportScene& s) {
             const std::string path = s.Model({"a"}, [](Bytes& file, int header) {
                 const auto tail = static_cast<std::int32_t>(file.size()) - 3584 - 100;
                 OptFileBuilder::PutInt32(file, header, tail + OptFileBuilder().Base());
             });
             s.ui.QueueTexture(0);
             return "An attempt was made to access " + path + " past its end.";
         },
         MB_ICONSTOP},
        {"palette before the start",
         [](ImportScene& s) {
             const std::string path = s.Model({"a"}, [](Bytes& file, int header) {
                 OptFileBuilder::PutInt32(file, header, -4000 + OptFileBuilder().Base());
             });
             s.ui.QueueTexture(0);
             return "Seek failed on " + path;
         },
         MB_ICONSTOP},
    };
    for (const Case& c : cases) {
        ImportScene scene;
        const std::string message = c.arrange(scene);
        scene.document.OnFileImportXwa();
        EXPECT_TRUE(scene.Unchanged()) << c.label;
        EXPECT_EQ(scene.ui.UnscriptedCount(), 0) << c.label;
        const auto shown = scene.ui.MessagesShown();
        EXPECT_EQ(shown,
                  message.empty() ? std::vector<std::string>{} : std::vector<std::string>{message})
            << c.label;
        if (!shown.empty()) {
            EXPECT_EQ(scene.ui.Asked().back().type, c.type) << c.label;
        }
    }
}
