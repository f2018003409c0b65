#pragma once

#include <QImage>

// The Earth under the host map and the satellite views: NASA's day and night
// images (equirectangular, longitude -180 at the left edge, north at the
// top) as the xplanet-images package installs them. Each is read once and
// shared; a null image means the package is missing and the caller draws
// a plain graticule instead.
namespace EarthImage {

enum class Kind { Day, Night };

QImage image(Kind kind);
// Where the images are looked for; KESTREL_EARTH_DIR overrides it (tests).
QString folder();
// One line a view can show when the image is missing.
QString missingNote();

} // namespace EarthImage
