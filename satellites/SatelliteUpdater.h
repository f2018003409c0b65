#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>

class OrbiterControl;
class QWidget;

// Hands the selected element sets to the tracking control and, once a
// minute or at the configured interval, the current time; then reads each
// satellite back and places the ticked ones on the host's map.
class SatelliteUpdater : public QObject
{
    Q_OBJECT
public:
    static constexpr int Slots = 101;
    static constexpr int TickMs = 60000;

    // What is kept per tracking slot (1-based, in element-table order of
    // the selected sets).
    struct Slot
    {
        bool plot = false;
        float latitude = 0;
        float longitude = 0;
        QString objectName;   // on the host's map
        bool placed = false;  // the host took the object, so it is ours to take off
    };

    explicit SatelliteUpdater(OrbiterControl &control, QObject *parent = nullptr);

    // Gives the control the selected sets, with the loading window showing.
    void SubSetupSatellites(QWidget *owner = nullptr);
    // One tick of the update timer.
    void tick();
    // The update at once, whatever the interval.
    void updateNow();

    QTimer &tmrSatUpdate() { return m_timer; }
    int tickCounter() const { return m_tickCounter; }
    void setTickCounter(int value) { m_tickCounter = value; }
    const Slot &slot(int number) const { return m_slots[std::size_t(number)]; }

    // "@ " & locator & " Ele = " & elevation & " ETA " & hh:mm, or the
    // out-of-range form below the horizon.
    static QString statusLine(const QString &locator, qint32 elevation, const QDateTime &nextPass);
    // The status bar text for an answer of the host's object placing; empty
    // for answers it has no text for.
    static QString placeStatusText(int code);

private:
    OrbiterControl &m_control;
    QTimer m_timer;
    int m_tickCounter = 999;
    std::array<Slot, Slots + 1> m_slots{};
};
