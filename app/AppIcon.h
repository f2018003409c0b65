#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QPainterPath>

// The program's icon and the kestrel of the splash, drawn from one path so
// the window icon, the desktop menu's icons (PNG and SVG) and the splash
// show the same bird.
namespace AppIcon {

// A kestrel in flight, wings spanning -80..80, centred on the origin.
QPainterPath birdPath();
// The icon at one size: the bird on a sky-blue disc, antialiased.
QImage render(int size);
// The same icon as a scalable SVG document.
QByteArray svg();
// Window icon with the usual sizes.
QIcon icon();

} // namespace AppIcon
