// kestrel-tool sat FILE NAME --at TIME --observer LAT,LON,HEIGHT_M: where a
// satellite is at a time, how an observer sees it, and its next pass.
#include "cli/Commands.h"

#include "cli/ElementLookup.h"
#include "orbiter/PassFinder.h"
#include "orbiter/SatelliteFix.h"

#include <QDateTime>

#include <cmath>
#include <numbers>

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;
constexpr double kWindow = 48 * 3600.0;

int usage(QTextStream &err)
{
    err << "usage: kestrel-tool sat FILE NAME --at \"YYYY-MM-DD HH:MM:SS\" --observer LAT,LON,HEIGHT_M\n";
    return 2;
}

QString utcText(double unixSeconds)
{
    return QDateTime::fromSecsSinceEpoch(std::llround(unixSeconds), Qt::UTC).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

int runSat(const QStringList &arguments, bool json, QTextStream &out, QTextStream &err)
{
    QStringList args = arguments;
    QString at, observer;
    for (const char *option : {"--at", "--observer"}) {
        const qsizetype i = args.indexOf(QLatin1String(option));
        if (i < 0 || i + 1 >= args.size())
            return usage(err);
        (option[2] == 'a' ? at : observer) = args[i + 1];
        args.remove(i, 2);
    }
    if (args.size() != 2)
        return usage(err);

    const QDateTime when = QDateTime::fromString(at, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!when.isValid()) {
        err << "sat: the time must read \"YYYY-MM-DD HH:MM:SS\" (UTC)\n";
        return 2;
    }
    const QStringList parts = observer.split(u',');
    double lat = 0, lon = 0, height = 0;
    bool ok = parts.size() == 3;
    if (ok) {
        bool a = false, b = false, c = false;
        lat = parts[0].trimmed().toDouble(&a);
        lon = parts[1].trimmed().toDouble(&b);
        height = parts[2].trimmed().toDouble(&c);
        ok = a && b && c && std::fabs(lat) <= 90 && std::fabs(lon) <= 360 && std::fabs(height) < 100000;
    }
    if (!ok) {
        err << "sat: the observer must read LAT,LON,HEIGHT_M (degrees north and east, metres)\n";
        return 2;
    }

    ElementLookup found = lookUpElements(args[0], args[1], "sat", err);
    if (found.status != 0)
        return found.status;
    const double t = double(QDateTime(when.date(), when.time(), Qt::UTC).toSecsSinceEpoch());
    const orbiter::Site site(orbiter::Geodetic{lat * kDeg, lon * kDeg, height / 1000.0});
    const orbiter::SatelliteFix fix = orbiter::fixAt(found.model, t, &site);
    if (fix.error != orbiter::Sgp4Error::None) {
        err << "sat: no position at that time: " << orbiter::sgp4ErrorText(fix.error) << " (error " << int(fix.error)
            << ")\n";
        return 1;
    }
    if (!allFinite({fix.subPoint.latitude, fix.subPoint.longitude, fix.subPoint.heightKm, fix.look.azimuth,
                    fix.look.elevation, fix.look.rangeKm},
                   "sat", err))
        return 1;
    orbiter::PassFinder finder(found.model, {site});
    const auto pass = finder.next(t, kWindow);

    auto number = [](double x, int decimals) { return QString::number(x, 'f', decimals); };
    const QList<QPair<QString, QString>> fields = {
        {QStringLiteral("latitude"), number(fix.subPoint.latitude / kDeg, 4)},
        {QStringLiteral("longitude"), number(fix.subPoint.longitude / kDeg, 4)},
        {QStringLiteral("altitude_km"), number(fix.subPoint.heightKm, 3)},
        {QStringLiteral("azimuth"), number(fix.look.azimuth / kDeg, 4)},
        {QStringLiteral("elevation"), number(fix.look.elevation / kDeg, 4)},
        {QStringLiteral("range_km"), number(fix.look.rangeKm, 3)},
        {QStringLiteral("aos"), pass ? utcText(pass->aos) : QString()},
        {QStringLiteral("max_elevation"), pass ? number(pass->maxElevation / kDeg, 4) : QString()},
        {QStringLiteral("los"), pass ? utcText(pass->los) : QString()},
    };
    if (json) {
        QStringList members;
        for (const auto &[name, value] : fields) {
            const bool text = name == QLatin1String("aos") || name == QLatin1String("los");
            members << jsonQuote(name) + u':'
                           + (value.isEmpty() ? QStringLiteral("null") : text ? jsonQuote(value) : value);
        }
        out << "{" << members.join(u',') << "}\n";
    } else {
        for (const auto &[name, value] : fields)
            out << name << ": " << (value.isEmpty() ? QStringLiteral("none") : value) << "\n";
    }
    return 0;
}
