#include "opt/COptReader.h"
#include "opt/OptColor.h"
#include "tests/support/Files.h"
#include "tests/support/OptFileBuilder.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <tuple>

namespace {

using Face = OptFileBuilder::Face;
using Uint3 = std::array<std::uint32_t, 3>;

class OptReaderTest : public ::testing::Test {
protected:
    // Reads `bytes` from a file, set up as the texture import sets a reader up.
    const COptReader& Read(const Bytes& bytes, std::int32_t choice = 0)
    {
        WriteFileBytes(folder / "model.opt", bytes);
        reader = std::make_unique<COptReader>();
        reader->m_nChoice = choice;
        reader->m_nLevelCount = 1;
        reader->m_nPaletteBias = OptFileBuilder::kPaletteBias;
        EXPECT_TRUE(reader->Read(folder / "model.opt"));
        return *reader;
    }

    // The textures of the faces of mesh 0, in order.
    std::vector<std::int32_t> FaceTextures() const
    {
        std::vector<std::int32_t> textures;
        for (const OptFace& face : reader->m_meshes.at(0).faces)
            textures.push_back(face.texture);
        return textures;
    }

    TempFolder folder;
    std::unique_ptr<COptReader> reader;
};

template <typename List>
std::vector<typename List::const_iterator::value_type> Entries(const List& list)
{
    return {list.begin(), list.end()};
}

// Kind, position and texture number of every node, depth first.
void Flatten(const std::vector<OptNode>& nodes, std::vector<std::int32_t>& out)
{
    for (const OptNode& node : nodes) {
        out.insert(out.end(), {node.kind, node.position, node.texture});
        Flatten(node.children, out);
    }
}

std::size_t CountNodes(const std::vector<OptNode>& nodes)
{
    std::size_t count = nodes.size();
    for (const OptNode& node : nodes)
        count += CountNodes(node.children);
    return count;
}

std::size_t Depth(const std::vector<OptNode>& nodes)
{
    std::size_t depth = 0;
    for (const OptNode& node : nodes)
        depth = std::max(depth, 1 + Depth(node.children));
    return depth;
}

} // namespace

TEST_F(OptReaderTest, FilesThatCannotBeOpenedAreNotRead)
{
    for (const std::string& path : {folder / "missing.opt", folder.Path()}) {
        COptReader unread;
        EXPECT_FALSE(unread.Read(path)) << path;
        EXPECT_TRUE(unread.m_nodes.empty() && unread.m_meshes.empty() && unread.m_textures.empty());
    }
}

TEST_F(OptReaderTest, NoTopLevelNodesAndAbsentNodes)
{
    EXPECT_TRUE(Read(OptFileBuilder().Build({})).m_nodes.empty());
    EXPECT_TRUE(reader->m_meshes.empty());

    OptFileBuilder opt;
    const int branch = opt.Node(0, {OptFileBuilder::kAbsent});
    Read(opt.Build({OptFileBuilder::kAbsent, branch}));
    ASSERT_EQ(reader->m_nodes.size(), 2u);
    ASSERT_EQ(reader->m_meshes.size(), 2u);
    const OptNode& absent = reader->m_nodes[0];
    EXPECT_EQ(absent.kind, -1);
    EXPECT_EQ(absent.position, 0);
    EXPECT_TRUE(absent.children.empty());
    ASSERT_EQ(reader->m_nodes[1].children.size(), 1u);
    EXPECT_EQ(reader->m_nodes[1].children[0].kind, -1);
    EXPECT_EQ(reader->m_nodes[1].children[0].position, 0);
}

TEST_F(OptReaderTest, ReadsEverythingAModelHolds)
{
    const COptReader& opt = Read(SampleOptModel());
    EXPECT_EQ(opt.m_nBase, 0x1000);
    ASSERT_EQ(opt.m_nodes.size(), 2u);

    // body: vertices, normals, coordinates, texture, faces, list(-, -, lod)
    const OptNode& body = opt.m_nodes[0];
    EXPECT_EQ(body.kind, 0);
    EXPECT_EQ(body.parent, nullptr);
    ASSERT_EQ(body.children.size(), 6u);
    const std::vector<std::int32_t> kinds = {3, 11, 13, 20, 1, 21};
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        EXPECT_EQ(body.children[i].kind, kinds[i]);
        EXPECT_EQ(body.children[i].index, static_cast<std::int32_t>(i));
        EXPECT_EQ(body.children[i].mesh, 0);
        EXPECT_EQ(body.children[i].parent, &body);
        EXPECT_EQ(body.children[i].owner, &opt);
    }
    EXPECT_EQ(body.children[3].texture, 0);
    const OptNode& lod = body.children[5].children.at(2);
    ASSERT_EQ(lod.children.size(), 4u);
    EXPECT_EQ(lod.children[0].texture, 1); // "Tex00001"
    EXPECT_EQ(lod.children[2].children.at(1).texture, 1);

    // engine: a texture, a kind-22 node whose children are never visited, an absent node
    const OptNode& engine = opt.m_nodes[1];
    ASSERT_EQ(engine.children.size(), 3u);
    EXPECT_EQ(engine.children[1].kind, 22);
    EXPECT_TRUE(engine.children[1].children.empty());
    EXPECT_EQ(engine.children[2].kind, -1);
    EXPECT_EQ(engine.children[0].mesh, 1);

    const OptMesh& mesh = opt.m_meshes.at(0);
    EXPECT_EQ(Entries(mesh.vertices), (std::vector<Uint3>{{1, 2, 3}, {4, 5, 6}}));
    EXPECT_EQ(Entries(mesh.normals), (std::vector<Uint3>{{7, 8, 9}}));
    EXPECT_EQ(Entries(mesh.texCoords),
              (std::vector<std::array<std::uint32_t, 2>>{{10, 11}, {12, 13}}));
    // Each block's faces take its own normals; faces under the list node's
    // third child have level 2.
    ASSERT_EQ(mesh.faces.size(), 4u);
    const std::vector<std::array<std::int32_t, 4>> vertices = {
        {0, 1, 2, -1}, {0, 2, 3, 4}, {5, 6, 7, 8}, {1, 2, 3, -1}};
    const std::vector<Uint3> normals = {{7, 8, 9}, {10, 11, 12}, {1, 2, 3}, {4, 5, 6}};
    const std::vector<std::int32_t> corners = {3, 4, 4, 3}, levels = {0, 0, 2, 2};
    for (std::size_t f = 0; f < 4; ++f) {
        EXPECT_EQ(mesh.faces[f].vertexIndex, vertices[f]);
        EXPECT_EQ(mesh.faces[f].normal, normals[f]);
        EXPECT_EQ(mesh.faces[f].cornerCount, corners[f]);
        EXPECT_EQ(mesh.faces[f].level, levels[f]);
    }
    EXPECT_EQ(mesh.faces[1].extraIndex[11], 2011);
    EXPECT_EQ(FaceTextures(), (std::vector<std::int32_t>{0, 0, 1, 0}));
    EXPECT_EQ(opt.m_nLevelCount, 3);
    EXPECT_TRUE(opt.m_meshes.at(1).faces.empty());

    ASSERT_EQ(opt.m_textures.size(), 2u);
    const OptTexture& hull = opt.m_textures[0];
    EXPECT_EQ(hull.name, "Hull");
    EXPECT_EQ(opt.m_textures[1].name, "WingPanel"); // nine bytes, no NUL
    EXPECT_EQ(*hull.pixels, (Bytes{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(hull.pixelSize, 6);
    EXPECT_EQ(hull.headerValue16, 64);
    EXPECT_EQ(hull.headerValue20, 32);
    const Bytes file = ReadFileBytes(folder / "model.opt");
    EXPECT_EQ(file.at(static_cast<std::size_t>(hull.pixelPos)), 1);
    // The palette is the eighth of the series: the seventh holds colour 6.
    EXPECT_EQ(file.at(static_cast<std::size_t>(hull.palettePos) + 3584 - 2), 6);
    const std::vector<ColorTriple> colors = {
        {248, 252, 248}, {248, 0, 0}, {0, 252, 0}, {0, 0, 248}, {0, 0, 0}};
    EXPECT_EQ(std::vector<ColorTriple>(hull.palette->begin(), hull.palette->begin() + 5), colors);
    EXPECT_EQ((*opt.m_textures[1].palette)[0], ConvertOptColor(0x1234));
}

TEST_F(OptReaderTest, BlocksListedSeveralTimesAreKeptOnceAndListedWherever)
{
    const COptReader& opt = Read(SharedBlocksOptModel());
    // Each place gives the shared faces its own texture and level.
    EXPECT_EQ(FaceTextures(), (std::vector<std::int32_t>{0, 0, 5, 5, 1, 1}));
    const std::vector<OptFace> faces = Entries(opt.m_meshes.at(0).faces);
    for (std::size_t f = 0; f < faces.size(); ++f) {
        EXPECT_EQ(faces[f].normal, f % 2 == 0 ? Uint3({7, 8, 9}) : Uint3({1, 2, 3})) << f;
        EXPECT_EQ(faces[f].cornerCount, f % 2 == 0 ? 3 : 4) << f;
        EXPECT_EQ(faces[f].level, 0) << f;
    }
    EXPECT_EQ(Entries(opt.m_meshes[0].vertices), (std::vector<Uint3>{{1, 2, 3}, {1, 2, 3}}));
    const OptFace other = opt.m_meshes.at(1).faces.at(1);
    EXPECT_EQ(other.vertexIndex, (std::array<std::int32_t, 4>{3, 4, 5, 6}));
    EXPECT_EQ(other.level, 1);
    EXPECT_EQ(other.texture, -1);
    // The texture node read twice makes two records that share their data.
    ASSERT_EQ(opt.m_textures.size(), 2u);
    EXPECT_EQ(opt.m_textures[0].pixels, opt.m_textures[1].pixels);
    EXPECT_EQ(opt.m_textures[0].palette, opt.m_textures[1].palette);
    EXPECT_EQ(*opt.m_textures[1].pixels, (Bytes{1, 2, 3}));
}

TEST_F(OptReaderTest, TheTextureListAloneIsReadWithoutMeshesOrPixels)
{
    for (const Bytes& model : {SampleOptModel(), SharedBlocksOptModel()}) {
        const COptReader& whole = Read(model, 5);
        const std::unique_ptr<COptReader> full = std::move(reader);
        std::istringstream stream(std::string(model.begin(), model.end()));
        COptReader list;
        list.m_nChoice = 5;
        list.m_nPaletteBias = OptFileBuilder::kPaletteBias;
        list.ReadFrom(stream, COptReader::Scope::textureList);
        std::vector<std::int32_t> wholeNodes, listNodes;
        Flatten(whole.m_nodes, wholeNodes);
        Flatten(list.m_nodes, listNodes);
        EXPECT_EQ(listNodes, wholeNodes);
        EXPECT_TRUE(list.m_meshes.empty());
        EXPECT_EQ(list.m_nChoice, 5);
        ASSERT_EQ(list.m_textures.size(), whole.m_textures.size());
        for (std::size_t t = 0; t < list.m_textures.size(); ++t) {
            const OptTexture& a = list.m_textures[t];
            const OptTexture& b = whole.m_textures[t];
            EXPECT_EQ(std::tie(a.name, a.palettePos, a.pixelPos, a.pixelSize),
                      std::tie(b.name, b.palettePos, b.pixelPos, b.pixelSize));
            EXPECT_EQ(*a.palette, *b.palette);
            EXPECT_TRUE(a.pixels->empty());
        }
    }
}

struct LinkCase {
    const char* label;
    std::string name;
    std::int32_t number;
    friend void PrintTo(const LinkCase& row, std::ostream* out) { *out << row.label; }
};

class TextureLinkTest : public OptReaderTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(TextureLinkTest, FacesTakeTheNumberInTheLinksName)
{
    OptFileBuilder opt;
    const int link = opt.TextureLink(GetParam().name);
    Read(opt.Build({opt.Node(0, {link, opt.FaceBlock({{{0, 1, 2, 3}, {}}})})}));
    EXPECT_EQ(reader->m_nodes[0].children[0].texture, GetParam().number);
    EXPECT_EQ(FaceTextures(), std::vector<std::int32_t>{GetParam().number});
}

INSTANTIATE_TEST_SUITE_P(Names, TextureLinkTest,
                         ::testing::Values(LinkCase{"Digits", "abc00012", 12},
                                           LinkCase{"LettersOnly", "abcdefghi", 0},
                                           LinkCase{"SixDigits", "abc123456", 123456},
                                           LinkCase{"BlanksAndSign", "abc \t-7xy", -7},
                                           LinkCase{"PlusSign", "abc+5", 5},
                                           LinkCase{"ShortName", "ab", 0}),
                         [](const auto& info) { return std::string(info.param.label); });

struct ChoiceCase {
    const char* label;
    std::int32_t choice;
    std::vector<int> childCounts; // one choice node with its face block each
    std::vector<std::int32_t> faceTextures;
    std::int32_t finalChoice;
    friend void PrintTo(const ChoiceCase& row, std::ostream* out) { *out << row.label; }
};

class ChoiceNodeTest : public OptReaderTest, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(ChoiceNodeTest, FacesTakeTheChosenChildsTexture)
{
    OptFileBuilder opt;
    std::vector<int> children;
    for (const int count : GetParam().childCounts) {
        std::vector<int> links;
        for (int k = 0; k < count; ++k)
            links.push_back(opt.TextureLink("tex" + std::to_string(10 + k)));
        children.push_back(opt.Node(24, links));
        children.push_back(opt.FaceBlock({{{0, 1, 2, -1}, {}}}));
    }
    Read(opt.Build({opt.Node(0, children)}), GetParam().choice);
    EXPECT_EQ(FaceTextures(), GetParam().faceTextures);
    EXPECT_EQ(reader->m_nChoice, GetParam().finalChoice);
}

INSTANTIATE_TEST_SUITE_P(Choices, ChoiceNodeTest,
                         ::testing::Values(ChoiceCase{"First", 0, {3}, {10}, 0},
                                           ChoiceCase{
                                               "LoweredAndKept", 5, {3, 3, 2}, {12, 12, 11}, 1},
                                           ChoiceCase{"NegativeIsTooLarge", -1, {3}, {12}, 2},
                                           ChoiceCase{"NoChildren", 1, {0, 3}, {-1, 11}, 1}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(OptReaderTest, FaceBlocksWithNothingBeforeThemHaveNoTexture)
{
    OptFileBuilder opt;
    const Face face{{0, 1, 2, 3}, {}};
    const int texture = opt.Texture("t", {}, {});
    const int afterVertices =
        opt.Node(0, {texture, opt.Entries(3, {1, 2, 3}, 3), opt.FaceBlock({face})});
    Read(opt.Build({opt.Node(0, {opt.FaceBlock({face}), afterVertices}), opt.FaceBlock({face})}));
    EXPECT_EQ(FaceTextures(), (std::vector<std::int32_t>{-1, -1}));
    EXPECT_EQ(reader->m_meshes.at(0).faces[1].level, 1);
    const OptFace& topLevel = reader->m_meshes.at(1).faces.at(0);
    EXPECT_EQ(topLevel.texture, -1);
    EXPECT_EQ(topLevel.level, 0);
}

TEST_F(OptReaderTest, PixelCountsTheFileCannotHoldReadNoPixels)
{
    OptFileBuilder opt;
    const int texture = opt.Texture("t", {}, {1, 2, 3, 4});
    const int countAt = opt.TextureHeader(texture) + 8;
    const int pixelPos = countAt + 16;
    Bytes file = opt.Build({opt.Node(0, {texture})});
    const std::int32_t left = static_cast<std::int32_t>(file.size()) - pixelPos;
    for (const std::int32_t count : {-5, 0, 0x7FFFFFFF, left + 1, 4, left}) {
        OptFileBuilder::PutInt32(file, countAt, count);
        Read(file);
        ASSERT_EQ(reader->m_textures.size(), 1u);
        EXPECT_EQ(reader->m_textures[0].pixelSize, count);
        const std::size_t expected =
            count == 4 || count == left ? static_cast<std::size_t>(count) : 0;
        EXPECT_EQ(reader->m_textures[0].pixels->size(), expected) << count;
    }
    EXPECT_EQ(reader->m_textures[0].pixels->back(), file.back());
}

TEST_F(OptReaderTest, CyclesDeepChainsAndSharedSubtreesEnd)
{
    const std::vector<std::function<Bytes()>> models = {
        [] { // a branch that is its own child
            OptFileBuilder opt;
            const int self = opt.Node(0, {0});
            opt.SetInt32(opt.Int32At(self + 12) - opt.Base(), opt.Stored(self));
            return opt.Build({self});
        },
        [] { // two list nodes that hold each other
            OptFileBuilder opt;
            const int a = opt.Node(21, {0});
            const int b = opt.Node(24, {a});
            opt.SetInt32(opt.Int32At(a + 12) - opt.Base(), opt.Stored(b));
            return opt.Build({a});
        },
        [] { // a chain deeper than the reader follows
            OptFileBuilder opt;
            int node = opt.Node(0);
            for (int i = 0; i < 2 * COptReader::kMaxDepth; ++i)
                node = opt.Node(0, {node});
            return opt.Build({node});
        },
        [] { // 60 levels of two children that are the same node
            OptFileBuilder opt;
            int node = opt.FaceBlock({{{0, 1, 2, 3}, {}}});
            for (int i = 0; i < 60; ++i)
                node = opt.Node(0, {node, node});
            return opt.Build({node, node});
        },
    };
    for (std::size_t m = 0; m < models.size(); ++m) {
        Read(models[m]());
        EXPECT_LE(Depth(reader->m_nodes), static_cast<std::size_t>(COptReader::kMaxDepth) + 1) << m;
        EXPECT_LT(CountNodes(reader->m_nodes), 100000u) << m;
    }
    Read(models[0]());
    ASSERT_EQ(reader->m_nodes[0].children.size(), 1u);
    EXPECT_EQ(reader->m_nodes[0].children[0].kind, 0);
    EXPECT_TRUE(reader->m_nodes[0].children[0].children.empty());
}

TEST_F(OptReaderTest, AFileCutAnywhereReadsOnlyWhatIsThere)
{
    const Bytes model = SampleOptModel();
    for (std::size_t length = 0; length <= model.size(); ++length) {
        std::istringstream stream(std::string(model.begin(), model.begin() + length));
        COptReader cut;
        cut.m_nPaletteBias = OptFileBuilder::kPaletteBias;
        cut.ReadFrom(stream);
        ASSERT_LE(cut.m_textures.size(), 2u);
        for (const OptTexture& texture : cut.m_textures) {
            const std::int64_t end = texture.pixelPos + std::int64_t{texture.pixelSize};
            ASSERT_TRUE(texture.pixels->empty() || end <= static_cast<std::int64_t>(length));
        }
        ASSERT_TRUE(length >= 22 || cut.m_nodes.empty()) << length;
        ASSERT_LE(CountNodes(cut.m_nodes), 20u);
    }
}
