#pragma once

#include <QImage>
#include <QSize>

// The Earth under the world and globe views: the day image, with the night
// image blended in beyond the terminator when night shading is on. Each is
// worked out again only when the size, the centre or the sun has moved.
namespace orbiter {

// Equirectangular, longitude -180 at the left, north at the top.
QImage worldBackground(QSize size, double sunLatitude, double sunLongitude, bool nightShading);
// An orthographic disc of that diameter centred on a place; transparent
// outside the disc.
QImage globeBackground(int diameter, double centreLatitude, double centreLongitude, double sunLatitude,
                       double sunLongitude, bool nightShading);

class EarthBackgrounds
{
public:
    const QImage &world(QSize size, double sunLatitude, double sunLongitude, bool nightShading);
    const QImage &globe(int diameter, double centreLatitude, double centreLongitude, double sunLatitude,
                        double sunLongitude, bool nightShading);

private:
    struct Key
    {
        QSize size;
        double a = 0, b = 0, c = 0, d = 0;
        bool shading = false;
        bool operator==(const Key &) const = default;
    };
    Key m_worldKey, m_globeKey;
    QImage m_world, m_globe;
};

} // namespace orbiter
