#pragma once

#include <QDateTime>

// Every "now" comes from here so tests can fix the time.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;

    static Clock &instance();
    static void install(Clock *clock);
};
