#include "cli/DemoSatellites.h"

#include "orbiter/ElementSetWriter.h"

#include <cmath>

namespace {

struct DemoOrbit
{
    const char *name;
    const char *catalogue;
    const char *designator;
    double inclination;
    double eccentricity;
    double revsPerDay;
    double bstar;
    double raan;
    double argPerigee;
    double meanAnomaly;
    double stationLongitude;  // a geostationary satellite stays over this longitude
    bool plotted;
};

constexpr double kNotStationary = -999;

// Published shapes; node, perigee and anomaly ours, so that the arguments of
// latitude (perigee + anomaly) and the nodes differ from one to the next.
const DemoOrbit kOrbits[] = {
    {"ISS", "25544", "98067A", 51.64, 0.00045, 15.50, 2.5e-4, 120, 80, 10, kNotStationary, true},
    {"SO-50", "27607", "02058C", 64.555, 0.0076, 14.81, 1e-4, 210, 300, 200, kNotStationary, false},
    {"AO-07", "07530", "74089B", 101.99, 0.0012, 12.5365, 2e-4, 330, 150, 80, kNotStationary, false},
    {"FO-29", "24278", "96046B", 98.53, 0.035, 13.531, 1e-4, 60, 200, 120, kNotStationary, false},
    {"AO-91", "43017", "17073E", 97.68, 0.022, 14.78, 1.5e-4, 140, 100, 310, kNotStationary, false},
    {"RS-44", "44909", "19096E", 82.52, 0.0215, 12.797, 1e-4, 20, 40, 140, kNotStationary, false},
    {"AO-27", "22825", "93061C", 98.62, 0.0008, 14.30, 1e-4, 250, 110, 160, kNotStationary, false},
    {"IO-86", "40931", "15052B", 6.0, 0.0013, 14.77, 1e-4, 300, 260, 100, kNotStationary, false},
    {"NOAA-19", "33591", "09005A", 99.19, 0.0014, 14.1255, 1e-4, 170, 60, 55, kNotStationary, true},
    {"NOAA-18", "28654", "05018A", 98.88, 0.0014, 14.13, 1e-4, 95, 220, 335, kNotStationary, false},
    {"MOLNIYA 1-93", "28163", "04005A", 62.9, 0.72, 2.006, 1e-4, 330, 270, 180, kNotStationary, false},
    {"QO-100", "43700", "18090A", 0.02, 0.0002, 1.00272, 0, 80, 90, 0, 25.9, true},
};

// Greenwich sidereal angle in degrees at a moment given in seconds since 1970.
double siderealDegrees(double unixSeconds)
{
    const double daysSince2000 = unixSeconds / 86400.0 + 2440587.5 - 2451545.0;
    const double angle = std::fmod(280.46061837 + 360.98564736629 * daysSince2000, 360.0);
    return angle < 0 ? angle + 360 : angle;
}

} // namespace

namespace DemoSatellites {

QByteArray elementFile(const QDateTime &now)
{
    const QDate day = now.toUTC().date();
    const QDateTime epoch(day, QTime(0, 0), Qt::UTC);
    QByteArray text;
    for (const DemoOrbit &o : kOrbits) {
        orbiter::PublishedElements e;
        e.catalogue = o.catalogue;
        e.designator = o.designator;
        e.epochYear = day.year();
        e.epochDay = day.dayOfYear();
        e.inclination = o.inclination;
        e.eccentricity = o.eccentricity;
        e.revsPerDay = o.revsPerDay;
        e.bstar = o.bstar;
        e.raan = o.raan;
        e.argPerigee = o.argPerigee;
        e.meanAnomaly = o.meanAnomaly;
        if (o.stationLongitude != kNotStationary)
            e.meanAnomaly = o.stationLongitude + siderealDegrees(double(epoch.toSecsSinceEpoch())) - o.raan
                            - o.argPerigee;
        const auto [line1, line2] = orbiter::elementLines(e);
        text += QByteArray(o.name) + "\r\n" + QByteArray::fromStdString(line1) + "\r\n"
                + QByteArray::fromStdString(line2) + "\r\n";
    }
    return text;
}

QStringList names()
{
    QStringList list;
    for (const DemoOrbit &o : kOrbits)
        list << QLatin1String(o.name);
    return list;
}

QStringList plotted()
{
    QStringList list;
    for (const DemoOrbit &o : kOrbits)
        if (o.plotted)
            list << QLatin1String(o.name);
    return list;
}

} // namespace DemoSatellites
