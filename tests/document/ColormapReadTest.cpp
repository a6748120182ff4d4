#include "tests/support/ColormapFixtures.h"

namespace {

Bytes CountingPalette()
{
    Bytes palette(768);
    for (int i = 0; i < 768; ++i)
        palette[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return palette;
}

void ExpectPalette(const CPalvaneDoc& document, const Bytes& palette)
{
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(document.m_palette[i],
                  ColorTriple(palette[3 * i], palette[3 * i + 1], palette[3 * i + 2]))
            << "entry " << i;
}

void ExpectAllBlack(const CPalvaneDoc& document)
{
    ExpectPalette(document, Bytes(768, 0));
}

using ColormapReadTest = ColormapTest;

} // namespace

TEST_F(ColormapReadTest, ReadsThePaletteWhateverTheHeaderAndTablesHold)
{
    Bytes file = ColormapHead("CMP ", CountingPalette());
    for (int i = 4; i < 64; ++i)
        file[i] = 0xEE;         // version, flag and reserved bytes are never looked at
    file.resize(1 << 20, 0x55); // far longer than any colormap: only 832 bytes are read
    CPalvaneDoc document;
    document.m_nSelStart = 4;
    document.m_nSelEnd = 8;
    ASSERT_TRUE(Open(document, file));
    ExpectPalette(document, CountingPalette());
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(document.m_nSelStart, 4) << "reading leaves the selection alone";
    EXPECT_EQ(document.m_nSelEnd, 8);
    EXPECT_TRUE(ui.Asked().empty());
}

TEST_F(ColormapReadTest, MagicIsComparedWithoutLetterCase)
{
    for (const std::string magic : {"cmp ", "CmP ", "cMP "}) {
        CPalvaneDoc document;
        ASSERT_TRUE(Open(document, ColormapHead(magic, CountingPalette()))) << magic;
        ExpectPalette(document, CountingPalette());
    }
    EXPECT_TRUE(ui.Asked().empty());
}

TEST_F(ColormapReadTest, WrongMagicFailsTheOpenNamingTheFile)
{
    const Bytes cases[] = {
        ColormapHead("CMPX", CountingPalette()),
        ColormapHead("CMP", CountingPalette()),  // a zero byte ends the magic early
        ColormapHead("CMP_", CountingPalette()), // '_' is not a space in another case
        ColormapHead("RIFF", CountingPalette()),
        Bytes{'C'},
        Bytes{'C', 'M'},
        Bytes{'C', 'M', 'P'},
    };
    for (const Bytes& file : cases) {
        ui.ForgetAsked();
        CPalvaneDoc document;
        EXPECT_FALSE(Open(document, file, "x.pal")) << file.size() << " bytes";
        ASSERT_EQ(ui.MessagesShown(),
                  std::vector<std::string>{(folder / "x.pal") + ": Not a CMP File."});
        EXPECT_EQ(ui.Asked()[0].type, MB_ICONEXCLAMATION);
    }
}

TEST_F(ColormapReadTest, EmptyFileOpensBlackWithoutAMessage)
{
    CPalvaneDoc document;
    ASSERT_TRUE(Open(document, {}));
    ExpectAllBlack(document);
    EXPECT_FALSE(document.IsModified());
    EXPECT_TRUE(ui.Asked().empty());
}

TEST_F(ColormapReadTest, FileEndingBeforeThePaletteEndsFailsTheOpen)
{
    Bytes exact = ColormapHead("CMP ", CountingPalette());
    ASSERT_EQ(exact.size(), 832u);
    CPalvaneDoc complete;
    ASSERT_TRUE(Open(complete, exact));
    ExpectPalette(complete, CountingPalette());

    for (const std::size_t size : {831u, 100u, 64u, 10u, 4u}) {
        ui.ForgetAsked();
        CPalvaneDoc document;
        EXPECT_FALSE(Open(document, Bytes(exact.begin(), exact.begin() + size))) << size;
        EXPECT_EQ(ui.MessagesShown(), std::vector<std::string>{"Unexpected file format."}) << size;
    }
}

TEST_F(ColormapReadTest, BundledSampleOpens)
{
    CPalvaneDoc document;
    ASSERT_TRUE(document.OnOpenDocument(PALVANE_SAMPLE_COLORMAP));
    EXPECT_TRUE(ui.Asked().empty());
    EXPECT_EQ(document.m_palette[0], ColorTriple(0, 0, 0));
    EXPECT_EQ(document.m_palette[15], ColorTriple(255, 255, 255));
}
