#include "stations/EmergencyAlerts.h"

namespace {
const QString kEmergency = QStringLiteral("Emergency");
}

EmergencyAlerts &EmergencyAlerts::instance()
{
    static EmergencyAlerts alerts;
    return alerts;
}

bool EmergencyAlerts::consider(const HostStationRecord &record)
{
    if (record.message != kEmergency || record.callsign.isEmpty())
        return false;
    // The same report heard again through another digipeater is no new alert.
    const auto it = m_alerted.constFind(record.callsign);
    if (it != m_alerted.constEnd() && *it == record.information)
        return false;
    m_alerted.insert(record.callsign, record.information);
    if (!m_alarmed.contains(record.callsign)) {
        m_alarmed.insert(record.callsign);
        m_order.append(record.callsign);
        emit alarmChanged(record.callsign, true);
    }
    return true;
}

void EmergencyAlerts::acknowledge(const QString &callsign)
{
    if (!m_alarmed.remove(callsign))
        return;
    m_order.removeAll(callsign);
    emit alarmChanged(callsign, false);
}

void EmergencyAlerts::acknowledgeAll()
{
    const QStringList all = m_order;
    for (const QString &callsign : all)
        acknowledge(callsign);
}

void EmergencyAlerts::reset()
{
    acknowledgeAll();
    m_alerted.clear();
}
