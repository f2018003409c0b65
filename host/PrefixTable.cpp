#include "host/PrefixTable.h"

#include "core/LineText.h"

#include <QFile>

namespace {
constexpr int MaxRange = 64;
}

bool parseDegrees(const QString &text, bool longitude, double *degrees)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    double sign = 1;
    const QChar last = t.back().toUpper();
    if (last == u'N' || last == u'S' || last == u'E' || last == u'W') {
        const bool letterIsLongitude = last == u'E' || last == u'W';
        if (letterIsLongitude != longitude)
            return false;
        if (last == u'S' || last == u'W')
            sign = -1;
        t.chop(1);
    }
    bool ok = false;
    const double value = t.trimmed().toDouble(&ok);
    if (!ok || std::abs(value) > (longitude ? 180.0 : 90.0))
        return false;
    *degrees = sign * value;
    return true;
}

QStringList PrefixTable::expand(const QString &entry)
{
    const qsizetype dash = entry.indexOf(u'-');
    if (dash < 0)
        return {entry};
    const QString first = entry.left(dash);
    QString second = entry.mid(dash + 1);
    if (second == QLatin1String("A0"))
        second = QStringLiteral("AO");
    if (first.isEmpty() || second.isEmpty())
        return {entry};
    const QString stem = first.left(first.size() - 1);
    int from = first.back().unicode();
    int to = second.back().unicode();
    if (to < from)
        std::swap(from, to);
    // Real ranges run over letters or digits; anything wider is a typing error.
    if (to - from > MaxRange)
        return {entry};
    QStringList result;
    for (int c = from; c <= to; ++c)
        result.append(stem + QChar(ushort(c)));
    return result;
}

bool PrefixTable::load(const QString &path, QString *errorText)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (errorText)
            *errorText = QStringLiteral("Cannot read the prefix file %1: %2").arg(path, file.errorString());
        return false;
    }
    // Bound what a stray huge file can cost.
    parse(decodeLines(file.read(4 * 1024 * 1024)).join(u'\n'));
    return true;
}

int PrefixTable::parse(const QString &text)
{
    int taken = 0;
    for (QStringView rawLine : QStringView(text).tokenize(u'\n')) {
        const QString line = rawLine.toString().trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        const QStringList fields = line.split(u':');
        if (fields.size() < 2 || fields[0].trimmed().isEmpty())
            continue;
        Country country;
        country.prefixes = fields[0].trimmed();
        country.name = fields[1].trimmed();
        double lat = 0, lon = 0;
        if (fields.size() >= 8 && parseDegrees(fields[6], false, &lat) && parseDegrees(fields[7], true, &lon)) {
            country.latitude = lat;
            country.longitude = lon;
            country.hasPosition = true;
        }
        const int index = int(m_countries.size());
        m_countries.push_back(country);
        ++taken;
        for (const QString &entry : country.prefixes.split(u',')) {
            const QString trimmed = entry.trimmed();
            if (trimmed.isEmpty() || trimmed.size() > 16)
                continue;
            for (const QString &prefix : expand(trimmed)) {
                const QString key = prefix.toUpper();
                if (key.isEmpty() || m_index.contains(key))
                    continue;  // the first line that claims a prefix keeps it
                m_index.insert(key, index);
                m_longest = std::max(m_longest, int(key.size()));
            }
        }
    }
    return taken;
}

const PrefixTable::Country *PrefixTable::lookUp(const QString &callsign) const
{
    const QString call = callsign.trimmed().toUpper();
    for (int n = std::min(int(call.size()), m_longest); n >= 1; --n) {
        auto it = m_index.constFind(call.left(n));
        if (it != m_index.constEnd())
            return &m_countries[size_t(*it)];
    }
    return nullptr;
}
