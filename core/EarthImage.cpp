#include "core/EarthImage.h"

#include <QHash>

namespace EarthImage {

QString folder()
{
    const QByteArray override = qgetenv("KESTREL_EARTH_DIR");
    return override.isEmpty() ? QStringLiteral("/usr/share/xplanet/images") : QString::fromLocal8Bit(override);
}

QImage image(Kind kind)
{
    // Keyed by folder as well, so a test that points elsewhere reads again.
    static QHash<QString, QImage> cache;
    const QString path = folder() + (kind == Kind::Day ? QStringLiteral("/earth.jpg") : QStringLiteral("/night.jpg"));
    auto it = cache.constFind(path);
    if (it != cache.constEnd())
        return *it;
    QImage loaded(path);
    if (!loaded.isNull())
        loaded = loaded.convertToFormat(QImage::Format_RGB32);
    cache.insert(path, loaded);
    return loaded;
}

QString missingNote()
{
    return QStringLiteral("No Earth image: install the xplanet-images package for the map background");
}

} // namespace EarthImage
