#include "document/CPalvaneDoc.h"
#include "framework/MessagePane.h"
#include "framework/ScriptedUserInterface.h"
#include "view/CPalvaneView.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RecordingPane final : public MessagePane {
public:
    void SetMessageText(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

// Counts the paint events a widget receives.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
    int count = 0;
};

// Two views of one document, 400 by 300 each: gap 4, cells 20 by 14.
class PalvaneViewMouseTest : public ::testing::Test {
protected:
    PalvaneViewMouseTest()
    {
        document.m_palette[17] = ColorTriple(12, 34, 56);
        document.m_palette[42] = ColorTriple(40, 41, 42);
        other.move(500, 0);
        for (CPalvaneView* shown : {&view, &other}) {
            shown->resize(400, 300);
            shown->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(shown));
        }
        QTest::qWait(20);
        EXPECT_EQ(view.CellWidth(), 20);
        EXPECT_EQ(view.CellHeight(), 14);
        paints.count = otherPaints.count = 0;
    }
    ~PalvaneViewMouseTest() override { AfxSetMessagePane(previousPane); }

    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    // The centre of cell `index`.
    static QPoint At(int index) { return QPoint(14 + index % 16 * 24, 11 + index / 16 * 18); }
    // A move of the pointer, sent as it is: QTest takes (0, 0) for the
    // centre.
    void MoveTo(const QPoint& point)
    {
        QMouseEvent move(QEvent::MouseMove, point, view.mapToGlobal(point), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &move);
    }
    void Click(int index, Qt::KeyboardModifiers modifiers = {})
    {
        MoveTo(At(index));
        QTest::mouseClick(&view, Qt::LeftButton, modifiers, At(index));
        Settle();
    }

    RecordingPane pane;
    MessagePane* previousPane = AfxSetMessagePane(&pane);
    ScriptedUserInterface ui;
    ScopedUserInterface installed{ui};
    CPalvaneDoc document;
    CPalvaneView view{&document};
    CPalvaneView other{&document};
    PaintCounter paints{&view};
    PaintCounter otherPaints{&other};
};

TEST_F(PalvaneViewMouseTest, PointsPickTheHotCellAndShowItWithoutRepainting)
{
    struct Row {
        QPoint point;
        int cell;
    };
    const Row rows[] = {{{0, 0}, 0},       {{27, 5}, 0},      {{28, 5}, 1},     {{5, 21}, 0},
                        {{5, 22}, 16},     {{395, 5}, 16},    {{30, 25}, 17},   {{10, 295}, 255},
                        {{395, 290}, 255}, {{399, 275}, 255}, {{387, 258}, 239}};
    for (const Row& row : rows) {
        MoveTo(row.point);
        EXPECT_EQ(view.HotCell(), row.cell) << row.point.x() << "," << row.point.y();
    }
    Settle();
    EXPECT_EQ(paints.count, 0);
    EXPECT_EQ(otherPaints.count, 0);
    ASSERT_EQ(pane.texts.size(), std::size(rows));
    EXPECT_EQ(pane.texts[6], "Cell 17: rgb(12, 34, 56)");
    EXPECT_EQ(pane.texts[0], "Cell 0: rgb(0, 0, 0)");
}

TEST_F(PalvaneViewMouseTest, ClicksSelectAndShiftClicksMoveTheEndAfterTheStart)
{
    struct Row {
        int cell;
        bool shift;
        int start, end;
        bool redrawn;
    };
    const Row rows[] = {
        {10, true, 10, 10, true}, // with nothing selected, Shift is a plain click
        {20, true, 10, 20, true}, {15, true, 10, 15, true}, {10, true, 10, 15, false},
        {5, true, 10, 15, false}, {5, false, 5, 5, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.cell);
        paints.count = 0;
        Click(row.cell, row.shift ? Qt::ShiftModifier : Qt::NoModifier);
        EXPECT_EQ(document.m_nSelStart, row.start);
        EXPECT_EQ(document.m_nSelEnd, row.end);
        EXPECT_EQ(paints.count > 0, row.redrawn);
        EXPECT_EQ(otherPaints.count, 0);
        EXPECT_FALSE(document.IsModified());
    }
}

TEST_F(PalvaneViewMouseTest, DoubleClickEditsTheHotCellsColourInEveryView)
{
    for (const bool confirm : {false, true}) {
        SCOPED_TRACE(confirm);
        if (confirm)
            ui.QueueColor(0x00030201);
        else
            ui.QueueCancel(ScriptedUserInterface::Kind::color);
        ui.ForgetAsked();
        paints.count = otherPaints.count = 0;
        // As the platform delivers a double click: press, release, double
        // click, release.
        Click(42);
        QTest::mouseDClick(&view, Qt::LeftButton, {}, At(42));
        QTest::mouseRelease(&view, Qt::LeftButton, {}, At(42));
        Settle();
        ASSERT_EQ(ui.Asked().size(), 1u);
        EXPECT_EQ(ui.Asked()[0].color, 0x002A2928u);
        EXPECT_EQ(ui.Asked()[0].type, 0x103u);
        EXPECT_EQ(document.m_nSelStart, 42);
        EXPECT_EQ(document.m_nSelEnd, 42);
        EXPECT_EQ(document.m_palette[42], confirm ? ColorTriple(1, 2, 3) : ColorTriple(40, 41, 42));
        EXPECT_EQ(document.IsModified(), confirm);
        EXPECT_EQ(otherPaints.count > 0, confirm);
        EXPECT_GT(paints.count, 0);
        document.m_palette[42] = ColorTriple(40, 41, 42);
        document.SetModifiedFlag(false);
    }
}

TEST_F(PalvaneViewMouseTest, DegenerateLayoutsKeepTheHotCellAPaletteIndex)
{
    // A step (gap plus cell size) of zero keeps the hot cell; an index before
    // the first cell is 0.
    struct Row {
        QSize size;
        QPoint point;
        int cell;
    };
    const Row rows[] = {
        {{3, 300}, {1, 1}, 42},                                   // cells -4 wide: no step across
        {{2, 2}, {1, 1}, 42},                                     // no step either way
        {{50, 300}, {1, 1}, 0},                                   // cells -1 wide: column -1
        {{50, 300}, {49, 5}, 15},                                 // a step of 3
        {{400, 20}, {5, 19}, 240},                                // cells -3 high: a step of 1
        {{400, 20}, {395, 19}, 255}, {{400, 300}, {-30, -30}, 0}, // left of and above the view
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.size.width() * 1000 + row.size.height());
        view.resize(400, 300);
        view.grab();
        MoveTo(At(42));
        view.resize(row.size);
        view.grab();
        MoveTo(row.point);
        EXPECT_EQ(view.HotCell(), row.cell);
    }
}

} // namespace
