#include "document/CPalvaneDoc.h"
#include "document/SelectionClick.h"
#include "tests/support/ColormapFixtures.h"

#include <gtest/gtest.h>

TEST(PalvaneDocTest, ConstructionIsBlackUnselectedAndResetsTheReferenceColours)
{
    g_colorWhite = ColorTriple(1, 2, 3);
    g_colorBlack = ColorTriple(4, 5, 6);
    const CPalvaneDoc document;
    for (const ColorTriple& entry : document.m_palette)
        EXPECT_EQ(entry, ColorTriple(0, 0, 0));
    EXPECT_EQ(document.m_nSelStart, -1);
    EXPECT_EQ(document.m_nSelEnd, -1);
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(g_colorWhite, ColorTriple(255, 255, 255));
    EXPECT_EQ(g_colorBlack, ColorTriple(0, 0, 0));
    const CPalvaneDoc another;
    EXPECT_EQ(g_colorWhite, ColorTriple(255, 255, 255));
    EXPECT_EQ(g_colorBlack, ColorTriple(0, 0, 0));
}

TEST(PalvaneDocTest, NewDocumentIsGreyUnmodifiedAndKeepsTheSelection)
{
    CPalvaneDoc document;
    document.m_nSelStart = 3;
    document.m_nSelEnd = 9;
    document.SetModifiedFlag();
    ASSERT_TRUE(document.OnNewDocument());
    for (const ColorTriple& entry : document.m_palette)
        EXPECT_EQ(entry, ColorTriple(128, 128, 128));
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(document.GetPathName(), "");
    EXPECT_EQ(document.m_nSelStart, 3);
    EXPECT_EQ(document.m_nSelEnd, 9);
}

TEST(PalvaneDocTest, PaletteChangeMarksModifiedBeforeEveryViewRedraws)
{
    CPalvaneDoc document;
    ModifiedWitness first(document);
    ModifiedWitness second(document);
    document.AddView(&first);
    document.AddView(&second);
    document.NotifyPaletteChanged();
    for (const ModifiedWitness* view : {&first, &second}) {
        EXPECT_EQ(view->updates, 1);
        EXPECT_TRUE(view->sawModified);
        EXPECT_TRUE(view->sawNoSender);
    }
}

TEST(PalvaneDocTest, ColourConvertsToAndFromTheChooserValue)
{
    const ColorTriple colour(0x12, 0x34, 0x56);
    EXPECT_EQ(colour.ToColorRef(), 0x00563412u);
    EXPECT_EQ(ColorTriple::FromColorRef(0xFF563412u), colour) << "the top byte is ignored";
}

TEST(SelectionClickTest, ClicksAndShiftClicksSelectARun)
{
    CPalvaneDoc document;
    auto selection = [&] { return std::make_pair(document.m_nSelStart, document.m_nSelEnd); };

    EXPECT_TRUE(ApplySelectionClick(document, 12, true)) << "Shift with no selection is a click";
    EXPECT_EQ(selection(), std::make_pair(12, 12));
    EXPECT_TRUE(ApplySelectionClick(document, 10, false));
    EXPECT_EQ(selection(), std::make_pair(10, 10));
    EXPECT_TRUE(ApplySelectionClick(document, 20, true));
    EXPECT_EQ(selection(), std::make_pair(10, 20));
    EXPECT_TRUE(ApplySelectionClick(document, 15, true));
    EXPECT_EQ(selection(), std::make_pair(10, 15));
    EXPECT_FALSE(ApplySelectionClick(document, 10, true));
    EXPECT_FALSE(ApplySelectionClick(document, 5, true));
    EXPECT_EQ(selection(), std::make_pair(10, 15));
    EXPECT_TRUE(ApplySelectionClick(document, 5, false));
    EXPECT_EQ(selection(), std::make_pair(5, 5));
    EXPECT_FALSE(document.IsModified()) << "selecting is not a change to the document";
}
