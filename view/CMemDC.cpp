#include "view/CMemDC.h"

#include <QPaintDevice>

#include <cmath>
#include <cstring>

CMemDC::CMemDC(QPainter* pTarget, bool printing, const QRect& clipBox)
    : m_pTarget(pTarget), m_pDC(pTarget), m_rect(clipBox), m_bPrinting(printing),
      m_bMemDC(!printing && !clipBox.isEmpty())
{
    if (!m_bMemDC)
        return;
    const qreal ratio = pTarget->device()->devicePixelRatio();
    m_bitmap = QImage(static_cast<int>(std::ceil(m_rect.width() * ratio)),
                      static_cast<int>(std::ceil(m_rect.height() * ratio)), QImage::Format_RGB32);
    m_bitmap.setDevicePixelRatio(ratio);
    m_memPainter.begin(&m_bitmap);
    // The image holds exactly the clip box, drawn in the target's
    // coordinates.
    m_memPainter.translate(-m_rect.topLeft());
    m_pDC = &m_memPainter;
}

CMemDC::~CMemDC()
{
    if (!m_bMemDC)
        return;
    m_memPainter.end();
    m_pTarget->drawImage(m_rect.topLeft(), m_bitmap);
}

bool CMemDC::CanRepeatRows(const QRect& area) const
{
    const qreal ratio = m_bitmap.devicePixelRatio();
    return m_bMemDC && m_rect.contains(area) && ratio == std::floor(ratio);
}

void CMemDC::RepeatRow(int row, int first, int last)
{
    const int ratio = static_cast<int>(m_bitmap.devicePixelRatio());
    const qsizetype rowBytes = m_bitmap.bytesPerLine();
    // The raster painter has already written everything drawn so far.
    uchar* const pixels = m_bitmap.bits();
    const uchar* const source = pixels + (row - m_rect.top()) * ratio * rowBytes;
    for (int y = (first - m_rect.top()) * ratio; y < (last - m_rect.top()) * ratio; ++y)
        std::memcpy(pixels + y * rowBytes, source, static_cast<std::size_t>(rowBytes));
}
