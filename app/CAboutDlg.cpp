#include "app/CAboutDlg.h"

#include "app/ResourceImages.h"
#include "framework/qt/DialogUnits.h"

#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent, DialogUnits::TemplateWindowFlags())
{
    setObjectName(QStringLiteral("CAboutDlg"));
    setWindowTitle(QStringLiteral("About Palvane"));
    setFont(DialogUnits::TemplateFont());
    const DialogUnits units(font());

    auto* icon = new QLabel(this);
    icon->setPixmap(ResourceImages::ApplicationIcon().pixmap(32, 32));
    icon->setGeometry(units.ToPixels(11, 17, 20, 20));

    auto* name = new QLabel(QStringLiteral("Palvane Version 1.1"), this);
    name->setObjectName(QStringLiteral("version"));
    name->setTextFormat(Qt::PlainText);
    name->setGeometry(units.ToPixels(40, 10, 119, 8));

    auto* notice = new QLabel(QStringLiteral("Colormap editor for Jedi Knight"), this);
    notice->setObjectName(QStringLiteral("notice"));
    notice->setTextFormat(Qt::PlainText);
    notice->setGeometry(units.ToPixels(40, 25, 119, 8));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    ok->setGeometry(units.ToPixels(181, 7, 47, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picture"));
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture->setLineWidth(2);
    picture->setAlignment(Qt::AlignCenter);
    picture->setPixmap(ResourceImages::AboutPicture());
    picture->setGeometry(units.ToPixels(181, 23, 47, 31));

    setFixedSize(units.ToPixels(235, 61));
    ok->setFocus();
}
