// kestrel-tool latlon, grid, os2ll, callsign and minutes: the position
// fields of the options dialog, headless.
#include "cli/Commands.h"

#include "options/Callsign.h"
#include "options/NationalGrid.h"
#include "options/NumberText.h"
#include "options/PositionFormats.h"

namespace {

QString degrees(double value) { return QString::number(value, 'f', 8); }

bool number(const QString &text, double *out) { return NumberText::strictNumber(text, out); }

} // namespace

int runLatLon(const QStringList &args, bool json, QTextStream &out, QTextStream &err)
{
    QStringList rest = args;
    const bool lat = rest.removeAll(QStringLiteral("--lat")) > 0;
    const bool lon = rest.removeAll(QStringLiteral("--lon")) > 0;
    if (rest.size() != 1 || lat == lon) {
        err << "usage: kestrel-tool latlon TEXT --lat|--lon\n";
        return 2;
    }
    QString field = rest.first();
    QString partner;
    const QString result = strValidateLatLon(field, partner, lon);
    const bool grid = result == PositionCheck::Ok && !partner.isEmpty();
    const QString latitude = lon ? partner : field;
    const QString longitude = lon ? field : partner;
    if (json) {
        if (result != PositionCheck::Ok)
            out << "null\n";
        else if (grid)
            out << "{\"latitude\":" << jsonQuote(latitude) << ",\"longitude\":" << jsonQuote(longitude) << "}\n";
        else
            out << jsonQuote(field) << "\n";
    } else if (result != PositionCheck::Ok) {
        out << "invalid\n";
    } else if (grid) {
        out << latitude << '\t' << longitude << '\n';
    } else {
        out << field << '\n';
    }
    return 0;
}

int runGrid(const QStringList &args, bool json, QTextStream &out, QTextStream &err)
{
    if (args.size() != 1) {
        err << "usage: kestrel-tool grid REF\n";
        return 2;
    }
    QString reference = args.first();
    double northing = 0, easting = 0;
    if (!ParseGridReference(reference, &northing, &easting)) {
        out << (json ? "null\n" : "invalid\n");
        return 0;
    }
    double latitude = 0, longitude = 0;
    GridToLatLon(easting, northing, &latitude, &longitude);
    if (!allFinite({latitude, longitude}, "grid", err))
        return 1;
    if (json) {
        out << "{\"reference\":" << jsonQuote(reference) << ",\"easting\":" << QString::number(easting, 'f', 0)
            << ",\"northing\":" << QString::number(northing, 'f', 0) << ",\"latitude\":" << degrees(latitude)
            << ",\"longitude\":" << degrees(longitude) << "}\n";
    } else {
        out << "easting: " << QString::number(easting, 'f', 0) << "\nnorthing: " << QString::number(northing, 'f', 0)
            << "\nlatitude: " << degrees(latitude) << "\nlongitude: " << degrees(longitude) << "\n";
    }
    return 0;
}

int runOs2ll(const QStringList &args, bool json, QTextStream &out, QTextStream &err)
{
    double easting = 0, northing = 0;
    if (args.size() != 2 || !number(args[0], &easting) || !number(args[1], &northing)) {
        err << "usage: kestrel-tool os2ll EASTING NORTHING   (metres)\n";
        return 2;
    }
    double latitude = 0, longitude = 0;
    GridToLatLon(easting, northing, &latitude, &longitude);
    if (!allFinite({latitude, longitude}, "os2ll", err))
        return 1;
    if (json)
        out << "{\"latitude\":" << degrees(latitude) << ",\"longitude\":" << degrees(longitude) << "}\n";
    else
        out << degrees(latitude) << '\t' << degrees(longitude) << '\n';
    return 0;
}

int runCallsign(const QStringList &args, bool json, QTextStream &out, QTextStream &err)
{
    if (args.size() != 1) {
        err << "usage: kestrel-tool callsign CALL\n";
        return 2;
    }
    const bool valid = ValidateCallsign(args.first());
    if (json)
        out << (valid ? "true\n" : "false\n");
    else
        out << (valid ? "valid\n" : "invalid\n");
    return 0;
}

int runMinutes(const QStringList &args, bool, QTextStream &out, QTextStream &err)
{
    if (args.size() != 1) {
        err << "usage: kestrel-tool minutes TEXT\n";
        return 2;
    }
    // Single precision, shown to the digits it holds.
    const double minutes = sConvertPos(args.first());
    if (!allFinite({minutes}, "minutes", err))
        return 1;
    out << QString::number(minutes, 'g', 7) << '\n';
    return 0;
}
