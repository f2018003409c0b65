#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// One expanded prefix and the country line that claims it.
struct DxCountries
{
    QString Prefix;      // one expanded prefix, for example ZS
    QString Country;     // the country name, field 2 of the line
    QString FullPrefix;  // the whole first field, for example ZR-ZU; names the prefix list row
};

// One data line of the host's prefix.txt:
//   prefixes:country:region:ITU zone:CQ zone:time zone:latitude:longitude
// Fields are trimmed; a line of seven fields has no longitude.
struct PrefixLine
{
    static constexpr int Columns = 8;
    QStringList fields;  // always Columns long, "???" for a missing longitude

    const QString &prefixes() const { return fields[0]; }
    const QString &country() const { return fields[1]; }
};

namespace PrefixFile {

inline const QString FileName = QStringLiteral("prefix.txt");
inline const QString MissingLongitude = QStringLiteral("???");
// Wider ranges than this are not real call sign series.
constexpr int MaxRange = 64;

enum class LineKind { Skipped, Data, Malformed };

// Empty lines and lines starting ";" are Skipped; a line of fewer than seven
// fields is Malformed.
LineKind parseLine(const QString &line, PrefixLine *out);

// Expands one entry of a prefix list: ZR-ZU gives ZR, ZS, ZT, ZU; KC6-KC4
// gives KC4, KC5, KC6; AM-A0 (a zero) reads as AM-AO. Only the last character
// of each end counts. An empty entry gives one empty prefix; a range with an
// empty end, or wider than MaxRange characters, gives the entry itself
// (which matches no callsign).
QStringList BuildPrefix(const QString &entry);

} // namespace PrefixFile

// Every expanded prefix to its country, letter case ignored. The first line
// that claims a prefix keeps it. A callsign is matched by its longest
// leading part that is a prefix, so looking one up costs at most as many hash
// probes as the longest prefix has characters, whatever the index holds.
class PrefixIndex
{
public:
    // Beyond this many prefixes a file is not a prefix file; the rest are ignored.
    static constexpr int Capacity = 500000;

    // Adds every prefix of the line's first field. Returns false when the
    // capacity stopped it.
    bool add(const PrefixLine &line);
    const DxCountries *lookUp(const QString &callsign) const;
    const DxCountries *find(const QString &prefix) const;
    void clear();
    int size() const { return int(m_index.size()); }

private:
    QHash<QString, DxCountries> m_index;  // upper-case prefix
    int m_longest = 0;
};
