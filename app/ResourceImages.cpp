#include "app/ResourceImages.h"

#include <QImage>

namespace {

constexpr QRgb kTransparentKey = qRgb(255, 0, 255);
constexpr int kButtonWidth = 16;
constexpr int kButtonHeight = 15;
constexpr int kButtonCount = 7;

QIcon IconFrom(const char* large, const char* small)
{
    QIcon icon;
    icon.addPixmap(ResourceImages::Load(large));
    icon.addPixmap(ResourceImages::Load(small));
    return icon;
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
    QImage image(QStringLiteral(":/palvane/") + QString::fromUtf8(name));
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
    return IconFrom("palvane32.bmp", "palvane16.bmp");
}

QIcon ResourceImages::DocumentIcon()
{
    return IconFrom("document32.bmp", "document16.bmp");
}

std::vector<QIcon> ResourceImages::ToolBarImages()
{
    const QPixmap strip = Load("toolbar.bmp");
    std::vector<QIcon> images;
    for (int i = 0; i < kButtonCount; ++i)
        images.emplace_back(strip.copy(i * kButtonWidth, 0, kButtonWidth, kButtonHeight));
    return images;
}

QPixmap ResourceImages::AboutPicture()
{
    return Load("about.bmp");
}
