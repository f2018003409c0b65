#pragma once

#include <QString>
#include <QtGlobal>

#include <limits>

// What the host knows of one station. Kestrel creates an empty record, sets
// the callsign and asks the host to fill the rest (HostApplication::lookUpStation).
struct HostStationRecord
{
    static constexpr qint16 NoCourse = -32768;
    // Marks of a value the station did not send.
    static constexpr qint32 NoHeight = std::numeric_limits<qint32>::min();
    static constexpr float NoSpeed = -1;

    QString callsign;
    QString symbolCode;   // one character; "_" marks a weather station
    QString symbolTable;  // one character
    QString header;       // monitor header line of the station's last frame
    QString information;  // payload of the station's last frame
    QString status;
    QString message;  // a Mic-E position's message type ("En Route", "Emergency"); empty for others
    QString timeHeard;        // first choice: date and time text, or empty
    QString timeHeardSecond;  // used when the first is empty
    float longitude = 0;  // minutes of arc, east positive
    float latitude = 0;   // minutes of arc, north positive
    float speed = NoSpeed;  // knots, as stations report it
    qint16 course = NoCourse;
    qint32 height = NoHeight;  // feet, as stations report it; a balloon passes 100,000
    bool heardDirect = false;
};
