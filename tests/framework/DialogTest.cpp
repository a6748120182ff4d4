#include "framework/CColorDialog.h"
#include "framework/CFileDialog.h"
#include "framework/PlatformFile.h"
#include "framework/ScriptedUserInterface.h"

#include <gtest/gtest.h>

class DialogTest : public ::testing::Test {
protected:
    ScriptedUserInterface ui;
    ScopedUserInterface installed{ui};
};

TEST_F(DialogTest, ColourChooserOpensOnItsColourAndGivesTheChoice)
{
    CColorDialog dialog(0x00804020, CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR);
    ui.QueueColor(0x00010203);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.GetColor(), 0x00010203u);
    ASSERT_EQ(ui.Asked().size(), 1u);
    EXPECT_EQ(ui.Asked()[0].color, 0x00804020u);
    EXPECT_EQ(ui.Asked()[0].type, 0x103u);

    CColorDialog cancelled(0x00111111);
    ui.QueueCancel(ScriptedUserInterface::Kind::color);
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(cancelled.GetColor(), 0x00111111u);
}

TEST_F(DialogTest, FileChooserAppendsTheDefaultExtensionToABareName)
{
    CFileDialog dialog(true, "opt", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       "X-Wing Alliance OPT (*.opt)|*.opt||");
    ui.QueueFile("/models/tie");
    ASSERT_EQ(dialog.DoModal(), IDOK);
    // The full path, in the system's own notation.
    EXPECT_EQ(dialog.GetPathName(), platform_file::AbsolutePath("/models/tie.opt"));
    const FileDialogRequest& asked = ui.Asked()[0].file;
    EXPECT_TRUE(asked.openFileDialog);
    EXPECT_EQ(asked.filter, "X-Wing Alliance OPT (*.opt)|*.opt||");
    EXPECT_EQ(asked.flags, 6u);

    CFileDialog named(true, "opt");
    ui.QueueFile("/models/ship.v2.OPT");
    ASSERT_EQ(named.DoModal(), IDOK);
    EXPECT_EQ(named.GetPathName(), platform_file::AbsolutePath("/models/ship.v2.OPT"));

    CFileDialog cancelled(false, "pal");
    ui.QueueCancel(ScriptedUserInterface::Kind::file);
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(cancelled.GetPathName(), "");
}

TEST_F(DialogTest, ScriptedAnswersComeInOrderAndUnscriptedQuestionsAreCounted)
{
    ui.QueueMessageBoxAnswer(IDYES);
    ui.SetStandingAnswer("Standing?", IDYES);
    EXPECT_EQ(AfxMessageBox("First?", MB_YESNO), IDYES);
    EXPECT_EQ(AfxMessageBox("Standing?", MB_YESNO), IDYES);
    EXPECT_EQ(AfxMessageBox("Unscripted?", MB_YESNO), IDNO);
    EXPECT_EQ(AfxMessageBox("Unscripted?", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(AfxMessageBox("Note.", MB_OK | MB_ICONSTOP), IDOK);
    EXPECT_EQ(ui.UnscriptedCount(), 2) << "an OK box needs no script";

    int row = 0;
    ui.QueueTexture(3);
    EXPECT_EQ(AfxGetUserInterface().PickTexture({"a", "b", "c", "d"}, row), IDOK);
    EXPECT_EQ(row, 3);
    EXPECT_EQ(ui.Asked().back().textureNames.size(), 4u);
    EXPECT_EQ(ui.Asked().back().selected, 0);
}

TEST(UserInterfaceTest, WithoutAHostEveryQuestionGetsItsDefaultButton)
{
    EXPECT_EQ(AfxMessageBox("Anyone?", MB_YESNO), IDNO);
    EXPECT_EQ(AfxMessageBox("Fine.", MB_OK), IDOK);
    ColorRef colour = 5;
    EXPECT_EQ(AfxGetUserInterface().PickColor(colour, 0), IDCANCEL);
    EXPECT_EQ(colour, 5u);
}
