#pragma once

#include <QString>

class HostApplication;
class HostMap;
struct HomeStation;
struct HostStationRecord;

// Drawing on the host's map: station paths, PHG/RNG coverage circles and the
// DX line. Nothing is kept on our side; the host redraws wipe it.
namespace MapColour {
inline constexpr qint32 Blue = 0xFF0000;  // 0x00BBGGRR
inline constexpr qint32 Green = 0x00FF00;
inline constexpr qint32 Red = 0x0000FF;
} // namespace MapColour

struct PhgRngCircle
{
    enum Kind { None, Phg, Rng };
    Kind kind = None;
    double radiusKm = 0;
};

// The circle an information text gives: "PHGphgd" (power, height, gain) or
// "RNGrrrr" (miles). A text with neither, or with a non-digit among the four
// characters, gives none.
PhgRngCircle phgRngCircle(const QString &information);

// Draws the station's circle, if its information text gives one.
void PlotPHGRNG(HostMap &map, const HostStationRecord &station);

// Draws the path of one row: from the observer through every hop the host
// knows (nearest to the observer first) to the station. A "TCPIP" hop turns
// the colour green for the rest of the way. Returns the number of lines drawn.
int plotPathOnMap(HostApplication &host, const HomeStation &observer, const QString &callsign,
                  const QString &pathCell, const QString &directCell);

// The DX station named in the home station's status text, to draw a line to.
struct DxTarget
{
    QString callsign;
    double latitude = 0;   // minutes
    double longitude = 0;  // minutes
};
DxTarget &dxTarget();

// The red line from the observer to the DX station.
void plotDxLine(HostMap &map, const HomeStation &observer, const DxTarget &target);
