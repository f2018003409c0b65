#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <ctime>

// Sets the process's own time zone, as a user's computer would have it, for
// as long as the object lives.
class ProcessZone
{
public:
    explicit ProcessZone(const char *zone) : m_saved(qgetenv("TZ")), m_had(qEnvironmentVariableIsSet("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~ProcessZone()
    {
        if (m_had)
            qputenv("TZ", m_saved);
        else
            qunsetenv("TZ");
        tzset();
    }
    ProcessZone(const ProcessZone &) = delete;
    ProcessZone &operator=(const ProcessZone &) = delete;

private:
    QByteArray m_saved;
    bool m_had;
};
