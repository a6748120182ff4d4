#include "view/TablePictureWidget.h"

#include "document/TablePictures.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

TablePictureWidget::TablePictureWidget(QSize pictureSize, QWidget* parent)
    : QWidget(parent), m_pictureSize(pictureSize)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TablePictureWidget::SetPicture(const QImage& picture)
{
    m_picture = picture;
    update();
}

void TablePictureWidget::SetRowLabels(std::vector<int> rows)
{
    m_rowLabels = std::move(rows);
    updateGeometry();
    update();
}

int TablePictureWidget::LabelWidth() const
{
    return m_rowLabels.empty() ? 0 : fontMetrics().horizontalAdvance(QStringLiteral("63")) + 6;
}

int TablePictureWidget::LabelMargin() const
{
    // Room above and below for the labels of the first and the last row.
    return m_rowLabels.empty() ? 0 : fontMetrics().height() / 2;
}

int TablePictureWidget::Scale() const
{
    const int width = (this->width() - LabelWidth()) / m_pictureSize.width();
    const int height = (this->height() - 2 * LabelMargin()) / m_pictureSize.height();
    return std::max(1, std::min(width, height));
}

QRect TablePictureWidget::PictureRect() const
{
    const int scale = Scale();
    return QRect(LabelWidth(), LabelMargin(), m_pictureSize.width() * scale,
                 m_pictureSize.height() * scale);
}

std::optional<QPoint> TablePictureWidget::PixelAt(const QPoint& point) const
{
    const QRect area = PictureRect();
    if (!area.contains(point))
        return std::nullopt;
    const int scale = Scale();
    return QPoint((point.x() - area.x()) / scale, (point.y() - area.y()) / scale);
}

QSize TablePictureWidget::sizeHint() const
{
    return minimumSizeHint();
}

QSize TablePictureWidget::minimumSizeHint() const
{
    // A picture of few pixels (the grid) is enlarged to cells that can be
    // told apart and pointed at.
    const int scale = m_pictureSize.width() < 64 ? 10 : 1;
    return QSize(LabelWidth() + m_pictureSize.width() * scale,
                 2 * LabelMargin() + m_pictureSize.height() * scale);
}

QImage TablePictureWidget::ToImage(const RgbPicture& picture)
{
    QImage image(picture.width, picture.height, QImage::Format_RGB888);
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * 3;
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(image.scanLine(y), picture.rgb.data() + y * rowBytes, rowBytes);
    return image;
}

void TablePictureWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const QRect area = PictureRect();
    if (!m_picture.isNull())
        painter.drawImage(area, m_picture); // whole multiples, without smoothing
    const int scale = Scale();
    const int labelWidth = LabelWidth();
    const int textHeight = fontMetrics().height();
    painter.setPen(palette().color(QPalette::WindowText));
    for (const int row : m_rowLabels) {
        const int middle = area.y() + row * scale + scale / 2;
        painter.drawText(QRect(0, middle - textHeight / 2, labelWidth - 4, textHeight),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(row));
    }
}

void TablePictureWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF position = event->position();
    const QPoint point(static_cast<int>(std::floor(position.x())),
                       static_cast<int>(std::floor(position.y())));
    if (const std::optional<QPoint> pixel = PixelAt(point))
        emit PixelPointed(pixel->x(), pixel->y());
}

void TablePictureWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPointF position = event->position();
    const QPoint point(static_cast<int>(std::floor(position.x())),
                       static_cast<int>(std::floor(position.y())));
    if (const std::optional<QPoint> pixel = PixelAt(point))
        emit PixelClicked(pixel->x(), pixel->y());
}
