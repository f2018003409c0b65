#include "host/StationDatabase.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

qint16 clampToInt16(long value)
{
    return qint16(std::clamp<long>(value, -32767, 32767));
}

} // namespace

StationDatabase::Entry &StationDatabase::upsert(const QString &name)
{
    auto it = m_index.constFind(name);
    if (it != m_index.constEnd())
        return m_entries[size_t(*it)];
    m_index.insert(name, int(m_entries.size()));
    m_entries.emplace_back();
    Entry &entry = m_entries.back();
    entry.record.callsign = name;
    return entry;
}

const StationDatabase::Entry *StationDatabase::find(const QString &name) const
{
    auto it = m_index.constFind(name);
    return it == m_index.constEnd() ? nullptr : &m_entries[size_t(*it)];
}

bool StationDatabase::remove(const QString &name)
{
    auto it = m_index.find(name);
    if (it == m_index.end())
        return false;
    const int index = *it;
    m_index.erase(it);
    const int last = int(m_entries.size()) - 1;
    if (index != last) {
        m_entries[size_t(index)] = std::move(m_entries[size_t(last)]);
        m_index[m_entries[size_t(index)].record.callsign] = index;
    }
    m_entries.pop_back();
    ++m_generation;
    return true;
}

void StationDatabase::clear()
{
    m_entries.clear();
    m_index.clear();
    ++m_generation;
}

void StationDatabase::reserve(int count)
{
    m_entries.reserve(size_t(count));
    m_index.reserve(count);
}

void StationDatabase::setOwnStation(const QString &callsign, double latitudeMinutes,
                                    double longitudeMinutes, QChar symbolTable, QChar symbolCode)
{
    if (callsign.isEmpty())
        return;
    Entry &entry = upsert(callsign);
    entry.record.latitude = float(latitudeMinutes);
    entry.record.longitude = float(longitudeMinutes);
    entry.record.symbolTable = symbolTable;
    entry.record.symbolCode = symbolCode;
    entry.record.heardDirect = true;
    entry.hasPosition = true;
    entry.touched = ++m_generation;
}

void StationDatabase::applyReport(Entry &entry, const AprsReport &report)
{
    HostStationRecord &record = entry.record;
    if (report.hasPosition) {
        record.latitude = float(report.latitude * 60.0);
        record.longitude = float(report.longitude * 60.0);
        entry.hasPosition = true;
    }
    if (!report.symbolCode.isNull()) {
        record.symbolTable = report.symbolTable;
        record.symbolCode = report.symbolCode;
    }
    if (report.course >= 0)
        record.course = qint16(report.course);
    if (report.speed >= 0)
        record.speed = float(report.speed);
    if (report.altitude != INT_MIN)
        record.height = clampToInt16(report.altitude);
}

StationDatabase::Result StationDatabase::applyFrame(const Tnc2Frame &frame, const QString &timeText)
{
    return applyFrame(frame, timeText, 0);
}

StationDatabase::Result StationDatabase::applyFrame(const Tnc2Frame &frame, const QString &timeText,
                                                    int depth)
{
    Result result;
    result.source = frame.source;
    result.report = decodeAprs(frame.destination, frame.payload);
    const AprsReport &report = result.report;

    Entry &source = upsert(frame.source);
    const quint32 generation = ++m_generation;
    source.touched = generation;
    ++source.frames;
    HostStationRecord &record = source.record;
    record.header = frame.monitorHeader();
    record.information = frame.payload;
    record.timeHeard = timeText;
    record.heardDirect = frame.heardDirect();

    switch (report.kind) {
    case AprsReport::Kind::Position:
    case AprsReport::Kind::MicE:
        if (report.hasPosition) {
            applyReport(source, report);
            result.positioned = frame.source;
        }
        break;
    case AprsReport::Kind::Status:
        record.status = report.status;
        break;
    case AprsReport::Kind::PositionlessWeather:
        if (record.symbolCode.isEmpty()) {
            record.symbolTable = QStringLiteral("/");
            record.symbolCode = QStringLiteral("_");
        }
        break;
    case AprsReport::Kind::Object:
    case AprsReport::Kind::Item: {
        const Entry *existing = find(report.objectName);
        // A real station's record is never taken over by someone's object.
        if (existing && !existing->isObject)
            break;
        if (report.killed) {
            if (existing && existing->owner == frame.source)
                remove(report.objectName);
            break;
        }
        const QString header = record.header;
        const bool direct = record.heardDirect;
        Entry &object = upsert(report.objectName);  // may move the source entry
        object.isObject = true;
        object.owner = frame.source;
        object.touched = generation;
        ++object.frames;
        object.record.header = header;
        object.record.information = frame.payload;
        object.record.timeHeard = timeText;
        object.record.heardDirect = direct;
        applyReport(object, report);
        result.positioned = report.objectName;
        break;
    }
    case AprsReport::Kind::ThirdParty:
        if (depth == 0) {
            Tnc2Frame inner;
            if (parseTnc2(QStringView(frame.payload).mid(1), &inner)) {
                // The inner frame came through the sender, so it was not heard direct.
                inner.path.append(frame.source + u'*');
                Result innerResult = applyFrame(inner, timeText, depth + 1);
                result.positioned = innerResult.positioned;
            }
        }
        break;
    default:
        break;
    }
    return result;
}

bool parseIniPosition(const QString &text, bool longitude, double *minutes)
{
    const QString t = text.trimmed();
    const int degreeDigits = longitude ? 3 : 2;
    if (t.size() != degreeDigits + 6 || t[degreeDigits + 2] != u'.')
        return false;
    for (int i = 0; i < degreeDigits + 5; ++i)
        if (i != degreeDigits + 2 && !t[i].isDigit())
            return false;
    const QChar hemisphere = t.back().toUpper();
    const QString negative = longitude ? QStringLiteral("W") : QStringLiteral("S");
    const QString positive = longitude ? QStringLiteral("E") : QStringLiteral("N");
    if (hemisphere != negative[0] && hemisphere != positive[0])
        return false;
    const int degrees = t.left(degreeDigits).toInt();
    const double mins = t.mid(degreeDigits, 5).toDouble();
    if (mins >= 60.0 || degrees > (longitude ? 180 : 90))
        return false;
    const double value = degrees * 60.0 + mins;
    *minutes = hemisphere == negative[0] ? -value : value;
    return true;
}
