// kestrel-tool logdetails FILE: when a monitor log begins and ends, and who was heard in it.
#include "cli/Commands.h"

#include "hostlogs/LogDetails.h"

int runLogDetails(const QStringList &args, bool json, QTextStream &out, QTextStream &err)
{
    if (args.size() != 1) {
        err << "usage: kestrel-tool logdetails FILE\n";
        return 2;
    }
    LogDetails::Summary summary;
    QString error;
    if (!LogDetails::examineFile(args.first(), &summary, &error)) {
        err << "logdetails: cannot read " << args.first() << ": " << error << "\n";
        return 1;
    }
    if (json) {
        if (!summary.valid) {
            out << "{\"valid\":false}\n";
            return 0;
        }
        QStringList stations;
        for (const LogDetails::Station &station : summary.stations)
            stations << QStringLiteral("{\"callsign\":%1,\"count\":%2}").arg(jsonQuote(station.callsign)).arg(station.count);
        out << "{\"valid\":true,\"start\":" << jsonQuote(LogDetails::displayTime(summary.start))
            << ",\"end\":" << jsonQuote(LogDetails::displayTime(summary.end)) << ",\"stations\":["
            << stations.join(u',') << "]}\n";
        return 0;
    }
    if (!summary.valid) {
        out << "invalid\n";
        return 0;
    }
    out << "start: " << LogDetails::displayTime(summary.start) << "\n";
    out << "end: " << LogDetails::displayTime(summary.end) << "\n";
    for (const LogDetails::Station &station : summary.stations)
        out << station.callsign << '\t' << station.count << "\n";
    return 0;
}
