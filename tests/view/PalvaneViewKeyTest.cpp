#include "document/CPalvaneDoc.h"
#include "document/CellText.h"
#include "framework/MessagePane.h"
#include "framework/ScriptedUserInterface.h"
#include "view/CPalvaneView.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace {

class LastTextPane final : public MessagePane {
public:
    void SetMessageText(const std::string& text) override { last = text; }
    std::string last;
};

// A view driven by keys beside one of another document driven by clicks,
// 400 by 300 each: gap 4, cells 20 by 14.
class PalvaneViewKeyTest : public ::testing::Test {
protected:
    PalvaneViewKeyTest()
    {
        for (int i = 0; i < CPalvaneDoc::kPaletteSize; ++i)
            keyedDocument.m_palette[static_cast<std::size_t>(i)] =
                ColorTriple(static_cast<std::uint8_t>(i), 7, static_cast<std::uint8_t>(255 - i));
        clicked.move(500, 0);
        for (CPalvaneView* shown : {&keyed, &clicked}) {
            shown->resize(400, 300);
            shown->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(shown));
        }
        keyed.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&keyed));
    }
    ~PalvaneViewKeyTest() override { AfxSetMessagePane(previousPane); }

    static QPoint At(int index) { return QPoint(14 + index % 16 * 24, 11 + index / 16 * 18); }
    static void Click(CPalvaneView& view, int index, Qt::KeyboardModifiers modifiers = {})
    {
        QMouseEvent move(QEvent::MouseMove, At(index), view.mapToGlobal(At(index)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &move);
        QTest::mouseClick(&view, Qt::LeftButton, modifiers, At(index));
    }
    // Keys go where the application sends them: to the widget with the focus.
    static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        QCoreApplication::processEvents();
    }

    LastTextPane pane;
    MessagePane* previousPane = AfxSetMessagePane(&pane);
    ScriptedUserInterface ui;
    ScopedUserInterface installed{ui};
    CPalvaneDoc keyedDocument;
    CPalvaneDoc clickedDocument;
    CPalvaneView keyed{&keyedDocument};
    CPalvaneView clicked{&clickedDocument};
};

TEST_F(PalvaneViewKeyTest, MovesSelectAsClicksOnTheCellMovedTo)
{
    struct Row {
        Qt::Key key;
        bool shift;
        int cell;    // where the key leads, clicked in the other view
        int current; // the current cell after it
        int start, end;
    };
    const Row rows[] = {
        {Qt::Key_Right, false, 21, 21, 21, 21},
        {Qt::Key_Down, false, 37, 37, 37, 37},
        {Qt::Key_Right, true, 38, 38, 37, 38},
        {Qt::Key_Down, true, 54, 54, 37, 54},
        {Qt::Key_Up, true, 38, 38, 37, 38},
        {Qt::Key_Left, true, 37, 38, 37, 38}, // a Shift-click on or before the start does nothing
        {Qt::Key_Home, false, 0, 0, 0, 0},
        {Qt::Key_Left, false, 0, 0, 0, 0},
        {Qt::Key_Down, false, 16, 16, 16, 16},
        {Qt::Key_Left, false, 15, 15, 15, 15},
        {Qt::Key_Right, false, 16, 16, 16, 16},
        {Qt::Key_End, true, 255, 255, 16, 255},
        {Qt::Key_Down, false, 255, 255, 255, 255},
        {Qt::Key_Up, false, 239, 239, 239, 239},
        {Qt::Key_Home, true, 0, 239, 239, 239},
    };
    // A click gives the view the focus; then the keys move on from its cell.
    Click(keyed, 20);
    Click(clicked, 20);
    ASSERT_EQ(QApplication::focusWidget(), &keyed);
    ASSERT_EQ(keyed.CurrentCell(), 20);
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.key << (row.shift ? " with Shift" : ""));
        const Qt::KeyboardModifiers modifiers = row.shift ? Qt::ShiftModifier : Qt::NoModifier;
        Press(row.key, modifiers);
        EXPECT_EQ(keyed.CurrentCell(), row.current);
        // The status text follows the keys as it follows the pointer.
        EXPECT_EQ(pane.last, CellStatusText(row.current, keyedDocument.m_palette[row.current]));
        Click(clicked, row.cell, modifiers);
        EXPECT_EQ(keyedDocument.m_nSelStart, row.start);
        EXPECT_EQ(keyedDocument.m_nSelEnd, row.end);
        EXPECT_EQ(clickedDocument.m_nSelStart, row.start);
        EXPECT_EQ(clickedDocument.m_nSelEnd, row.end);
    }
    EXPECT_FALSE(keyedDocument.IsModified());

    // The focus rectangle fills the gap around cell 239's frame, which lies
    // one pixel outside the cell, (364, 256) to (384, 270); the cell keeps
    // its colour. It goes with the focus.
    for (const bool focused : {true, false}) {
        if (!focused)
            keyed.clearFocus();
        const QImage image = keyed.grab().toImage();
        const QColor ring = keyed.palette().color(focused ? QPalette::Highlight : QPalette::Button);
        for (const QPoint point : {QPoint(361, 253), QPoint(362, 254), QPoint(385, 271),
                                   QPoint(386, 272), QPoint(374, 253), QPoint(361, 262)})
            EXPECT_EQ(image.pixelColor(point), ring) << focused << " " << point.x();
        EXPECT_EQ(image.pixel(364, 256), qRgb(239, 7, 16));
        EXPECT_EQ(image.pixel(382, 268), qRgb(239, 7, 16));
    }
}

TEST_F(PalvaneViewKeyTest, EnterSpaceAndF2EditTheCurrentCellAsADoubleClickDoes)
{
    const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_F2};
    for (const Qt::Key key : keys) {
        SCOPED_TRACE(key);
        // The pointer rests on cell 40; the keys move on to 42.
        Click(keyed, 40);
        Press(Qt::Key_Right);
        Press(Qt::Key_Right);
        const ColorTriple before = keyedDocument.m_palette[42];
        const ColorRef chosen = 0x00030201 + static_cast<ColorRef>(key & 0xFF);
        ui.ForgetAsked();
        ui.QueueColor(chosen);
        Press(key);
        ASSERT_EQ(ui.Asked().size(), 1u);
        EXPECT_EQ(ui.Asked()[0].color, before.ToColorRef());
        EXPECT_EQ(ui.Asked()[0].type, 0x103u);
        EXPECT_EQ(keyedDocument.m_palette[42], ColorTriple::FromColorRef(chosen));
        EXPECT_EQ(keyed.HotCell(), 40);
        EXPECT_TRUE(keyedDocument.IsModified());
        EXPECT_EQ(pane.last, CellStatusText(42, keyedDocument.m_palette[42]));
        keyedDocument.m_palette[42] = before;
        keyedDocument.SetModifiedFlag(false);
    }
}

} // namespace
