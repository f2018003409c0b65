#include "host/tiles/TileDecoder.h"

#include "host/map/MapProjection.h"

#include <QBuffer>
#include <QImageReader>

QImage TileDecoder::decode(const QByteArray &bytes)
{
    if (bytes.isEmpty() || bytes.size() > MaxBytes)
        return {};
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (format != "png" && format != "jpeg")
        return {};
    const QSize size = reader.size();
    if (size.width() != size.height() || size.width() < MinSide || size.width() > MaxSide)
        return {};
    QImage image;
    if (!reader.read(&image) || image.size() != size)
        return {};
    // Converted here, off the user-interface thread, so drawing is a copy.
    const int side = MapProjection::TileSize;
    if (image.size() != QSize(side, side))
        image = image.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}
