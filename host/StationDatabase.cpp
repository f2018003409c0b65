#include "host/StationDatabase.h"

#include <QStringList>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

HostStationRecord StationDatabase::Entry::record() const
{
    HostStationRecord r;
    r.callsign = name;
    if (!line.isEmpty()) {
        const int payloadLength = int(line.size()) - payloadAt;
        r.header = line.left(payloadAt - 1) + QStringLiteral(" Port=1 <UI C Len=") + QString::number(payloadLength)
                   + QStringLiteral(">:");
        r.information = line.mid(payloadAt);
    }
    if (!symbolCode.isNull()) {
        r.symbolTable = symbolTable;
        r.symbolCode = symbolCode;
    }
    r.status = status;
    r.message = message;
    r.timeHeard = timeHeard;
    r.latitude = latitude;
    r.longitude = longitude;
    r.speed = speed;
    r.course = course;
    r.height = height;
    r.heardDirect = heardDirect;
    return r;
}

StationDatabase::Key StationDatabase::makeKey(const QString &name)
{
    Key key;
    if (name.size() > 15)
        return key;
    unsigned char bytes[16] = {};
    bytes[0] = static_cast<unsigned char>(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const ushort c = name[i].unicode();
        if (c > 0xFF)
            return key;
        bytes[i + 1] = static_cast<unsigned char>(c);
    }
    std::memcpy(key.packed, bytes, sizeof bytes);
    key.exact = true;
    return key;
}

bool StationDatabase::matches(const Entry &entry, const Key &key, const QString &name) const
{
    if (key.exact)
        return entry.key[0] == key.packed[0] && entry.key[1] == key.packed[1];
    return entry.name == name;
}

qsizetype StationDatabase::findSlot(const QString &name, quint32 hash) const
{
    return findSlot(name, makeKey(name), hash);
}

qsizetype StationDatabase::findSlot(const QString &name, const Key &key, quint32 hash) const
{
    if (m_slots.empty())
        return -1;
    const size_t mask = m_slots.size() - 1;
    const quint32 tag = hash >> 24;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot slot = m_slots[i];
        if (slot.empty())
            return -1;
        if (slot.tag() == tag && matches(m_entries[size_t(slot.index())], key, name))
            return qsizetype(i);
    }
}

void StationDatabase::prefetch(const QString &name) const
{
    if (m_slots.empty())
        return;
    const quint32 hash = quint32(qHash(name));
    const size_t mask = m_slots.size() - 1;
    for (size_t i = hash & mask; !m_slots[i].empty(); i = (i + 1) & mask)
        if (m_slots[i].tag() == hash >> 24) {
            const char *entry = reinterpret_cast<const char *>(&m_entries[size_t(m_slots[i].index())]);
            __builtin_prefetch(entry, 1);
            __builtin_prefetch(entry + 64, 1);
            return;
        }
}

void StationDatabase::grow()
{
    const size_t capacity = std::max<size_t>(64, m_slots.size() * 2);
    m_slots.assign(capacity, Slot{});
    const size_t mask = capacity - 1;
    for (size_t index = 0; index < m_entries.size(); ++index) {
        const quint32 hash = quint32(qHash(m_entries[index].name));
        size_t i = hash & mask;
        while (!m_slots[i].empty())
            i = (i + 1) & mask;
        m_slots[i] = Slot::make(int(index), hash);
    }
}

StationDatabase::Entry *StationDatabase::upsert(const QString &name)
{
    const quint32 hash = quint32(qHash(name));
    const Key key = makeKey(name);
    const qsizetype found = findSlot(name, key, hash);
    if (found >= 0)
        return &m_entries[size_t(m_slots[size_t(found)].index())];
    if (m_entries.size() >= std::min(m_capacity, MaxEntries) && !makeRoom())
        return nullptr;
    if ((m_entries.size() + 1) * 4 > m_slots.size() * 3)
        grow();
    const size_t mask = m_slots.size() - 1;
    size_t i = hash & mask;
    while (!m_slots[i].empty())
        i = (i + 1) & mask;
    m_slots[i] = Slot::make(int(m_entries.size()), hash);
    m_entries.emplace_back();
    m_entries.back().name = name;
    m_entries.back().key[0] = key.packed[0];
    m_entries.back().key[1] = key.packed[1];
    return &m_entries.back();
}

int StationDatabase::removeWhere(const std::function<bool(const Entry &)> &expired, const QSet<QString> &keep)
{
    QStringList doomed;
    for (const Entry &entry : m_entries)
        if (entry.name != m_ownName && !keep.contains(entry.name) && expired(entry))
            doomed.append(entry.name);
    for (const QString &name : doomed)
        remove(name);
    return int(doomed.size());
}

int StationDatabase::ageOut(qint64 cutoff)
{
    return removeWhere([cutoff](const Entry &entry) { return entry.heardAt < cutoff; }, m_keep);
}

bool StationDatabase::makeRoom()
{
    std::vector<qint64> times;
    times.reserve(m_entries.size());
    for (const Entry &entry : m_entries)
        if (entry.name != m_ownName)
            times.push_back(entry.heardAt);
    if (times.empty())
        return false;
    // The tenth heard longest ago; among equal times only as many as needed.
    const size_t tenth = times.size() / 10;
    std::nth_element(times.begin(), times.begin() + qsizetype(tenth), times.end());
    const qint64 threshold = times[tenth];
    size_t tiesLeft = tenth + 1 - size_t(std::count_if(times.begin(), times.end(),
                                                       [threshold](qint64 t) { return t < threshold; }));
    const auto oldest = [threshold, &tiesLeft](const Entry &entry) {
        if (entry.heardAt < threshold)
            return true;
        if (entry.heardAt == threshold && tiesLeft > 0) {
            --tiesLeft;
            return true;
        }
        return false;
    };
    return removeWhere(oldest, m_keep) > 0;
}

void StationDatabase::setCapacity(size_t records)
{
    m_capacity = std::clamp<size_t>(records, 1, MaxEntries);
}

const telemetry::Station *StationDatabase::telemetryOf(const QString &name) const
{
    const auto it = m_telemetry.constFind(name);
    return it == m_telemetry.constEnd() ? nullptr : &*it;
}

StationDatabase::Snapshot StationDatabase::snapshot() const
{
    Snapshot copy;
    copy.entries.assign(m_entries.begin(), m_entries.end());
    copy.telemetry = m_telemetry;
    return copy;
}

bool StationDatabase::restore(const Entry &entry)
{
    if (entry.name.isEmpty())
        return false;
    Entry *target = upsert(entry.name);
    if (!target)
        return false;
    const quint64 key[2] = {target->key[0], target->key[1]};
    *target = entry;
    target->key[0] = key[0];
    target->key[1] = key[1];
    ++m_generation;
    return true;
}

void StationDatabase::restoreTelemetry(const QString &name, const telemetry::Station &station)
{
    if (find(name))
        m_telemetry.insert(name, station);
}

const StationDatabase::Entry *StationDatabase::find(const QString &name) const
{
    const qsizetype slot = findSlot(name, quint32(qHash(name)));
    return slot < 0 ? nullptr : &m_entries[size_t(m_slots[size_t(slot)].index())];
}

bool StationDatabase::remove(const QString &name)
{
    const qsizetype hole = findSlot(name, quint32(qHash(name)));
    if (hole < 0)
        return false;
    const int index = m_slots[size_t(hole)].index();
    m_telemetry.remove(m_entries[size_t(index)].name);
    // Backward-shift deletion keeps every probe chain unbroken.
    const size_t mask = m_slots.size() - 1;
    size_t i = size_t(hole);
    for (size_t j = (i + 1) & mask; !m_slots[j].empty(); j = (j + 1) & mask) {
        const size_t home = quint32(qHash(m_entries[size_t(m_slots[j].index())].name)) & mask;
        const bool movable = (j > i) ? (home <= i || home > j) : (home <= i && home > j);
        if (movable) {
            m_slots[i] = m_slots[j];
            i = j;
        }
    }
    m_slots[i] = Slot{};

    const int last = int(m_entries.size()) - 1;
    if (index != last) {
        m_entries[size_t(index)] = std::move(m_entries[size_t(last)]);
        // The moved entry's slot still points at its old position.
        const quint32 hash = quint32(qHash(m_entries[size_t(index)].name));
        for (size_t k = hash & mask;; k = (k + 1) & mask)
            if (m_slots[k].index() == last) {
                m_slots[k] = Slot::make(index, hash);
                break;
            }
    }
    m_entries.pop_back();
    ++m_generation;
    return true;
}

void StationDatabase::clear()
{
    m_entries.clear();
    m_slots.clear();
    m_telemetry.clear();
    ++m_generation;
}

void StationDatabase::reserve(int count)
{
    m_entries.reserve(size_t(count));
    while (size_t(count) * 4 > m_slots.size() * 3)
        grow();
}

void StationDatabase::setOwnStation(const QString &callsign, double latitudeMinutes,
                                    double longitudeMinutes, QChar symbolTable, QChar symbolCode)
{
    if (callsign.isEmpty())
        return;
    m_ownName = callsign;
    Entry *own = upsert(callsign);
    if (!own)
        return;
    Entry &entry = *own;
    entry.latitude = float(latitudeMinutes);
    entry.longitude = float(longitudeMinutes);
    entry.symbolTable = symbolTable;
    entry.symbolCode = symbolCode;
    entry.heardDirect = true;
    entry.hasPosition = true;
    ++m_generation;
}

void StationDatabase::applyReport(Entry &entry, const AprsReport &report)
{
    if (report.hasPosition) {
        entry.latitude = float(report.latitude * 60.0);
        entry.longitude = float(report.longitude * 60.0);
        entry.hasPosition = true;
    }
    if (!report.symbolCode.isNull()) {
        entry.symbolTable = report.symbolTable;
        entry.symbolCode = report.symbolCode;
    }
    // The record describes the last position report: motion it does not
    // carry is gone, or a parked car would stay "Mobile" for good.
    entry.course = report.course >= 0 ? qint16(report.course) : HostStationRecord::NoCourse;
    entry.speed = report.speed >= 0 ? float(report.speed) : HostStationRecord::NoSpeed;
    entry.height = report.altitude != INT_MIN ? qint32(report.altitude) : HostStationRecord::NoHeight;
    entry.message = report.micEMessage;
}

void StationDatabase::applyTelemetry(const Tnc2Frame &frame, const AprsReport &report, const QString &timeText)
{
    if (report.kind == AprsReport::Kind::Telemetry) {
        telemetry::Report values;
        if (!telemetry::parseReport(frame.payload, &values))
            return;
        telemetry::Station &station = m_telemetry[frame.source];
        station.latest = values;
        station.hasReport = true;
        station.timeHeard = timeText;
        return;
    }
    // Definitions are messages a station addresses to itself (or to the
    // station it reports for, which must then be known here).
    if (report.addressee.isEmpty() || (report.addressee != frame.source && !find(report.addressee)))
        return;
    auto it = m_telemetry.find(report.addressee);
    telemetry::Definitions definitions = it == m_telemetry.end() ? telemetry::Definitions() : it->definitions;
    if (definitions.apply(report.messageText))
        m_telemetry[report.addressee].definitions = definitions;
}

StationDatabase::Result StationDatabase::applyFrame(const Tnc2Frame &frame, const QString &timeText,
                                                    qint64 heardAt)
{
    if (frame.text.isEmpty() && !frame.source.isEmpty()) {
        Tnc2Frame complete = frame;
        complete.rebuildText();
        return applyFrame(complete, timeText, heardAt, 0);
    }
    return applyFrame(frame, timeText, heardAt, 0);
}

StationDatabase::Result StationDatabase::applyFrame(const Tnc2Frame &frame, const QString &timeText,
                                                    qint64 heardAt, int depth)
{
    prefetch(frame.source);
    Result result;
    result.source = frame.source;
    result.report = decodeAprs(frame.destination, frame.payload);
    const AprsReport &report = result.report;
    const bool direct = frame.heardDirect();

    Entry *found = upsert(frame.source);
    if (!found) {
        result.dropped = true;
        return result;
    }
    Entry &source = *found;
    ++m_generation;
    ++source.frames;
    source.line = frame.text;
    source.payloadAt = frame.payloadAt;
    source.timeHeard = timeText;
    source.heardAt = heardAt;
    source.heardDirect = direct;

    switch (report.kind) {
    case AprsReport::Kind::Position:
    case AprsReport::Kind::MicE:
        if (report.hasPosition) {
            applyReport(source, report);
            result.positioned = frame.source;
        }
        // Telemetry in the comment is kept as a "T#" report would be.
        if (report.hasTelemetry) {
            telemetry::Station &station = m_telemetry[frame.source];
            station.latest = report.telemetry;
            station.hasReport = true;
            station.timeHeard = timeText;
        }
        break;
    case AprsReport::Kind::Status:
        source.status = report.status;
        if (report.hasPosition) {  // a locator status places the station
            applyReport(source, report);
            result.positioned = frame.source;
        }
        break;
    case AprsReport::Kind::PositionlessWeather:
        if (source.symbolCode.isNull()) {
            source.symbolTable = u'/';
            source.symbolCode = u'_';
        }
        break;
    case AprsReport::Kind::Telemetry:
    case AprsReport::Kind::Message:
        applyTelemetry(frame, report, timeText);
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
        Entry *placed = upsert(report.objectName);  // may move the source entry
        if (!placed)
            break;
        Entry &object = *placed;
        object.isObject = true;
        object.owner = frame.source;
        ++object.frames;
        object.line = frame.text;
        object.payloadAt = frame.payloadAt;
        object.timeHeard = timeText;
        object.heardAt = heardAt;
        object.heardDirect = direct;
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
                inner.rebuildText();
                Result innerResult = applyFrame(inner, timeText, heardAt, depth + 1);
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
    const double value = degrees * 60.0 + mins;
    // 9059.99N is past the pole.
    if (mins >= 60.0 || value > (longitude ? 180 : 90) * 60.0)
        return false;
    *minutes = hemisphere == negative[0] ? -value : value;
    return true;
}
