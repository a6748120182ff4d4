#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>

// The painter of one drawing pass. On screen it draws into an off-screen
// image covering the target's clip box, at the target's device pixel ratio,
// and copies that to the target once when it goes out of scope, so the
// screen never shows a half-drawn grid. When printing it stands in for the
// printer's painter and draws on it directly.
class CMemDC {
public:
    CMemDC(QPainter* pTarget, bool printing, const QRect& clipBox);
    ~CMemDC();

    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    bool IsPrinting() const { return m_bPrinting; }
    QPainter& operator*() { return *m_pDC; }
    QPainter* operator->() { return m_pDC; }

    // Whether RepeatRow can copy rows within `area`: the pass draws off
    // screen, the off-screen image holds all of `area`, and every logical
    // pixel row is a whole number of device rows.
    bool CanRepeatRows(const QRect& area) const;
    // Copies pixel row `row` over the rows from `first` up to `last`, in the
    // painter's coordinates. Only where CanRepeatRows holds.
    void RepeatRow(int row, int first, int last);

private:
    QImage m_bitmap;
    QPainter m_memPainter;
    QPainter* m_pTarget;
    QPainter* m_pDC;
    QRect m_rect;
    bool m_bPrinting;
    bool m_bMemDC; // drawing goes through the off-screen image
};
