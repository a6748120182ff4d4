#include "app/CAboutDlg.h"
#include "framework/qt/DialogUnits.h"
#include "framework/qt/PrintSetupDialog.h"
#include "opt/SelectTextureDialog.h"

#include <QApplication>
#include <QFontInfo>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// The dialogs lay themselves out in their template's font, not the
// application's: here the application's is a large serif one.
TEST(TemplateFontTest, DialogsLayOutInTheTemplateFontWhateverTheApplicationFont)
{
    struct Row {
        const char* dialog;
        std::function<std::unique_ptr<QDialog>()> make;
        QSize size;
        QRect ok;
    };
    const Row rows[] = {
        {"About", [] { return std::make_unique<CAboutDlg>(); }, {235, 61}, {181, 7, 47, 14}},
        {"Select Texture",
         [] { return std::make_unique<SelectTextureDialog>(std::vector<std::string>{"a"}); },
         {200, 130},
         {143, 7, 50, 14}},
        {"Print Setup",
         [] {
             return std::make_unique<PrintSetupDialog>(std::vector<PrintSetupDialog::Printer>{},
                                                       std::nullopt);
         },
         {262, 124},
         {205, 7, 50, 14}},
    };
    const QFont applicationFont = QApplication::font();
    QApplication::setFont(QFont(QStringLiteral("Serif"), 20));

    // "MS Sans Serif" where it is installed, else the nearest sans-serif.
    const QFont font = DialogUnits::TemplateFont();
    const QFontInfo resolved(font);
    QFont sansSerif(QStringLiteral("Sans Serif"));
    sansSerif.setStyleHint(QFont::SansSerif);
    EXPECT_EQ(resolved.pointSize(), 8);
    EXPECT_TRUE(resolved.family() == "MS Sans Serif" ||
                resolved.family() == QFontInfo(sansSerif).family());

    const DialogUnits units(font);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.dialog);
        const std::unique_ptr<QDialog> dialog = row.make();
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        auto* ok = dialog->findChild<QPushButton*>();
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(QFontInfo(ok->font()).family(), resolved.family());
        EXPECT_EQ(QFontInfo(ok->font()).pointSize(), 8);
        EXPECT_EQ(dialog->size(), units.ToPixels(row.size.width(), row.size.height()));
        EXPECT_EQ(ok->geometry(),
                  units.ToPixels(row.ok.x(), row.ok.y(), row.ok.width(), row.ok.height()));
    }
    QApplication::setFont(applicationFont);
}

} // namespace
