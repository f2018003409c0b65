#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

#include "stations/FrameDecoder.h"

class HostApplication;
class TerminalWindow;
class WeatherStore;

// Runs each received text through the consumers, in this order: the
// terminal's RxData (the text as received), the weather store, the terminal's
// event log, then one pass over the loaded windows in load order in which
// every "Station List" window gets the station record and every
// "Live Statistics" window counts the frame.
class FrameIntake : public QObject
{
    Q_OBJECT
public:
    explicit FrameIntake(HostApplication &host, QObject *parent = nullptr);

    // Not owned. When none is set, the first loaded terminal window is used.
    void setTerminal(TerminalWindow *terminal);
    // Called with true when an arrival starts and false when it is handled.
    void setIndicator(std::function<void(bool on)> indicator);
    // Not owned; null means the program-wide weatherStore().
    void setWeatherStore(WeatherStore *store);

    // The result for the last text received, dropped or not.
    const FrameDecode &lastFrame() const { return m_last; }
    quint64 framesReceived() const { return m_received; }
    quint64 framesDropped() const { return m_dropped; }

public slots:
    // One change of the link field's text.
    void receive(const QString &linkText);
    // The host heard a beacon: a station it knows reaches every "Station List" window.
    void receiveBeacon(const QString &strCallsign);

private:
    void handle(const QString &linkText);
    TerminalWindow *terminal() const;

    HostApplication &m_host;
    TerminalWindow *m_terminal = nullptr;
    QPointer<QObject> m_terminalObject;
    bool m_terminalIsObject = false;
    WeatherStore *m_weatherStore = nullptr;
    std::function<void(bool)> m_indicator;
    FrameDecode m_last;
    quint64 m_received = 0;
    quint64 m_dropped = 0;
};

// Makes the intake for a host, owned by owner: the host's frames go to its
// receive and its beacons to its receiveBeacon, and the main window's frame
// indicator is lit while a frame is handled; the result runs a text the host
// did not send (the test command's) the same way.
std::function<void(const QString &)> attachFrameIntake(HostApplication *host, QObject *owner);
