// kestrel-tool wx REPORT and wxfile FILE [DAY]: weather readings as the
// weather window decodes them.
#include "cli/Commands.h"

#include "weather/WxDataFile.h"
#include "weather/WxDecoder.h"

#include <QFileInfo>

#include <charconv>

namespace {

// The shortest text that reads back as the same single-precision value.
QString shortest(float value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

struct Field
{
    const char *name;
    QString text;
    bool isText = false;
};

QList<Field> fields(const WxReadings &r)
{
    return {{"direction", shortest(r.direction)},   {"speed", shortest(r.speed)},
            {"gust", shortest(r.gust)},             {"temperature", shortest(r.temperature)},
            {"humidity", shortest(r.humidity)},     {"rain", shortest(r.rain)},
            {"rain_label", r.rainLabel, true},      {"pressure", shortest(r.pressure)},
            {"dewpoint_c", shortest(r.dewPointC)},  {"windchill_c", shortest(r.windChillC)},
            {"dewpoint_f", shortest(r.dewPointF)},  {"windchill_f", shortest(r.windChillF)}};
}

QString jsonObject(const WxReadings &r)
{
    if (!r.hasWeather)
        return QStringLiteral("null");
    QStringList members;
    for (const Field &f : fields(r))
        members << jsonQuote(QLatin1String(f.name)) + u':' + (f.isText ? jsonQuote(f.text) : f.text);
    return u'{' + members.join(u',') + u'}';
}

QString tabbed(const WxReadings &r)
{
    if (!r.hasWeather)
        return QStringLiteral("none");
    QStringList cells;
    for (const Field &f : fields(r))
        cells << f.text;
    return cells.join(u'\t');
}

} // namespace

int runWx(const QStringList &args, bool json, QTextStream &out, QTextStream &err)
{
    if (args.size() != 1) {
        err << "usage: kestrel-tool wx REPORT\n";
        return 2;
    }
    const WxReadings r = decodeWxReport(args.first());
    if (json) {
        out << jsonObject(r) << "\n";
    } else if (!r.hasWeather) {
        out << "none\n";
    } else {
        for (const Field &f : fields(r))
            out << f.name << ": " << f.text << "\n";
    }
    return 0;
}

int runWxFile(const QStringList &args, bool json, QTextStream &out, QTextStream &err)
{
    if (args.isEmpty() || args.size() > 2) {
        err << "usage: kestrel-tool wxfile FILE [DAY]\n";
        return 2;
    }
    const QFileInfo info(args.first());
    if (!info.isFile() || !info.isReadable()) {
        err << "wxfile: cannot read " << args.first() << "\n";
        return 1;
    }
    const WxDataFile file(args.first());
    const QStringList days = file.days();
    if (args.size() == 1) {
        if (json) {
            QStringList quoted;
            for (const QString &day : days)
                quoted << jsonQuote(day);
            out << u'[' << quoted.join(u',') << "]\n";
        } else {
            for (const QString &day : days)
                out << day << "\n";
        }
        return 0;
    }
    const QString day = args.at(1);
    if (!days.contains(day, Qt::CaseInsensitive)) {
        err << "wxfile: " << args.first() << " holds no day " << day << "\n";
        return 1;
    }
    QStringList reports;
    for (const QString &value : file.dayValues(day)) {
        const WxData::StoredReport stored = WxData::splitValue(value);
        const WxReadings r = decodeWxReport(stored.report);
        const QString time = stored.timeOfDay.toString(QStringLiteral("HH:mm:ss"));
        if (json)
            reports << QStringLiteral("{\"time\":%1,\"readings\":%2}").arg(jsonQuote(time), jsonObject(r));
        else
            out << time << u'\t' << tabbed(r) << "\n";
    }
    if (json)
        out << "{\"day\":" << jsonQuote(day) << ",\"reports\":[" << reports.join(u',') << "]}\n";
    return 0;
}
