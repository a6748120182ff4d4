#include "view/CMemDC.h"

#include <QPaintDevice>

#include <cmath>

CMemDC::CMemDC(QPainter* pTarget, bool printing, const QRect& clipBox)
    : m_pTarget(pTarget), m_pDC(pTarget), m_rect(clipBox), m_bPrinting(printing),
      m_bMemDC(!printing && !clipBox.isEmpty())
{
    if (!m_bMemDC)
        return;
    const qreal ratio = pTarget->device()->devicePixelRatio();
    m_bitmap = QPixmap(static_cast<int>(std::ceil(m_rect.width() * ratio)),
                       static_cast<int>(std::ceil(m_rect.height() * ratio)));
    m_bitmap.setDevicePixelRatio(ratio);
    m_memPainter.begin(&m_bitmap);
    // The pixmap holds exactly the clip box, drawn in the target's
    // coordinates.
    m_memPainter.translate(-m_rect.topLeft());
    m_pDC = &m_memPainter;
}

CMemDC::~CMemDC()
{
    if (!m_bMemDC)
        return;
    m_memPainter.end();
    m_pTarget->drawPixmap(m_rect.topLeft(), m_bitmap);
}
