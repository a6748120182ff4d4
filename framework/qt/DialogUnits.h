#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

class QString;

// Lays out a dialog from its template, whose positions and sizes are in
// dialog units: a horizontal unit is a quarter of the dialog font's average
// character width, a vertical unit an eighth of the font's height. The
// conversion rounds as the templates' own platform does, so a template laid
// out with one font keeps its proportions with another.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    // The font a template names, at `points`; a font of that family that is
    // not installed falls back to a sans-serif one.
    static QFont TemplateFont(const QString& family, int points);

    // The average character width and the height of the font, in pixels.
    int BaseWidth() const { return m_nBaseWidth; }
    int BaseHeight() const { return m_nBaseHeight; }

    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    QSize ToPixels(int width, int height) const;
    QRect ToPixels(int x, int y, int width, int height) const;

private:
    int m_nBaseWidth;
    int m_nBaseHeight;
};
