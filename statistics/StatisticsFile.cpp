#include "statistics/StatisticsFile.h"

#include "core/LineText.h"
#include "core/Utilities.h"
#include "core/WallClock.h"
#include "core/WholeFileWriter.h"

#include <QFile>
#include <QLocale>

#include <cmath>
#include <limits>

namespace StatisticsFile {

namespace {

const QDate kDayZero(1899, 12, 30);
// 1 January 100 and 31 December 9999, the dates the file's writers could hold.
constexpr double kFirstDay = -657434.0;
constexpr double kLastDay = 2958466.0;

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

} // namespace

QString folder() { return GetDataFolder() + QStringLiteral("/Statistics"); }

double toDayNumber(const QDateTime &t)
{
    const double days = double(kDayZero.daysTo(t.date()));
    const double fraction = t.time().msecsSinceStartOfDay() / 86400000.0;
    // Before day zero the whole part counts back while the fraction still
    // runs forward through the day: -1.25 is 29 December 1899, 06:00.
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime fromDayNumber(double x)
{
    if (!std::isfinite(x) || x < kFirstDay || x >= kLastDay)
        return {};
    const double whole = std::trunc(x);
    const double fraction = std::fabs(x - whole);
    qint64 seconds = std::llround(fraction * 86400.0);
    QDate date = kDayZero.addDays(qint64(whole));
    if (seconds >= 86400) {
        date = date.addDays(1);
        seconds -= 86400;
    }
    if (!date.isValid() || date.year() > 9999)
        return {};
    return wallClock(date, QTime::fromMSecsSinceStartOfDay(int(seconds * 1000)));
}

double leadingNumber(QStringView text, bool *found)
{
    QString number;
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && isBlank(text[i]))
            ++i;
    };
    auto digits = [&] {
        int count = 0;
        for (skipBlanks(); i < text.size() && text[i].isDigit() && text[i].unicode() < 128; skipBlanks()) {
            number += text[i++];
            ++count;
        }
        return count;
    };
    skipBlanks();
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        number += text[i++];
    int count = digits();
    if (i < text.size() && text[i] == u'.') {
        number += text[i++];
        count += digits();
    }
    if (found)
        *found = count > 0;
    if (count == 0)
        return 0.0;
    if (i < text.size() && (text[i].toLower() == u'e' || text[i].toLower() == u'd')) {
        QString exponent = QStringLiteral("e");
        qsizetype j = i + 1;
        while (j < text.size() && isBlank(text[j]))
            ++j;
        if (j < text.size() && (text[j] == u'-' || text[j] == u'+'))
            exponent += text[j++];
        qsizetype expDigits = 0;
        for (; j < text.size() && (text[j].isDigit() || isBlank(text[j])) && text[j].unicode() < 128; ++j)
            if (!isBlank(text[j])) {
                exponent += text[j];
                ++expDigits;
            }
        if (expDigits > 0)
            number += exponent;
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(number, &ok);
    if (ok)
        return value;
    // Only an exponent too large for a double fails here.
    return number.startsWith(u'-') ? -std::numeric_limits<double>::infinity()
                                   : std::numeric_limits<double>::infinity();
}

QByteArray textOf(const QList<StatisticsBar> &bars)
{
    QByteArray out;
    out.reserve(bars.size() * 24);
    for (const StatisticsBar &bar : bars) {
        out += QByteArray::number(toDayNumber(bar.time), 'g', 15);
        out += '|';
        out += QByteArray::number(bar.value);
        out += "\r\n";
    }
    return out;
}

void parse(const QByteArray &bytes, Loaded &into)
{
    for (const QString &text : decodeLines(bytes)) {
        const QStringView line(text);
        if (line.trimmed().isEmpty())
            continue;

        const qsizetype bar = line.indexOf(u'|');
        if (bar < 0) {
            ++into.skipped;
            continue;
        }
        bool found = false;
        const QDateTime t = fromDayNumber(leadingNumber(line.left(bar), &found));
        bool ok = false;
        const double v = QLocale::c().toDouble(line.mid(bar + 1).trimmed(), &ok);
        if (!found || !t.isValid() || !ok || !std::isfinite(v)
            || std::nearbyint(v) < double(std::numeric_limits<qint32>::min())
            || std::nearbyint(v) > double(std::numeric_limits<qint32>::max())) {
            ++into.skipped;
            continue;
        }
        into.series.AddStatisticsBar(t, qint32(std::nearbyint(v)));
    }
}

bool load(const QString &path, Loaded &into, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    parse(file.readAll(), into);
    return true;
}

bool save(const QString &path, const QList<StatisticsBar> &bars, QString *error)
{
    return WholeFileWriter::save(path, textOf(bars), error);
}

} // namespace StatisticsFile
