#include "cli/Commands.h"

#include "zones/TimeZones.h"

#include <QDateTime>

namespace {

int usage(QTextStream &err)
{
    err << "kestrel-tool tz: expected 'list', 'dst ZONE \"YYYY-MM-DD HH:MM:SS\"' or "
           "'transition YEAR MONTH WEEKDAY N'\n";
    return 2;
}

bool toInt(const QString &text, int low, int high, int *out)
{
    bool ok = false;
    *out = text.toInt(&ok);
    return ok && *out >= low && *out <= high;
}

} // namespace

int runTz(const QStringList &args, bool json, QTextStream &out, QTextStream &err)
{
    if (args.isEmpty())
        return usage(err);
    const int year = QDate::currentDate().year();
    const QString sub = args.first();

    if (sub == QLatin1String("list") && args.size() == 1) {
        Timezone table;
        table.LoadTimeZones(Timezone::timeZonesKey(), year);
        if (json)
            out << "[";
        bool first = true;
        for (const TimeZoneRecord &zone : table.zones()) {
            if (json) {
                out << (first ? "" : ",") << "{\"standard_name\":" << jsonQuote(zone.standardName)
                    << ",\"display_name\":" << jsonQuote(zone.displayName) << ",\"bias\":" << zone.Bias
                    << ",\"daylight_bias\":" << zone.DaylightBias << "}";
            } else {
                out << zone.standardName << '\t' << zone.displayName << '\t' << zone.Bias << '\t'
                    << zone.DaylightBias << '\n';
            }
            first = false;
        }
        if (json)
            out << "]\n";
        return 0;
    }

    if (sub == QLatin1String("dst") && args.size() == 3) {
        const QDateTime at = QDateTime::fromString(args[2], QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!at.isValid()) {
            err << "kestrel-tool tz dst: the time must read \"YYYY-MM-DD HH:MM:SS\"\n";
            return 2;
        }
        const TimeZoneRecord zone = Timezone::ReadTimeZone(args[1].toLatin1(), at.date().year());
        if (zone.standardName.isEmpty()) {
            err << "kestrel-tool tz dst: unknown zone '" << args[1] << "'\n";
            return 2;
        }
        const bool dst = IsDaylightSaving(at, zone);
        out << (dst ? "true" : "false") << "\n";
        return 0;
    }

    if (sub == QLatin1String("transition") && args.size() == 5) {
        int y, month, weekday, n;
        if (!toInt(args[1], 1, 9999, &y) || !toInt(args[2], 1, 12, &month)
            || !toInt(args[3], 0, 6, &weekday) || !toInt(args[4], 1, 5, &n)) {
            err << "kestrel-tool tz transition: YEAR 1-9999, MONTH 1-12, WEEKDAY 0-6 (0 = Sunday), N 1-5\n";
            return 2;
        }
        const QDate date = TransitionDate(y, month, weekday, n);
        const QString text = date.toString(QStringLiteral("yyyy-MM-dd"));
        out << (json ? jsonQuote(text) : text) << "\n";
        return 0;
    }
    return usage(err);
}
