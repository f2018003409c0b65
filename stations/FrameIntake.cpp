#include "stations/FrameIntake.h"

#include <QTimer>
#include <QVarLengthArray>

#include <exception>

#include "core/Clock.h"
#include "core/Configuration.h"
#include "core/ErrorReport.h"
#include "core/HostApplication.h"
#include "core/MainWindowPort.h"
#include "core/StallWatchdog.h"
#include "core/WindowInterfaces.h"
#include "core/WindowRegistry.h"
#include "core/HostMap.h"
#include "stations/DebugLog.h"
#include "stations/EmergencyAlerts.h"
#include "stations/MapPlotting.h"
#include "stations/frmEmergency.h"
#include "stations/WeatherStorePort.h"

namespace {

// An alert nobody can miss: the window in front with a sound, the row red
// (the lists follow the alerts), and a red ring round the station on the map.
void ringInRed(HostMap &map, const HostStationRecord &record)
{
    map.setPenSetting(3);
    map.setModeSetting(13);
    map.drawCircle(record.longitude, record.latitude, 2.0f, MapColour::Red, 1.0f, 6.28, 1.0f);
}

void raiseEmergency(const HostStationRecord &record, HostApplication &host)
{
    frmEmergency::raiseFor(record);
    if (HostMap *map = host.map())
        ringInRed(*map, record);
}

// The map forgets what Kestrel drew when it pans or zooms: the stations
// still in emergency are ringed again.
void ringAlarmed(HostApplication &host)
{
    HostMap *map = host.map();
    if (!map)
        return;
    for (const QString &callsign : EmergencyAlerts::instance().alarmed()) {
        HostStationRecord record;
        record.callsign = callsign;
        if (host.lookUpStation(record))
            ringInRed(*map, record);
    }
}

// The zone the options name, or the system's when it names none this
// system knows.
QTimeZone configuredZone()
{
    const QTimeZone zone(config().timezone.toLatin1());
    return zone.isValid() ? zone : QTimeZone::systemTimeZone();
}

// Puts the indicator out however the arrival ends.
class IndicatorGuard
{
public:
    explicit IndicatorGuard(const std::function<void(bool)> &indicator) : m_indicator(indicator)
    {
        if (m_indicator)
            m_indicator(true);
    }
    ~IndicatorGuard()
    {
        if (m_indicator)
            m_indicator(false);
    }
    IndicatorGuard(const IndicatorGuard &) = delete;
    IndicatorGuard &operator=(const IndicatorGuard &) = delete;

private:
    const std::function<void(bool)> &m_indicator;
};

using GuardedWindows = QVarLengthArray<QPointer<QObject>, 16>;

// A window may close while another one handles the frame (a modal dialog lets
// events in), so the pass holds guarded pointers.
GuardedWindows loadedWindows()
{
    GuardedWindows guarded;
    for (QObject *window : WindowRegistry::instance().windows())
        guarded.append(window);
    return guarded;
}

} // namespace

FrameIntake::FrameIntake(HostApplication &host, QObject *parent) : QObject(parent), m_host(host) {}

void FrameIntake::setTerminal(TerminalWindow *terminal)
{
    m_terminal = terminal;
    m_terminalObject = dynamic_cast<QObject *>(terminal);
    m_terminalIsObject = m_terminalObject;
}

void FrameIntake::setIndicator(std::function<void(bool)> indicator)
{
    m_indicator = std::move(indicator);
}

void FrameIntake::setWeatherStore(WeatherStore *store) { m_weatherStore = store; }

TerminalWindow *FrameIntake::terminal() const
{
    if (m_terminal)
        // A terminal window that has been destroyed is not called any more.
        return (!m_terminalIsObject || m_terminalObject) ? m_terminal : nullptr;
    return WindowRegistry::instance().first<TerminalWindow>();
}

void FrameIntake::receive(const QString &linkText)
{
    StallWatchdog::Activity activity("frame intake", {});
    IndicatorGuard indicator(m_indicator);
    ++m_received;
    try {
        handle(linkText);
    } catch (const std::exception &error) {
        ++m_dropped;
        reportError(QStringLiteral("Text1_Change"), QString::fromLocal8Bit(error.what()));
    }
}

void FrameIntake::handle(const QString &linkText)
{
    FrameCut cut = cutFrame(linkText);
    if (config().debugLogging)
        appendDebugLog(cut.received);
    if (cut.dropped) {
        ++m_dropped;
        m_last = FrameDecode();
        static_cast<FrameCut &>(m_last) = std::move(cut);
        return;
    }

    HostStationRecord record;
    record.callsign = cut.source;
    const bool known = m_host.lookUpStation(record);

    // A consumer that shows a modal dialog lets the next frame in before this
    // one is done, so this frame works from its own copy.
    const FrameDecode frame = decodeFrame(cut, record.timeHeard, record.timeHeardSecond, Clock::instance().now(),
                                          configuredZone());
    m_last = frame;
    if (frame.dropped) {
        ++m_dropped;
        return;
    }

    TerminalWindow *term = terminal();
    if (term)
        term->RxData(frame.received);
    if (!frame.weather.isEmpty()) {
        WeatherStore &store = m_weatherStore ? *m_weatherStore : weatherStore();
        store.AddWxData(record, frame.weather, frame.reportTime);
    }
    if ((term = terminal())) {
        for (const FrameEvent &event : frame.events)
            term->UpdateEventLog(event.text, event.type, event.callsign);
    }

    for (const QPointer<QObject> &window : loadedWindows()) {
        if (!window)
            continue;
        const QString tag = WindowRegistry::tagOf(window);
        if (tag == WindowTag::StationList) {
            if (auto *list = dynamic_cast<StationListWindow *>(window.data()))
                list->RxData(record, known);
        }
        if (window && tag == WindowTag::LiveStatistics) {
            if (auto *statistics = dynamic_cast<StatisticsWindow *>(window.data()))
                statistics->UpdateStatitics();
        }
    }
    if (EmergencyAlerts::instance().consider(record))
        raiseEmergency(record, m_host);
    // An object or item gets its row now, by the rule the start-up preload
    // follows for everything the host holds: its own record, as the host keeps it.
    if (!frame.objectName.isEmpty() && frame.objectName != cut.source)
        receiveBeacon(frame.objectName);
}

void FrameIntake::receiveBeacon(const QString &strCallsign)
{
    try {
        HostStationRecord record;
        record.callsign = strCallsign;
        if (!m_host.lookUpStation(record))
            return;
        // Only stations the host knows get here, so the lists treat it as known.
        for (const QPointer<QObject> &window : loadedWindows()) {
            if (window && WindowRegistry::tagOf(window) == WindowTag::StationList) {
                if (auto *list = dynamic_cast<StationListWindow *>(window.data()))
                    list->RxData(record, true);
            }
        }
    } catch (const std::exception &error) {
        reportError(QStringLiteral("NotifyBeacon"), QString::fromLocal8Bit(error.what()));
    }
}

std::function<void(const QString &)> attachFrameIntake(HostApplication *host, QObject *owner)
{
    auto *intake = new FrameIntake(*host, owner);
    if (HostMap *map = host->map()) {
        QObject::connect(map, &HostMap::MapHasChanged, intake, [host] { ringAlarmed(*host); });
        QObject::connect(map, &HostMap::MapRedrawn, intake, [host] { ringAlarmed(*host); });
        // A drawing cannot be taken off the map one by one: an acknowledged
        // station's ring goes with a redraw, after which Kestrel draws again
        // what it keeps on the map (and the rings still alarmed). Several
        // acknowledged at once cost one redraw.
        auto *redraw = new QTimer(intake);
        redraw->setSingleShot(true);
        redraw->setInterval(0);
        QObject::connect(redraw, &QTimer::timeout, intake, [host] { host->refreshMap(); });
        QObject::connect(&EmergencyAlerts::instance(), &EmergencyAlerts::alarmChanged, redraw,
                         [redraw](const QString &, bool alarmed) {
                             if (!alarmed)
                                 redraw->start();
                         });
    }
    intake->setIndicator([](bool on) {
        if (MainWindowPort *main = MainWindowPort::instance())
            main->setFrameIndicator(on);
    });
    QObject::connect(host, &HostApplication::frameReceived, intake, &FrameIntake::receive);
    QObject::connect(host, &HostApplication::NotifyBeacon, intake,
                     [intake](const QString &strCallsign, float, float) { intake->receiveBeacon(strCallsign); });
    return [intake](const QString &text) { intake->receive(text); };
}
