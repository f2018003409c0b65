// kestrel-tool phg TEXT: the coverage circle an information text gives.
#include "cli/Commands.h"

#include "stations/MapPlotting.h"

int runPhg(const QStringList &args, bool json, QTextStream &out, QTextStream &err)
{
    if (args.size() != 1) {
        err << "usage: kestrel-tool phg TEXT\n";
        return 2;
    }
    const PhgRngCircle circle = phgRngCircle(args.first());
    if (circle.kind == PhgRngCircle::None) {
        out << (json ? "null\n" : "none\n");
        return 0;
    }
    const QString kind = circle.kind == PhgRngCircle::Phg ? QStringLiteral("PHG") : QStringLiteral("RNG");
    const QString radius = QString::number(circle.radiusKm, 'f', 4);
    if (json)
        out << "{\"kind\":\"" << kind << "\",\"radius_km\":" << radius << "}\n";
    else
        out << kind << " " << radius << "\n";
    return 0;
}
