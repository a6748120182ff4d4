#pragma once

#include <QPainter>
#include <QPixmap>
#include <QRect>

// The painter of one drawing pass. On screen it draws into an off-screen
// pixmap covering the target's clip box, at the target's device pixel ratio,
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

private:
    QPixmap m_bitmap;
    QPainter m_memPainter;
    QPainter* m_pTarget;
    QPainter* m_pDC;
    QRect m_rect;
    bool m_bPrinting;
    bool m_bMemDC; // drawing goes through the pixmap
};
