#include "hostlogs/LogDetails.h"

#include "core/LineText.h"
#include "core/WallClock.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <limits>

namespace LogDetails {

namespace {

constexpr char kMarker = '\xFE';  // "þ" in the files' Latin-1
const QByteArray kStart = QByteArrayLiteral("START");

// "!" form: pad on the right; "@" form: pad on the left; longer values stay whole.
QString padRight(const QString &text, int width) { return text.leftJustified(width, u' '); }
QString padLeft(const QString &text, int width) { return text.rightJustified(width, u' '); }

// Bounded first and rest, as the view's own take exact lengths.
QByteArrayView leftOf(QByteArrayView text, qsizetype n) { return text.first(std::clamp<qsizetype>(n, 0, text.size())); }
QByteArrayView from(QByteArrayView text, qsizetype pos) { return text.sliced(std::clamp<qsizetype>(pos, 0, text.size())); }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The first ten characters read "####-##-##".
bool startsWithDate(QByteArrayView line)
{
    if (line.size() < 10)
        return false;
    for (int i = 0; i < 10; ++i) {
        const bool dash = i == 4 || i == 7;
        if (dash ? line[i] != '-' : !isDigit(line[i]))
            return false;
    }
    return true;
}

// The time stamp of a START line: the text before the marker, or its first 19 characters.
QByteArrayView stampOfStartLine(QByteArrayView line)
{
    const qsizetype marker = line.indexOf(kMarker);
    return marker >= 0 ? leftOf(line, marker) : leftOf(line, 19);
}

// Splits the text into lines at CR LF, a lone CR or a lone LF.
class Lines
{
public:
    explicit Lines(const QByteArray &bytes) : m_bytes(bytes) {}
    bool atEnd() const { return m_pos >= m_bytes.size(); }
    QByteArrayView next()
    {
        const char *data = m_bytes.constData();
        const qsizetype size = m_bytes.size();
        qsizetype end = m_pos;
        while (end < size && data[end] != '\r' && data[end] != '\n')
            ++end;
        const QByteArrayView line(data + m_pos, end - m_pos);
        m_pos = end;
        if (m_pos < size && data[m_pos] == '\r')
            ++m_pos;
        if (m_pos < size && data[m_pos] == '\n')
            ++m_pos;
        return line;
    }

private:
    const QByteArray &m_bytes;
    qsizetype m_pos = 0;
};

} // namespace

Summary examine(const QByteArray &file)
{
    Summary summary;
    // A byte-order mark is no part of the first stamp.
    const QByteArray bytes = file.startsWith("\xEF\xBB\xBF") ? file.sliced(3) : file;
    Lines lines(bytes);
    QByteArrayView lastStart;
    bool sawStart = false;
    bool sawEntry = false;
    QByteArrayView line;
    while (!lines.atEnd()) {
        line = lines.next();
        if (!line.contains(kStart)) {
            sawEntry = true;
            break;
        }
        lastStart = line;
        sawStart = true;
    }
    if (!sawStart || !sawEntry)
        return summary;

    QByteArrayView latest = stampOfStartLine(lastStart);
    summary.start = decodeLine(latest);

    // Stations by their bytes, and by the name the list shows: bytes that
    // differ can read as one name (a byte-order mark, UTF-8 or Latin-1 "é").
    QHash<QByteArrayView, qsizetype> index;
    QHash<QString, qsizetype> byName;
    auto tally = [&](QByteArrayView entry) {
        if (!entry.contains('>'))
            return;
        // A time stamp ahead of the frame ("hh:mm:ss  SRC>...") is not part of the callsign.
        if (entry.size() >= 10 && entry[9] == ' ')
            entry = from(entry, 10);
        const qsizetype arrow = entry.indexOf('>');
        if (arrow <= 0)
            return;
        const QByteArrayView callsign = leftOf(entry, arrow);
        auto found = index.constFind(callsign);
        if (found == index.constEnd()) {
            const QString name = decodeLine(callsign);
            if (name.isEmpty())
                return;
            auto named = byName.constFind(name);
            if (named == byName.constEnd()) {
                named = byName.insert(name, summary.stations.size());
                summary.stations.append({name, 0});
            }
            found = index.insert(callsign, *named);
        }
        qint32 &count = summary.stations[*found].count;
        if (count < std::numeric_limits<qint32>::max())
            ++count;
    };
    for (;;) {
        const qsizetype marker = line.indexOf(kMarker);
        QByteArrayView stamp;
        QByteArrayView entry;
        if (marker >= 0) {
            stamp = leftOf(line, marker);
            entry = from(line, marker + 1);
        } else if (startsWithDate(line)) {
            stamp = leftOf(line, 19);
            entry = from(line, 20);
        }
        if (!stamp.isNull()) {
            if (stamp.compare(latest) > 0)
                latest = stamp;
            tally(entry);
        }
        if (lines.atEnd())
            break;
        line = lines.next();
    }
    summary.end = decodeLine(latest);
    summary.valid = true;
    return summary;
}

bool examineFile(const QString &path, Summary *summary, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    *summary = examine(file.readAll());
    return true;
}

QString displayTime(const QString &stamp)
{
    const QString text = stamp.trimmed();
    const QLocale c = QLocale::c();
    for (const char *form : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd H:mm:ss", "dd/MM/yyyy HH:mm:ss",
                             "yyyy-MM-dd HH:mm", "yyyy-MM-dd"}) {
        // Without a zone: a stamp in the hour a spring-forward skips is still a time.
        const QDateTime when = readWallClock(text, QLatin1String(form));
        if (when.isValid())
            return c.toString(when, QStringLiteral("dd-MMM-yyyy HH:mm:ss"));
    }
    return text;
}

QStringList stationLines(const QList<Station> &stations)
{
    QStringList lines;
    lines.reserve(stations.size() + 1);
    lines << padRight(QStringLiteral("Callsign"), 13) + padLeft(QStringLiteral("Hrd x"), 5);
    for (const Station &station : stations)
        lines << padRight(station.callsign, 13) + padLeft(QString::number(station.count), 4);
    return lines;
}

} // namespace LogDetails
