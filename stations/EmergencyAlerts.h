#pragma once

#include "core/HostStationRecord.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

// Stations whose last report was a Mic-E "Emergency": each report raises one
// alert, however often it is heard again, and the station stays alarmed
// (red in the station lists) until the user acknowledges it.
class EmergencyAlerts : public QObject
{
    Q_OBJECT
public:
    static EmergencyAlerts &instance();

    // True the first time this station sends this report as an emergency:
    // the station is then alarmed. Anything else is false and changes nothing.
    bool consider(const HostStationRecord &record);
    void acknowledge(const QString &callsign);
    void acknowledgeAll();
    // Asked for every cell a list paints: nearly always with nothing alarmed.
    bool isAlarmed(const QString &callsign) const { return !m_alarmed.isEmpty() && m_alarmed.contains(callsign); }
    // Alarmed stations, in the order their alerts came.
    QStringList alarmed() const { return m_order; }
    // Forgets everything (tests).
    void reset();

signals:
    void alarmChanged(const QString &callsign, bool alarmed);

private:
    QSet<QString> m_alarmed;
    QStringList m_order;
    // The last emergency report alerted for, per station.
    QHash<QString, QString> m_alerted;
};
