#pragma once

#include <QtGlobal>

// When a moving station sends its next position: slowly standing still,
// more often the faster it goes, and at once after a turn, so the track
// drawn from its reports follows the road. Speeds in km/h, courses in
// degrees, times in milliseconds.
struct SmartBeacon
{
    qint64 slowIntervalMs = 30 * 60000;  // standing or walking: the configured interval
    qint64 fastIntervalMs = 90000;       // at fastSpeed and above
    double slowSpeed = 5;
    double fastSpeed = 90;
    double turnAngle = 30;      // degrees of turn that always count, at speed
    double turnSlope = 240;     // degrees·km/h added at low speed (a slow turn is noisier)
    qint64 minTurnMs = 15000;   // never two beacons closer than this

    // The interval at this speed.
    qint64 intervalAt(double speedKmh) const;
    // The turn that counts at this speed.
    double turnThreshold(double speedKmh) const;
    // Whether to beacon now, given the time since the last one, the course
    // it carried and the course and speed now.
    bool due(qint64 sinceLastMs, double lastCourse, double course, double speedKmh) const;
};

// The smaller angle between two courses, 0-180.
double courseChange(double from, double to);
