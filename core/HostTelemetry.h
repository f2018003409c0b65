#pragma once

#include <QList>
#include <QString>

// The latest telemetry the host holds for one station, ready to show: each
// channel with its name, its value (scaled by the station's equations, or
// "On"/"Off" and its label for a bit) and its unit.
struct HostTelemetry
{
    struct Channel
    {
        QString name;
        QString value;
        QString unit;
    };

    QString project;    // the title the station gives its telemetry, may be empty
    QString sequence;   // the report's sequence number as sent
    QString timeHeard;  // when the report arrived
    QList<Channel> channels;  // analogue channels first, then the bits

    bool isEmpty() const { return channels.isEmpty(); }
};
