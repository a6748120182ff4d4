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

const QPageSize kA2(QPageSize::A2);
const QPageSize kA3(QPageSize::A3);
const QPageSize kA4(QPageSize::A4);
const QPageSize kLetter(QPageSize::Letter);

const std::vector<PrintSetupDialog::Printer> kPrinters = {
    {"Office", {kA4, kLetter}, kLetter, "Ready"},
    {"Plotter", {kA3, kA2}, kA2, "Stopped"},
};

template <typename Control> Control* Find(QWidget* dialog, const char* name)
{
    auto* control = dialog->findChild<Control*>(name);
    EXPECT_NE(control, nullptr) << name;
    return control;
}

void SelectPrinter(QWidget* dialog, const QString& name)
{
    auto* printers = Find<QComboBox>(dialog, "printerName");
    printers->setCurrentIndex(printers->findText(name));
}

TEST(PrintSetupDialogTest, OffersThePrintersWithTheirPaperAndGivesWhatIsChosen)
{
    struct Row {
        const char* label;
        std::vector<PrintSetupDialog::Printer> printers;
        std::optional<Choice> current;
        std::function<void(QWidget*)> change;
        const char* status;
        std::vector<QPageSize> paper;
        bool canConfirm;
        Choice shown;
    };
    const Choice pdf{"", "/tmp/page.pdf", kLetter, QPageLayout::Landscape};
    const Row rows[] = {
        {"no printer: a PDF file, and the dialog says so",
         {},
         {},
         [](QWidget* d) { Find<QLineEdit>(d, "fileName")->setText("out.pdf"); },
         "No printer is installed: prints go to a PDF file.",
         {},
         true,
         {"", "out.pdf", kA4}},
        {"the first printer and its default paper",
         kPrinters,
         {},
         [](QWidget*) {},
         "Ready",
         {kA4, kLetter},
         true,
         {"Office", "", kLetter}},
        {"another printer: its default paper where the shown one is missing, then landscape",
         kPrinters,
         {},
         [](QWidget* d) {
             SelectPrinter(d, "Plotter");
             QTest::mouseClick(Find<QRadioButton>(d, "landscape"), Qt::LeftButton);
         },
         "Stopped",
         {kA3, kA2},
         true,
         {"Plotter", "", kA2, QPageLayout::Landscape}},
        {"opens on the current choice",
         kPrinters,
         pdf,
         [](QWidget*) {},
         "Prints go to a PDF file.",
         {},
         true,
         pdf},
        {"a PDF file needs a name",
         kPrinters,
         pdf,
         [](QWidget* d) { Find<QLineEdit>(d, "fileName")->clear(); },
         "Prints go to a PDF file.",
         {},
         false,
         Choice{"", "", kLetter, QPageLayout::Landscape}},
        {"a printer that has gone: the first one instead, with the paper chosen",
         kPrinters,
         Choice{"Gone", "", kA4},
         [](QWidget*) {},
         "Ready",
         {kA4, kLetter},
         true,
         {"Office", "", kA4}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        PrintSetupDialog dialog(row.printers, row.current);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        EXPECT_EQ(dialog.windowTitle(), "Print Setup");
        row.change(&dialog);
        EXPECT_EQ(Find<QLabel>(&dialog, "status")->text().toStdString(), row.status);
        EXPECT_EQ(Find<QLineEdit>(&dialog, "fileName")->isEnabled(),
                  row.shown.printerName.isEmpty());
        EXPECT_EQ(Find<QPushButton>(&dialog, "ok")->isEnabled(), row.canConfirm);
        EXPECT_TRUE(dialog.Choice() == row.shown);
        auto* paper = Find<QComboBox>(&dialog, "paperSize");
        for (std::size_t i = 0; i < row.paper.size(); ++i)
            EXPECT_EQ(paper->itemText(static_cast<int>(i)), row.paper[i].name());
        if (!row.paper.empty()) {
            EXPECT_EQ(paper->count(), static_cast<int>(row.paper.size()));
        }
    }
}

} // namespace
