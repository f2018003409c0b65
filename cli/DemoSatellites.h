#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QStringList>

// The demo's satellites: the space station, low-earth amateur satellites,
// two weather satellites, a Molniya orbit and a geostationary one, written
// as an element file. Element sets age (a set from years ago gives useless
// positions today), so each is written with an epoch of midnight UTC on the
// given day, from its orbit's published inclination, eccentricity and mean
// motion; where each stands on its orbit at the epoch is chosen so that they
// spread around the Earth rather than start together.
namespace DemoSatellites {

QByteArray elementFile(const QDateTime &now);
QStringList names();
// The ones the demo places on the host's map.
QStringList plotted();

} // namespace DemoSatellites
