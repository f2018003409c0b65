// kestrel-tool sgp4 FILE NAME MINUTES...: the model's state vectors.
#include "cli/Commands.h"

#include "cli/ElementLookup.h"

#include <cmath>

namespace {
constexpr double kMostMinutes = 1e8;
} // namespace

int runSgp4(const QStringList &arguments, bool json, QTextStream &out, QTextStream &err)
{
    QStringList args = arguments;
    // The mode the published verification output was made in, on request.
    const bool improved = args.removeAll(QStringLiteral("--improved")) > 0;
    if (args.size() < 3) {
        err << "usage: kestrel-tool sgp4 [--improved] FILE NAME MINUTES...\n";
        return 2;
    }
    QList<double> minutes;
    for (qsizetype i = 2; i < args.size(); ++i) {
        bool ok = false;
        const double m = args[i].toDouble(&ok);
        // The resonance integrator walks from the epoch in half-day steps:
        // a few centuries is as far as anyone asks, and it stays quick.
        if (!ok || !std::isfinite(m) || std::fabs(m) > kMostMinutes) {
            err << "sgp4: \"" << args[i] << "\" is not a number of minutes within 190 years of the epoch\n";
            return 2;
        }
        minutes << m;
    }
    ElementLookup found = lookUpElements(args[0], args[1], "sgp4", err,
                                         improved ? orbiter::Sgp4Mode::Improved : orbiter::Sgp4Mode::Afspc);
    if (found.status != 0)
        return found.status;

    QStringList rows;
    for (double m : minutes) {
        orbiter::Vec3 r, v;
        const orbiter::Sgp4Error e = found.model.propagate(m, r, v);
        if (e == orbiter::Sgp4Error::None && !allFinite({r.x, r.y, r.z, v.x, v.y, v.z}, "sgp4", err))
            return 1;
        auto n = [](double x) { return QString::number(x, 'f', 8); };
        if (json) {
            if (e != orbiter::Sgp4Error::None)
                rows << QStringLiteral("{\"minutes\":%1,\"error\":%2}").arg(n(m)).arg(int(e));
            else
                rows << QStringLiteral("{\"minutes\":%1,\"x\":%2,\"y\":%3,\"z\":%4,\"vx\":%5,\"vy\":%6,\"vz\":%7}")
                            .arg(n(m), n(r.x), n(r.y), n(r.z), n(v.x), n(v.y), n(v.z));
        } else if (e != orbiter::Sgp4Error::None) {
            out << "error " << int(e) << "\n";
        } else {
            out << QStringList{n(m), n(r.x), n(r.y), n(r.z), n(v.x), n(v.y), n(v.z)}.join(u'\t') << "\n";
        }
    }
    if (json)
        out << "[" << rows.join(u',') << "]\n";
    return 0;
}
