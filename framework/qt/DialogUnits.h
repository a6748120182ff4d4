#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

// Lays out a dialog from its template, whose positions and sizes are in
// dialog units: a horizontal unit is a quarter of the dialog font's average
// character width, a vertical unit an eighth of the font's height. The
// conversion rounds as the templates' own platform does, so a template laid
// out with one font keeps its proportions with another.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    // The font the editor's dialog templates name: 8-point "MS Sans Serif",
    // or where that is not installed the nearest sans-serif of that size.
    static QFont TemplateFont();
    // The frame the templates ask for: a pop-up window with a caption, a
    // system menu and a modal frame of fixed size.
    static Qt::WindowFlags TemplateWindowFlags();

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
