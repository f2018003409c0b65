#include "dx/PrefixDatabase.h"

namespace PrefixFile {

LineKind parseLine(const QString &line, PrefixLine *out)
{
    if (line.isEmpty() || line.startsWith(u';'))
        return LineKind::Skipped;
    QStringList fields = line.split(u':');
    if (fields.size() < PrefixLine::Columns - 1)
        return LineKind::Malformed;
    fields.resize(PrefixLine::Columns);
    for (QString &field : fields)
        field = field.trimmed();
    if (line.count(u':') < PrefixLine::Columns - 1)
        fields[PrefixLine::Columns - 1] = MissingLongitude;
    out->fields = fields;
    return LineKind::Data;
}

QStringList BuildPrefix(const QString &entry)
{
    if (entry.isEmpty())
        return {QString()};
    const qsizetype dash = entry.indexOf(u'-');
    if (dash < 0)
        return {entry};
    const QString first = entry.first(dash);
    QString second = entry.sliced(dash + 1);
    if (second == QLatin1String("A0"))
        second = QStringLiteral("AO");
    if (first.isEmpty() || second.isEmpty())
        return {entry};
    const QString stem = first.chopped(1);
    ushort from = first.back().unicode();
    ushort to = second.back().unicode();
    if (to < from)
        std::swap(from, to);
    if (to - from >= MaxRange)
        return {entry};
    QStringList prefixes;
    prefixes.reserve(to - from + 1);
    for (int code = from; code <= to; ++code)
        prefixes.append(stem + QChar(ushort(code)));
    return prefixes;
}

} // namespace PrefixFile

bool PrefixIndex::add(const PrefixLine &line)
{
    for (const QString &part : line.prefixes().split(u',')) {
        for (const QString &prefix : PrefixFile::BuildPrefix(part.trimmed())) {
            if (prefix.isEmpty())
                continue;
            if (m_index.size() >= Capacity)
                return false;
            const QString key = prefix.toUpper();
            if (m_index.contains(key))
                continue;
            m_index.insert(key, DxCountries{prefix, line.country(), line.prefixes()});
            m_longest = std::max(m_longest, int(key.size()));
        }
    }
    return true;
}

const DxCountries *PrefixIndex::lookUp(const QString &callsign) const
{
    const QString upper = callsign.toUpper();
    for (qsizetype n = std::min<qsizetype>(upper.size(), m_longest); n >= 1; --n) {
        const auto it = m_index.constFind(upper.first(n));
        if (it != m_index.constEnd())
            return &it.value();
    }
    return nullptr;
}

const DxCountries *PrefixIndex::find(const QString &prefix) const
{
    const auto it = m_index.constFind(prefix.toUpper());
    return it == m_index.constEnd() ? nullptr : &it.value();
}

void PrefixIndex::clear()
{
    m_index.clear();
    m_longest = 0;
}
