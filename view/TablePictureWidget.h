#pragma once

#include <QImage>
#include <QWidget>

#include <optional>
#include <vector>

struct RgbPicture;

// Shows a picture of a table enlarged by the largest whole number that fits
// (at least 1), never smoothed, at the top left, with the numbers of some
// rows beside it on the left. Tells which pixel of the picture the pointer
// is over and which one is clicked.
class TablePictureWidget : public QWidget {
    Q_OBJECT

public:
    // `pictureSize`: the size of the pictures it shows, which lays it out
    // before the first one comes.
    explicit TablePictureWidget(QSize pictureSize, QWidget* parent = nullptr);

    void SetPicture(const QImage& picture);
    const QImage& Picture() const { return m_picture; }
    // The rows whose numbers are shown on the left.
    void SetRowLabels(std::vector<int> rows);

    // Where the picture is drawn, and how many pixels of the widget one of
    // its pixels takes each way.
    QRect PictureRect() const;
    int Scale() const;
    // The picture's pixel at a point of the widget, if there is one.
    std::optional<QPoint> PixelAt(const QPoint& point) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The picture's pixels of an RgbPicture.
    static QImage ToImage(const RgbPicture& picture);

signals:
    void PixelPointed(int x, int y);
    void PixelClicked(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int LabelWidth() const;
    int LabelMargin() const;

    QSize m_pictureSize;
    QImage m_picture;
    std::vector<int> m_rowLabels;
};
