#include "palette_images/PaletteImageCodec.h"

#include "palette_images/GifColorTable.h"
#include "palette_images/ImagePaletteColors.h"
#include "palette_images/SwatchImage.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <cstring>

namespace palette_images {

namespace {

using palette_formats::PaletteRead;
using palette_formats::Recognition;

bool StartsWith(std::span<const std::uint8_t> bytes, std::string_view signature)
{
    return bytes.size() >= signature.size() &&
           std::memcmp(bytes.data(), signature.data(), signature.size()) == 0;
}

QByteArray Unowned(std::span<const std::uint8_t> bytes)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                   static_cast<qsizetype>(bytes.size()));
}

} // namespace

Recognition PaletteImageCodec::Recognize(std::span<const std::uint8_t> bytes) const
{
    using namespace std::string_view_literals;
    for (const std::string_view signature :
         {"\x89PNG\r\n\x1A\n"sv, "GIF87a"sv, "GIF89a"sv, "BM"sv, "\xFF\xD8\xFF"sv})
        if (StartsWith(bytes, signature))
            return Recognition::certain;
    return Recognition::none;
}

PaletteRead PaletteImageCodec::Read(std::span<const std::uint8_t> bytes) const
{
    QByteArray data = Unowned(bytes);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid() && std::int64_t(size.width()) * size.height() > kMaxPixels)
        return PaletteRead::Failure("the image is " + std::to_string(size.width()) + " x " +
                                    std::to_string(size.height()) +
                                    " pixels, more than 16 million");
    const QImage image = reader.read();
    if (image.isNull())
        return PaletteRead::Failure("the image cannot be decoded (" +
                                    reader.errorString().toStdString() + ")");
    if (std::int64_t(image.width()) * image.height() > kMaxPixels)
        return PaletteRead::Failure("the image has more than 16 million pixels");
    PaletteRead read;
    const auto gifTable =
        StartsWith(bytes, "GIF") ? GifColorTable(bytes) : std::optional<std::vector<ColorTriple>>();
    read.colors = gifTable ? *gifTable : ImagePaletteColors(image);
    read.count = read.colors.size();
    return read;
}

std::string PaletteImageCodec::Write(std::span<const ColorTriple> colors, std::string_view) const
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.write(SwatchImage(colors));
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

const palette_formats::PaletteCodec& SwatchImageCodec()
{
    static const PaletteImageCodec codec;
    return codec;
}

const palette_formats::CodecList& PaletteCodecsWithImages()
{
    static const palette_formats::CodecList codecs = [] {
        palette_formats::CodecList list = palette_formats::CorePaletteCodecs();
        list.push_back(&SwatchImageCodec());
        return list;
    }();
    return codecs;
}

} // namespace palette_images
