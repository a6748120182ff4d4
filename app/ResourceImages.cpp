#include "app/ResourceImages.h"

#include <QBuffer>
#include <QFile>
#include <QImage>

#include <algorithm>
#include <iterator>

namespace {

constexpr QRgb kTransparentKey = qRgb(255, 0, 255);
constexpr int kButtonWidth = 16;
constexpr int kButtonHeight = 15;
constexpr int kButtonCount = 7;
// The sizes drawn as pixel art; the others are drawn smooth, each for its
// size.
constexpr int kPixelArtSizes[] = {16, 32};
constexpr int kDrawnSizes[] = {24, 48, 64, 128, 256};

const char* BaseName(ResourceImages::Icon icon)
{
    return icon == ResourceImages::Icon::application ? "palvane" : "document";
}

bool IsPixelArt(int size)
{
    return std::find(std::begin(kPixelArtSizes), std::end(kPixelArtSizes), size) !=
           std::end(kPixelArtSizes);
}

QString ResourcePath(const QString& name)
{
    return QStringLiteral(":/palvane/") + name;
}

QByteArray ReadResource(const QString& name)
{
    QFile file(ResourcePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString PictureName(ResourceImages::Icon icon, int size)
{
    return QStringLiteral("%1%2.%3")
        .arg(QLatin1String(BaseName(icon)))
        .arg(size)
        .arg(IsPixelArt(size) ? QStringLiteral("bmp") : QStringLiteral("png"));
}

QIcon IconWithEverySize(ResourceImages::Icon icon)
{
    QIcon result;
    for (const int size : kPixelArtSizes)
        result.addPixmap(ResourceImages::Load(PictureName(icon, size).toUtf8().constData()));
    for (const int size : kDrawnSizes)
        result.addFile(ResourcePath(PictureName(icon, size)), QSize(size, size));
    return result;
}

} // namespace

// The resources live in a static library, whose registration the linker
// would otherwise drop.
static void InitResources()
{
    Q_INIT_RESOURCE(palvane);
}

QImage ResourceImages::LoadImage(const char* name)
{
    InitResources();
    QImage image(ResourcePath(QString::fromUtf8(name)));
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (line[x] == kTransparentKey)
                line[x] = qRgba(0, 0, 0, 0);
    }
    return image;
}

QPixmap ResourceImages::Load(const char* name)
{
    return QPixmap::fromImage(LoadImage(name));
}

QIcon ResourceImages::ApplicationIcon()
{
    return IconWithEverySize(Icon::application);
}

QIcon ResourceImages::DocumentIcon()
{
    return IconWithEverySize(Icon::document);
}

QByteArray ResourceImages::IconPng(Icon icon, int size)
{
    const QString name = PictureName(icon, size);
    if (!IsPixelArt(size)) {
        InitResources();
        return ReadResource(name);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    LoadImage(name.toUtf8().constData()).save(&buffer, "PNG");
    return bytes;
}

QByteArray ResourceImages::IconSvg(Icon icon)
{
    InitResources();
    return ReadResource(QLatin1String(BaseName(icon)) + QStringLiteral(".svg"));
}

std::vector<QIcon> ResourceImages::ToolBarImages()
{
    const QPixmap strip = Load("toolbar.bmp");
    QPixmap sharp = Load("toolbar@2x.bmp");
    std::vector<QIcon> images;
    for (int i = 0; i < kButtonCount; ++i) {
        QIcon image(strip.copy(i * kButtonWidth, 0, kButtonWidth, kButtonHeight));
        QPixmap doubled = sharp.copy(i * kButtonWidth * 2, 0, kButtonWidth * 2, kButtonHeight * 2);
        doubled.setDevicePixelRatio(2);
        image.addPixmap(doubled);
        images.push_back(image);
    }
    return images;
}

QPixmap ResourceImages::AboutPicture()
{
    return Load("about.bmp");
}
