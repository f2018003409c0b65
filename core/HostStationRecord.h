#pragma once

#include <QString>
#include <QtGlobal>

// What the host knows of one station. Kestrel creates an empty record, sets
// the callsign and asks the host to fill the rest (HostApplication::lookUpStation).
struct HostStationRecord
{
    static constexpr qint16 NoCourse = -32768;

    QString callsign;
    QString symbolCode;   // one character; "_" marks a weather station
    QString symbolTable;  // one character
    QString header;       // monitor header line of the station's last frame
    QString information;  // payload of the station's last frame
    QString status;
    QString timeHeard;        // first choice: date and time text, or empty
    QString timeHeardSecond;  // used when the first is empty
    float longitude = 0;  // minutes of arc, east positive
    float latitude = 0;   // minutes of arc, north positive
    float speed = 0;  // knots, as stations report it
    qint16 course = NoCourse;
    qint16 height = 0;  // feet, as stations report it
    bool heardDirect = false;
};
