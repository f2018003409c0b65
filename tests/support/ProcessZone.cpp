#include "ProcessZone.h"

#include <QtGlobal>

#include <ctime>

ProcessZone::ProcessZone(const char *zone)
    : m_old(qgetenv("TZ"))
    , m_wasSet(qEnvironmentVariableIsSet("TZ"))
{
    qputenv("TZ", zone);
    tzset();
}

ProcessZone::~ProcessZone()
{
    if (m_wasSet)
        qputenv("TZ", m_old);
    else
        qunsetenv("TZ");
    tzset();
}
