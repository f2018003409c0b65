#pragma once

#include <QList>
#include <QString>

// One ready-made observer position.
struct ObserverLocation
{
    QString code;
    QString name;
    double latitude = 0;   // degrees, north positive
    double longitude = 0;  // degrees, west positive
};

// The observer locations table, read once at start.
class ObserverLocations
{
public:
    static constexpr int Capacity = 2001;

    static QString defaultPath();
    // Reads comma-separated lines (fields 2 to 5 of each) in file order. When
    // the file cannot be read, says so through Prompts; what was read stays.
    bool load(const QString &path);
    void clear() { m_entries.clear(); }
    const QList<ObserverLocation> &entries() const { return m_entries; }

private:
    QList<ObserverLocation> m_entries;
};

ObserverLocations &observerLocations();
