#pragma once

#include <QByteArray>

// Sets the process's own time zone (TZ) for the lifetime of the object and
// puts the old one back after, so a test can run where clocks change.
class ProcessZone
{
public:
    explicit ProcessZone(const char *zone);
    ~ProcessZone();
    ProcessZone(const ProcessZone &) = delete;
    ProcessZone &operator=(const ProcessZone &) = delete;

private:
    QByteArray m_old;
    bool m_wasSet;
};
