#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

// The host's country prefix file: lines of
//   prefixes:country:region:ITU zone:CQ zone:time zone:latitude:longitude
// where prefixes is a comma list of single prefixes and ranges (ZR-ZU), and
// latitude/longitude are degrees with an optional hemisphere letter
// (51.5N, -0.1, 0.12W). Empty lines and lines starting ";" are skipped.
class PrefixTable
{
public:
    struct Country
    {
        QString prefixes;  // the whole first field
        QString name;
        double latitude = 0;   // degrees, north positive
        double longitude = 0;  // degrees, east positive
        bool hasPosition = false;
    };

    bool load(const QString &path, QString *errorText = nullptr);
    // Parses file text; returns the number of data lines taken.
    int parse(const QString &text);

    // The country of the longest prefix that starts the callsign, or null.
    const Country *lookUp(const QString &callsign) const;
    int countryCount() const { return int(m_countries.size()); }
    int prefixCount() const { return int(m_index.size()); }

    // ZR-ZU gives ZR, ZS, ZT, ZU; KC6-KC4 gives KC4, KC5, KC6.
    static QStringList expand(const QString &entry);

private:
    std::vector<Country> m_countries;
    QHash<QString, int> m_index;  // upper-case prefix to country
    int m_longest = 0;
};

// Degrees from "51.5", "-0.12", "51.30N" style text; false when unreadable.
bool parseDegrees(const QString &text, bool longitude, double *degrees);
