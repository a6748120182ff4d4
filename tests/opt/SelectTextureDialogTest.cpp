#include "opt/SelectTextureDialog.h"
#include "framework/qt/DialogUnits.h"
#include "framework/qt/QtUserInterface.h"
#include "tests/support/ModalDialog.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Unsorted, so that any sorting shows; the last name has a byte above 127.
const std::vector<std::string> kNames = {"zeta", "Alpha", "mid", "beta", "\xE9t\xE9"};

void ClickRow(SelectTextureDialog* dialog, int row, Qt::KeyboardModifiers keys = {})
{
    QListWidget* list = dialog->TextureList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, keys,
                      list->visualItemRect(list->item(row)).center());
}

TEST(SelectTextureDialogTest, OpensLaidOutWithTheRowsInOrderAndTheFirstSelected)
{
    SelectTextureDialog dialog(kNames);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(dialog.windowTitle(), "Select Texture");
    QListWidget* list = dialog.TextureList();
    QStringList rows;
    for (int row = 0; row < list->count(); ++row)
        rows << list->item(row)->text();
    EXPECT_EQ(rows, QStringList({"zeta", "Alpha", "mid", "beta", QStringLiteral("\u00E9t\u00E9")}));
    EXPECT_EQ(list->selectedItems(), QList<QListWidgetItem*>{list->item(0)});

    // The focus starts in the list, and Tab goes on to OK, Cancel, the list.
    // OK is the default button but while Cancel has the focus.
    for (QWidget* expected :
         std::initializer_list<QWidget*>{list, dialog.OkButton(), dialog.CancelButton()}) {
        EXPECT_EQ(QApplication::focusWidget(), expected);
        EXPECT_EQ(dialog.OkButton()->isDefault(), expected != dialog.CancelButton());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(QApplication::focusWidget(), list);

    // The template's rectangles in dialog units of the dialog's own font.
    const DialogUnits units(dialog.font());
    EXPECT_EQ(dialog.size(), units.ToPixels(200, 130));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.OkButton()->geometry(), units.ToPixels(143, 7, 50, 14));
    EXPECT_EQ(dialog.CancelButton()->geometry(), units.ToPixels(143, 24, 50, 14));
    EXPECT_EQ(list->geometry(), units.ToPixels(7, 7, 129, 116));
    EXPECT_EQ(units.ToPixels(4, 8), QSize(units.BaseWidth(), units.BaseHeight()));
}

// The Qt user interface asks with the real dialog, answered here.
TEST(SelectTextureDialogTest, TheQtUserInterfaceGetsTheRowSelectedLast)
{
    const auto ok = [](SelectTextureDialog* d) {
        QTest::mouseClick(d->OkButton(), Qt::LeftButton);
    };
    struct Case {
        const char* label;
        std::function<void(SelectTextureDialog*)> answer;
        int result;
        int selected;
    };
    const Case cases[] = {
        {"OK without touching the list", ok, IDOK, 0},
        {"the fourth row, then OK", [&](auto* d) { ClickRow(d, 3), ok(d); }, IDOK, 3},
        {"a double-click only selects; Enter in the list is OK",
         [](auto* d) {
             QListWidget* list = d->TextureList();
             QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                                list->visualItemRect(list->item(2)).center());
             QTest::qWait(50);
             EXPECT_TRUE(d->isVisible());
             QTest::keyClick(list, Qt::Key_Return);
         },
         IDOK, 2},
        {"Down, Down, Enter where the focus starts",
         [](auto*) {
             for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return})
                 QTest::keyClick(QApplication::focusWidget(), key);
         },
         IDOK, 2},
        {"clicks that would leave no row selected keep the last",
         [&](auto* d) {
             QWidget* rows = d->TextureList()->viewport();
             ClickRow(d, 1);
             ClickRow(d, 1, Qt::ControlModifier);
             QTest::mouseClick(rows, Qt::LeftButton, {}, QPoint(5, rows->height() - 3));
             EXPECT_EQ(d->TextureList()->selectedItems().size(), 1);
             ok(d);
         },
         IDOK, 1},
        {"Escape cancels",
         [](auto* d) { ClickRow(d, 4), QTest::keyClick(d->TextureList(), Qt::Key_Escape); },
         IDCANCEL, 0},
    };
    QtUserInterface ui;
    for (const Case& c : cases) {
        WhenModal("SelectTextureDialog",
                  [&](QWidget* shown) { c.answer(static_cast<SelectTextureDialog*>(shown)); });
        int selected = 0;
        EXPECT_EQ(ui.PickTexture(kNames, selected), c.result) << c.label;
        EXPECT_EQ(selected, c.selected) << c.label;
    }
}

} // namespace
