#include "host/StationFile.h"

#include "core/WholeFileWriter.h"
#include "host/aprs/Decimal.h"

#include <QFile>
#include <QVarLengthArray>

#include <charconv>
#include <cmath>

namespace {

const QByteArray kHeader = QByteArrayLiteral("KestrelHost stations 1");
constexpr qsizetype kMaxLine = 64 * 1024;  // far beyond any frame; longer is not ours
// Files written before the Mic-E message type was kept have one field less.
constexpr int kOlderStationFields = 16;
constexpr int kStationFields = 17;
constexpr int kTelemetryFields = 8;
constexpr float kMaxLatitude = 90 * 60;
constexpr float kMaxLongitude = 180 * 60;

void appendEscaped(QByteArray &out, const QByteArray &text)
{
    for (const char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
}

void appendText(QByteArray &out, const QString &text)
{
    out += '\t';
    appendEscaped(out, text.toUtf8());
}

template<typename Number>
void appendNumber(QByteArray &out, Number value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out += '\t';
    out.append(buffer, result.ptr - buffer);
}

// Shortest text that reads back as the same value.
QString numberText(double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

// The messages a station sends to describe its telemetry, rebuilt from what they set.
QString reportMessage(const telemetry::Station &station)
{
    if (!station.hasReport)
        return {};
    const telemetry::Report &r = station.latest;
    QString text = QStringLiteral("T#") + r.sequence;
    for (int i = 0; i < r.analogCount; ++i)
        text += u',' + numberText(r.analog[size_t(i)]);
    if (!r.bits.isEmpty())
        text += u',' + r.bits;
    return text;
}

QString listMessage(const char *kind, const std::array<QString, telemetry::AnalogChannels + telemetry::Bits> &items)
{
    return QLatin1String(kind) + QStringList(items.begin(), items.end()).join(u',');
}

QString equationsMessage(const telemetry::Definitions &d)
{
    QStringList numbers;
    for (const auto &channel : d.equations)
        for (const double value : channel)
            numbers << numberText(value);
    return QStringLiteral("EQNS.") + numbers.join(u',');
}

QByteArray unescape(QByteArrayView field, bool *ok)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        char c = field[i];
        if (c == '\\') {
            if (++i == field.size()) {
                *ok = false;
                return {};
            }
            switch (field[i]) {
            case '\\': c = '\\'; break;
            case 't': c = '\t'; break;
            case 'n': c = '\n'; break;
            case 'r': c = '\r'; break;
            default: *ok = false; return {};
            }
        }
        out += c;
    }
    return out;
}

// Reads the fields of one line, each checked as it is taken; the first
// failure sticks and the line is then skipped whole.
class FieldReader
{
public:
    FieldReader(QByteArrayView line, int expected, int fewest = -1)
    {
        for (qsizetype start = 0;;) {
            const qsizetype tab = line.indexOf('\t', start);
            m_fields.append(line.sliced(start, (tab < 0 ? line.size() : tab) - start));
            if (tab < 0)
                break;
            start = tab + 1;
        }
        m_ok = m_fields.size() == expected || m_fields.size() == fewest;
    }

    bool ok() const { return m_ok; }
    bool atEnd() const { return m_next >= m_fields.size(); }

    QString text()
    {
        if (!m_ok)
            return {};
        const QByteArray bytes = unescape(next(), &m_ok);
        return QString::fromUtf8(bytes);
    }

    template<typename Number>
    Number number(Number low, Number high)
    {
        if (!m_ok)
            return Number{};
        const QByteArrayView field = next();
        Number value{};
        const auto result = std::from_chars(field.data(), field.data() + field.size(), value);
        if (result.ec != std::errc() || result.ptr != field.data() + field.size() || !(value >= low && value <= high))
            m_ok = false;
        return m_ok ? value : Number{};
    }

    void skip() { next(); }

private:
    QByteArrayView next() { return m_next < m_fields.size() ? m_fields[m_next++] : QByteArrayView(); }

    QVarLengthArray<QByteArrayView, kStationFields> m_fields;
    qsizetype m_next = 0;
    bool m_ok = false;
};

bool readStation(QByteArrayView line, StationDatabase::Entry *entry)
{
    FieldReader f(line, kStationFields, kOlderStationFields);
    f.skip();
    entry->name = f.text();
    entry->heardAt = f.number<qint64>(0, std::numeric_limits<qint64>::max() / 2);
    entry->frames = f.number<quint32>(0, std::numeric_limits<quint32>::max());
    entry->latitude = f.number<float>(-kMaxLatitude, kMaxLatitude);
    entry->longitude = f.number<float>(-kMaxLongitude, kMaxLongitude);
    entry->speed = f.number<float>(HostStationRecord::NoSpeed, 1e6f);
    entry->course = f.number<qint16>(std::numeric_limits<qint16>::min(), 360);
    entry->height = f.number<qint32>(std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
    const QString symbol = f.text();
    const QString flags = f.text();
    entry->timeHeard = f.text();
    entry->owner = f.text();
    entry->status = f.text();
    entry->payloadAt = f.number<int>(0, int(kMaxLine));
    entry->line = f.text();
    if (!f.atEnd())
        entry->message = f.text().simplified().left(32);  // shown as it stands: keep it short
    if (!f.ok() || entry->name.isEmpty() || (symbol.size() != 0 && symbol.size() != 2)
        || entry->payloadAt > entry->line.size()
        || (entry->course != HostStationRecord::NoCourse && entry->course < 0))
        return false;
    // A record shown from its last frame needs the frame's payload to begin inside it.
    if (!entry->line.isEmpty() && entry->payloadAt < 1)
        return false;
    if (symbol.size() == 2) {
        entry->symbolTable = symbol[0];
        entry->symbolCode = symbol[1];
    }
    entry->heardDirect = flags.contains(u'd');
    entry->hasPosition = flags.contains(u'p');
    entry->isObject = flags.contains(u'o');
    return true;
}

bool readTelemetry(QByteArrayView line, QString *name, telemetry::Station *station)
{
    FieldReader f(line, kTelemetryFields);
    f.skip();
    *name = f.text();
    station->timeHeard = f.text();
    const QString report = f.text();
    QString definitions[4];
    for (QString &message : definitions)
        message = f.text();
    if (!f.ok() || name->isEmpty())
        return false;
    station->hasReport = !report.isEmpty() && telemetry::parseReport(report, &station->latest);
    for (const QString &message : definitions)
        station->definitions.apply(message);
    return true;
}

} // namespace

namespace StationFile {

QByteArray serialise(const StationDatabase::Snapshot &snapshot)
{
    QByteArray out;
    out.reserve(qsizetype(snapshot.entries.size()) * 160 + 64);
    out += kHeader;
    out += '\n';
    for (const StationDatabase::Entry &e : snapshot.entries) {
        out += 'S';
        appendText(out, e.name);
        appendNumber(out, e.heardAt);
        appendNumber(out, e.frames);
        appendNumber(out, e.latitude);
        appendNumber(out, e.longitude);
        appendNumber(out, e.speed);
        appendNumber(out, e.course);
        appendNumber(out, e.height);
        appendText(out, e.symbolCode.isNull() ? QString() : QString(e.symbolTable) + e.symbolCode);
        QString flags;
        if (e.heardDirect)
            flags += u'd';
        if (e.hasPosition)
            flags += u'p';
        if (e.isObject)
            flags += u'o';
        appendText(out, flags);
        appendText(out, e.timeHeard);
        appendText(out, e.owner);
        appendText(out, e.status);
        appendNumber(out, e.payloadAt);
        appendText(out, e.line);
        appendText(out, e.message);
        out += '\n';
    }
    for (auto it = snapshot.telemetry.cbegin(); it != snapshot.telemetry.cend(); ++it) {
        const telemetry::Definitions &d = it->definitions;
        out += 'T';
        appendText(out, it.key());
        appendText(out, it->timeHeard);
        appendText(out, reportMessage(*it));
        appendText(out, listMessage("PARM.", d.names));
        appendText(out, listMessage("UNIT.", d.units));
        appendText(out, equationsMessage(d));
        appendText(out, QStringLiteral("BITS.") + d.bitSense + u',' + d.project);
        out += '\n';
    }
    return out;
}

bool save(const QString &path, const StationDatabase::Snapshot &snapshot, QString *errorText)
{
    return WholeFileWriter::save(path, serialise(snapshot), errorText);
}

ReadResult read(QIODevice &device, StationDatabase &database, qint64 cutoff)
{
    ReadResult result;
    QByteArray line = device.readLine(kMaxLine);
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    if (line != kHeader)
        return result;
    result.recognised = true;
    while (!device.atEnd()) {
        line = device.readLine(kMaxLine);
        if (!line.endsWith('\n') && !device.atEnd()) {
            // Longer than any record: skip it to its end.
            ++result.skipped;
            while (!device.atEnd() && !device.readLine(kMaxLine).endsWith('\n')) {}
            continue;
        }
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        if (line.startsWith("S\t")) {
            StationDatabase::Entry entry;
            if (!readStation(line, &entry)) {
                ++result.skipped;
            } else if (entry.heardAt < cutoff && cutoff > 0) {
                ++result.expired;
            } else if (database.restore(entry)) {
                ++result.restored;
            } else {
                ++result.skipped;
            }
        } else if (line.startsWith("T\t")) {
            QString name;
            telemetry::Station station;
            if (readTelemetry(line, &name, &station))
                database.restoreTelemetry(name, station);
            else
                ++result.skipped;
        } else {
            ++result.skipped;
        }
    }
    return result;
}

ReadResult read(const QString &path, StationDatabase &database, qint64 cutoff)
{
    QFile file(path);
    if (!file.exists()) {
        ReadResult empty;
        empty.recognised = true;
        return empty;
    }
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return read(file, database, cutoff);
}

} // namespace StationFile
