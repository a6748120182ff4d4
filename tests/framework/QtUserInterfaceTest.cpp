#include "framework/qt/QtUserInterface.h"
#include "tests/support/ModalDialog.h"
#include "tests/support/TempFolder.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

using Button = QMessageBox::StandardButton;

TEST(QtUserInterfaceTest, MessageBoxTypesGiveButtonsIconAndAnswers)
{
    struct Row {
        unsigned type;
        QMessageBox::StandardButtons buttons;
        Button defaultButton;
        QMessageBox::Icon icon;
    };
    const Row rows[] = {
        {MB_OK, Button::Ok, Button::Ok, QMessageBox::NoIcon},
        {MB_OK | MB_ICONSTOP, Button::Ok, Button::Ok, QMessageBox::Critical},
        {MB_OKCANCEL | MB_ICONINFORMATION, Button::Ok | Button::Cancel, Button::Ok,
         QMessageBox::Information},
        {MB_YESNO | MB_ICONQUESTION, Button::Yes | Button::No, Button::Yes, QMessageBox::Question},
        {MB_YESNOCANCEL | MB_ICONEXCLAMATION, Button::Yes | Button::No | Button::Cancel,
         Button::Yes, QMessageBox::Warning},
        {MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, Button::Yes | Button::No, Button::No,
         QMessageBox::Question},
        {MB_OKCANCEL | MB_DEFBUTTON2, Button::Ok | Button::Cancel, Button::Cancel,
         QMessageBox::NoIcon},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.type);
        EXPECT_EQ(QtUserInterface::ButtonsFor(row.type), row.buttons);
        EXPECT_EQ(QtUserInterface::DefaultButtonFor(row.type), row.defaultButton);
        EXPECT_EQ(QtUserInterface::IconFor(row.type), row.icon);
    }
    const std::tuple<Button, unsigned, int> answers[] = {
        {Button::Ok, MB_OK, IDOK},          {Button::Cancel, MB_OKCANCEL, IDCANCEL},
        {Button::Yes, MB_YESNO, IDYES},     {Button::No, MB_YESNOCANCEL, IDNO},
        {Button::NoButton, MB_YESNO, IDNO}, {Button::NoButton, MB_YESNOCANCEL, IDCANCEL},
        {Button::Cancel, MB_YESNO, IDNO},   {Button::NoButton, MB_OK, IDOK},
    };
    for (const auto& [button, type, answer] : answers)
        EXPECT_EQ(QtUserInterface::AnswerFor(button, type), answer) << button << " " << type;
}

TEST(QtUserInterfaceTest, FiltersBecomeQtNameFilters)
{
    const std::pair<const char*, QStringList> rows[] = {
        {"Jedi Knight Palette Files (*.cmp)|*.cmp||", {"Jedi Knight Palette Files (*.cmp)"}},
        {"Dark Forces Palette (*.pal)|*.pal|All Files (*.*)|*.*||",
         {"Dark Forces Palette (*.pal)", "All Files (*)"}},
        {"Pictures|*.bmp; *.png||", {"Pictures (*.bmp *.png)"}},
        {"", {}},
    };
    for (const auto& [filter, expected] : rows)
        EXPECT_EQ(QtUserInterface::NameFilters(filter), expected) << filter;
}

class QtUserInterfaceDialogTest : public ::testing::Test {
protected:
    QtUserInterface ui;
};

TEST_F(QtUserInterfaceDialogTest, MessageBoxAnswersWithTheButtonClicked)
{
    QString text;
    WhenModal("QMessageBox", [&](QWidget* dialog) {
        auto* box = static_cast<QMessageBox*>(dialog);
        text = box->text();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(ui.ShowMessageBox("Save changes to JKCMP1?", MB_YESNOCANCEL | MB_ICONEXCLAMATION),
              IDNO);
    EXPECT_EQ(text, "Save changes to JKCMP1?");
}

TEST_F(QtUserInterfaceDialogTest, EnterPressesTheDefaultButton)
{
    const std::pair<unsigned, int> rows[] = {
        {MB_YESNO | MB_ICONQUESTION, IDYES},
        {MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON2, IDNO},
    };
    for (const auto& [type, answer] : rows) {
        WhenModal("QMessageBox", [](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); });
        EXPECT_EQ(ui.ShowMessageBox("Replace it?", type), answer) << type;
    }
}

TEST_F(QtUserInterfaceDialogTest, ColourChooserOpensOnTheColourAndGivesTheChoice)
{
    QColor initial;
    WhenModal("QColorDialog", [&](QWidget* dialog) {
        auto* chooser = static_cast<QColorDialog*>(dialog);
        initial = chooser->currentColor();
        chooser->setCurrentColor(QColor(10, 20, 30));
        chooser->accept();
    });
    ColorRef color = 0x00030201;
    EXPECT_EQ(ui.PickColor(color, CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR), IDOK);
    EXPECT_EQ(initial, QColor(1, 2, 3));
    EXPECT_EQ(color, 0x001E140Au);
}

TEST_F(QtUserInterfaceDialogTest, SaveChooserAddsTheExtensionWhereItFitsAndConfirmsAnOverwrite)
{
    TempFolder folder;
    std::ofstream(folder / "gray.cmp") << "CMP ";
    struct Row {
        std::string typed;
        std::string chosen;
        bool confirmed; // asked before replacing what is there
    };
    std::vector<Row> rows = {
        {"gray", folder / "gray.cmp", true},
        {"fresh", folder / "fresh.cmp", false},
        {"x.cmp", folder / "x.cmp", false},
    };
#ifndef _WIN32
    // A device or a pipe is written through, under its own name.
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    rows.push_back({"pipe", folder / "pipe", true});
    rows.push_back({"/dev/null", "/dev/null", true});
#endif
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        bool confirmed = false;
        WhenModal("QFileDialog", [&](QWidget* dialog) {
            WhenModal("QMessageBox", [&](QWidget* box) {
                confirmed = true;
                static_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click();
            });
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            name->setText(QString::fromStdString(row.typed));
            QTest::keyClick(name, Qt::Key_Return);
        });
        FileDialogRequest request;
        request.openFileDialog = false;
        request.defaultExtension = "cmp";
        request.initialFileName = folder / "new.cmp";
        request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
        request.filter = "Jedi Knight Palette Files (*.cmp)|*.cmp||";
        std::string path;
        EXPECT_EQ(ui.PickFile(request, path), IDOK);
        EXPECT_EQ(confirmed, row.confirmed);
        EXPECT_EQ(path, row.chosen);
    }
}

} // namespace
