#include "app/CAboutDlg.h"

#include "app/ResourceImages.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

namespace {

// Dialog units: a quarter of the font's average letter width across, an
// eighth of its height down.
class DialogUnits {
public:
    explicit DialogUnits(const QFontMetrics& metrics)
        // The average of the 52 letters, rounded.
        : m_nBaseX((metrics.horizontalAdvance(
                        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                        26 +
                    1) /
                   2),
          m_nBaseY(metrics.height())
    {
    }

    QRect Rect(int x, int y, int w, int h) const
    {
        return {x * m_nBaseX / 4, y * m_nBaseY / 8, w * m_nBaseX / 4, h * m_nBaseY / 8};
    }

private:
    int m_nBaseX;
    int m_nBaseY;
};

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CAboutDlg"));
    setWindowTitle(QStringLiteral("About Palvane"));
    const DialogUnits units(fontMetrics());

    auto* icon = new QLabel(this);
    icon->setPixmap(ResourceImages::ApplicationIcon().pixmap(32, 32));
    icon->setGeometry(units.Rect(11, 17, 20, 20));

    auto* name = new QLabel(QStringLiteral("Palvane Version 1.1"), this);
    name->setObjectName(QStringLiteral("version"));
    name->setTextFormat(Qt::PlainText);
    name->setGeometry(units.Rect(40, 10, 119, 8));

    auto* notice = new QLabel(QStringLiteral("Colormap editor for Jedi Knight"), this);
    notice->setObjectName(QStringLiteral("notice"));
    notice->setTextFormat(Qt::PlainText);
    notice->setGeometry(units.Rect(40, 25, 119, 8));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    ok->setGeometry(units.Rect(181, 7, 47, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picture"));
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture->setLineWidth(2);
    picture->setAlignment(Qt::AlignCenter);
    picture->setPixmap(ResourceImages::AboutPicture());
    picture->setGeometry(units.Rect(181, 23, 47, 31));

    setFixedSize(units.Rect(0, 0, 235, 61).size());
    ok->setFocus();
}
