#include "framework/qt/PrintSetupDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

using Choice = PrinterSetup::Choice;

TEST(PrintSetupDialogTest, OffersThePrintersWithTheirPaperAndGivesWhatIsChosen)
{
    const QPageSize a2(QPageSize::A2), a3(QPageSize::A3), a4(QPageSize::A4);
    const QPageSize letter(QPageSize::Letter);
    const std::vector<PrintSetupDialog::Printer> printers = {
        {"Office", {a4, letter}, letter, "Ready"},
        {"Plotter", {a3, a2}, a2, "Stopped"},
    };
    const Choice pdf{"", "/tmp/page.pdf", letter, QPageLayout::Landscape};
    struct Row {
        const char* label;
        std::vector<PrintSetupDialog::Printer> printers;
        std::optional<Choice> current;
        std::function<void(QWidget*)> change;
        const char* status;
        QStringList paper;
        Choice shown;
    };
    const Row rows[] = {
        {"no printer: a PDF file, and the dialog says so",
         {},
         {},
         [](QWidget* d) { d->findChild<QLineEdit*>("fileName")->setText("out.pdf"); },
         "No printer is installed: prints go to a PDF file.",
         {},
         {"", "out.pdf", a4}},
        {"the first printer, its paper and its default",
         printers,
         {},
         [](QWidget*) {},
         "Ready",
         {a4.name(), letter.name()},
         {"Office", "", letter}},
        {"another printer: its paper, its default where the shown one is missing; landscape",
         printers,
         {},
         [](QWidget* d) {
             d->findChild<QComboBox*>("printerName")->setCurrentIndex(1);
             QTest::mouseClick(d->findChild<QRadioButton*>("landscape"), Qt::LeftButton);
         },
         "Stopped",
         {a3.name(), a2.name()},
         {"Plotter", "", a2, QPageLayout::Landscape}},
        {"opens on the current choice",
         printers,
         pdf,
         [](QWidget*) {},
         "Prints go to a PDF file.",
         {},
         pdf},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        PrintSetupDialog dialog(row.printers, row.current);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        row.change(&dialog);
        EXPECT_EQ(dialog.findChild<QLabel*>("status")->text().toStdString(), row.status);
        EXPECT_TRUE(dialog.Choice() == row.shown);
        auto* paper = dialog.findChild<QComboBox*>("paperSize");
        QStringList offered;
        for (int i = 0; i < paper->count(); ++i)
            offered << paper->itemText(i);
        if (!row.paper.isEmpty()) {
            EXPECT_EQ(offered, row.paper);
        }
        // A PDF file needs a name, and only it has one.
        auto* file = dialog.findChild<QLineEdit*>("fileName");
        EXPECT_EQ(file->isEnabled(), row.shown.printerName.isEmpty());
        file->clear();
        EXPECT_EQ(dialog.findChild<QPushButton*>("ok")->isEnabled(),
                  !row.shown.printerName.isEmpty());
    }
}

} // namespace
