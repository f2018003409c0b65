// kestrel-tool: headless access to Kestrel's decoders, file readers and calculators.
#include "cli/Commands.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonArray>

#include <cmath>
#include <cstdio>

namespace {

const CliCommand kCommands[] = {
    {"band", "band FREQ [--file BandDetails.txt]   (the band a frequency in kHz is filed under, or Other)", runBand},
    {"callsign", "callsign CALL (valid or invalid for the auto-record list)", runCallsign},
    {"decode", "decode LINE   (the host station record one TNC2 line SRC>DST,PATH:payload produces)\n"
               "  decode -      (the same for every line of standard input, one record a line)", runDecode},
    {"dxlist", "dxlist FILE   (the spots of a saved DX list, its twelve fields separated by TAB)", runDxList},
    {"frame", "frame < TEXT   (one monitored frame on standard input)", runFrame},
    {"grid", "grid REF      (a National Grid reference: easting, northing, latitude, longitude)", runGrid},
    {"install-demo", "install-demo [--at \"YYYY-MM-DD HH:MM:SS\"]   (sets up the demo host folder, its weather history,\n"
                     "                element sets and options for this user; never overwrites a file it did not write)",
     runInstallDemo},
    {"kel", "kel FILE      (the rows a station list file loads into, cells separated by TAB)", runKel},
    {"latlon", "latlon TEXT --lat|--lon   (a position field after checking; invalid, or two texts for a grid reference)", runLatLon},
    {"minutes", "minutes TEXT  (a position text as signed minutes of arc)", runMinutes},
    {"os2ll", "os2ll EASTING NORTHING   (National Grid metres to latitude and longitude in degrees)", runOs2ll},
    {"keps", "keps FILE     (the element sets of an element file: index, name, epoch UTC)", runKeps},
    {"phg", "phg TEXT      (the PHG or RNG circle an information text gives, radius in km)", runPhg},
    {"prefix", "prefix CALL --file prefix.txt   (matched prefix, country and the line's prefix list, or none)", runPrefix},
    {"sat", "sat FILE NAME --at \"YYYY-MM-DD HH:MM:SS\" --observer LAT,LON,HEIGHT_M   (position, look angles, next pass)", runSat},
    {"sgp4", "sgp4 [--improved] FILE NAME MINUTES...   (TEME state vectors, km and km/s)", runSgp4},
    {"wx", "wx REPORT     (the readings of one weather report, -9999 for absent ones)", runWx},
    {"wxfile", "wxfile FILE [DAY]   (the days of a weather data file, or each report of one day)", runWxFile},
    {"logdetails", "logdetails FILE (start and end of a monitor log, then callsign TAB times heard)", runLogDetails},
    {"stats", "stats FILE    (the bars of a statistics file: time TAB value TAB colour)", runStats},
    {"tz", "tz list | tz dst ZONE \"YYYY-MM-DD HH:MM:SS\" | tz transition YEAR MONTH WEEKDAY N", runTz},
};

void printHelp(QTextStream &out)
{
    out << "Usage: kestrel-tool [--json] COMMAND [ARGS...]\n\n"
           "Commands:\n";
    for (const CliCommand &command : kCommands)
        out << "  " << command.usage << "\n";
    out << "\nOptions:\n"
           "  --json     print one JSON value instead of plain text\n"
           "  --help     show this help\n"
           "  --version  show the version\n";
}

} // namespace

QString jsonQuote(const QString &text)
{
    const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

QString printable(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0))
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

bool allFinite(std::initializer_list<double> values, const char *command, QTextStream &err)
{
    for (const double value : values)
        if (!std::isfinite(value)) {
            err << command << ": the result is not a finite number\n";
            return false;
        }
    return true;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList args = app.arguments().mid(1);
    const bool json = args.removeAll(QStringLiteral("--json")) > 0;
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        printHelp(out);
        return args.isEmpty() ? 2 : 0;
    }
    if (args.first() == QLatin1String("--version")) {
        out << "kestrel-tool " << KESTREL_VERSION << "\n";
        return 0;
    }
    const QString name = args.takeFirst();
    for (const CliCommand &command : kCommands)
        if (name == QLatin1String(command.name))
            return command.run(args, json, out, err);
    err << "kestrel-tool: unknown command '" << name << "' (try --help)\n";
    return 2;
}
