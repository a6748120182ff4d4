#include "framework/qt/DialogUnits.h"

#include <QFontMetrics>
#include <QString>

namespace {

// `value` * `numerator` / `denominator`, rounded to the nearest integer with
// halves away from zero.
int ScaleRounded(int value, int numerator, int denominator)
{
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

} // namespace

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    // The average width over both alphabets, rounded: the width of the 52
    // letters over 26 is twice the average, and (twice + 1) / 2 rounds it.
    const int alphabetWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_nBaseWidth = (alphabetWidth / 26 + 1) / 2;
    m_nBaseHeight = metrics.height();
}

QFont DialogUnits::TemplateFont()
{
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

Qt::WindowFlags DialogUnits::TemplateWindowFlags()
{
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
}

int DialogUnits::ToPixelsX(int units) const
{
    return ScaleRounded(units, m_nBaseWidth, 4);
}

int DialogUnits::ToPixelsY(int units) const
{
    return ScaleRounded(units, m_nBaseHeight, 8);
}

QSize DialogUnits::ToPixels(int width, int height) const
{
    return {ToPixelsX(width), ToPixelsY(height)};
}

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const
{
    return {QPoint(ToPixelsX(x), ToPixelsY(y)), ToPixels(width, height)};
}
