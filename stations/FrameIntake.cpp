#include "stations/FrameIntake.h"

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
#include "stations/DebugLog.h"
#include "stations/WeatherStorePort.h"

namespace {

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
    const FrameDecode frame =
        decodeFrame(cut, record.timeHeard, record.timeHeardSecond, Clock::instance().now());
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
    intake->setIndicator([](bool on) {
        if (MainWindowPort *main = MainWindowPort::instance())
            main->setFrameIndicator(on);
    });
    QObject::connect(host, &HostApplication::frameReceived, intake, &FrameIntake::receive);
    QObject::connect(host, &HostApplication::NotifyBeacon, intake,
                     [intake](const QString &strCallsign, float, float) { intake->receiveBeacon(strCallsign); });
    return [intake](const QString &text) { intake->receive(text); };
}
