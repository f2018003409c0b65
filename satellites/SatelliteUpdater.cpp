#include "satellites/SatelliteUpdater.h"

#include "core/Clock.h"
#include "core/Configuration.h"
#include "core/HostApplication.h"
#include "core/LoadingDialog.h"
#include "core/MainWindowPort.h"
#include "core/PlacedObject.h"
#include "core/SharedState.h"
#include "satellites/KepsFile.h"
#include "satellites/MapObjectNames.h"
#include "satellites/OrbiterControl.h"
#include "satellites/SatelliteSelection.h"
#include "zones/TimeZones.h"

#include <cmath>

namespace {

void setStatusText(const QString &text)
{
    if (MainWindowPort *main = MainWindowPort::instance())
        main->setStatusText(text);
}

const QString kLoadingCaption = QStringLiteral("Loading Satellite Details");
const QString kSatelliteSymbol = QStringLiteral("S");
const QString kSatelliteTable = QStringLiteral("\\");
// Without a pass in the search window there is no time to give.
const QString kNoPassTime = QStringLiteral("--:--");

QString notOnMapText(const QStringList &problems)
{
    if (problems.size() == 1)
        return problems.first();
    return problems.first() + QStringLiteral(" (and %1 more)").arg(problems.size() - 1);
}

} // namespace

SatelliteUpdater::SatelliteUpdater(OrbiterControl &control, QObject *parent)
    : QObject(parent)
    , m_control(control)
{
    m_timer.setObjectName(QStringLiteral("tmrSatUpdate"));
    m_timer.setInterval(TickMs);
    connect(&m_timer, &QTimer::timeout, this, &SatelliteUpdater::tick);
}

void SatelliteUpdater::SubSetupSatellites(QWidget *owner)
{
    const ElementTable &table = keps();
    LoadingDialog loading(owner);
    loading.setWindowTitle(kLoadingCaption);
    loading.setLabel(kLoadingCaption);
    loading.setRange(std::max<int>(0, table.lastIndex()));
    loading.setCancelEnabled(false);
    loading.start();

    m_timer.stop();
    m_slots.fill(Slot{});
    m_control.setIcons(config().satelliteIcons);

    QStringList setNames;
    for (const KepsElementSet &set : table.sets)
        setNames << set.name;
    const QStringList objectNames = mapObjectNames(setNames);

    const SatelliteSelection &selection = satelliteSelection();
    qint16 k = 1;
    for (int i = 0; i <= table.lastIndex() && i < SatelliteSelection::Size; ++i) {
        loading.step(i);
        if (!selection.selected[std::size_t(i + 1)])
            continue;
        m_slots[std::size_t(k)].plot = selection.plot[std::size_t(i + 1)];
        m_slots[std::size_t(k)].objectName = objectNames[i];
        const KepsElementSet &set = table.sets[i];
        m_control.addSatelliteEntry();
        m_control.setCurrentEntry(k);
        m_control.loadElementSet(set.name, set.line1, set.line2, k, 0);
        ++k;
    }
    m_timer.start(TickMs);
    loading.finish();
}

void SatelliteUpdater::tick()
{
    if (++m_tickCounter < config().satelliteInterval)
        return;
    m_tickCounter = 0;

    // The time in the zone chosen in the options, whatever the computer's own
    // zone, with its daylight state: that tells the control which instant is
    // meant in the hour an autumn change makes the clock read twice.
    TimeZoneRecord zone = timezones().current();
    if (zone.standardName.isEmpty())
        zone.Bias = config().timezoneAdjust * 60;
    const ZoneClock clock = zoneClockAt(Clock::instance().now(), zone);
    m_control.setDaylight(clock.daylight);
    m_control.setDaylightOffset(clock.daylightOffsetHours);
    const QString t = clock.wallClock.toString(QStringLiteral("yyyyMMddHHmmss"));
    auto part = [&t](int from, int length) { return qint16(t.mid(from, length).toInt()); };
    qint16 n = m_control.satelliteCount();
    for (qint16 entry = -1; entry <= n; ++entry) {
        m_control.setCurrentEntry(entry);
        m_control.setComputationTime(part(0, 2), part(0, 4), part(4, 2), part(6, 2), part(8, 2), part(10, 2),
                                     part(12, 2));
    }

    HostApplication *host = shared().host;
    if (host)
        host->refreshMap();
    m_control.computePosition();
    m_control.computePass();

    const QString locator = config().locator;
    QStringList notOnMap;
    n = m_control.satelliteCount();
    for (qint16 j = 1; j <= n && j <= Slots; ++j) {
        m_control.setCurrentEntry(j);
        Slot &slot = m_slots[std::size_t(j)];
        // Without a position there is nowhere to put it: 0 N 0 E would be a lie.
        if (const QString problem = m_control.positionProblem(); !problem.isEmpty()) {
            if (slot.plot && host) {
                if (slot.placed)
                    host->removePlacedObject(slot.objectName);
                slot.placed = false;
                notOnMap << m_control.satelliteName().trimmed() + QStringLiteral(" is not on the map: ") + problem;
            }
            continue;
        }
        float longitude = m_control.subSatelliteLongitude();
        const float latitude = m_control.subSatelliteLatitude();
        if (longitude > 180)
            longitude -= 360;
        if (slot.plot && host) {
            PlacedObject object;
            object.name = slot.objectName;
            object.latitude = latitude;
            object.longitude = longitude;
            object.comment = statusLine(locator, m_control.elevation(), m_control.nextPassTime());
            object.firstAttribute = 0;
            object.symbolCode = kSatelliteSymbol;
            object.symbolTable = kSatelliteTable;
            object.secondAttribute = int(m_control.furtherValue());
            object.thirdAttribute = 999;
            const int answer = host->placeObject(object);
            slot.placed = answer == int(PlaceObjectStatus::Created);
            const QString text = placeStatusText(answer);
            if (!text.isEmpty())
                setStatusText(text);
        }
        slot.latitude = latitude;
        slot.longitude = longitude;
    }
    if (!notOnMap.isEmpty())
        setStatusText(notOnMapText(notOnMap));
}

void SatelliteUpdater::updateNow()
{
    m_tickCounter = 999;
    tick();
}

QString SatelliteUpdater::statusLine(const QString &locator, qint32 elevation, const QDateTime &nextPass)
{
    const QString eta = nextPass.isValid() ? nextPass.toString(QStringLiteral("HH:mm")) : kNoPassTime;
    if (elevation >= 0)
        return QStringLiteral("@ ") + locator + QStringLiteral(" Ele = ") + QString::number(elevation)
               + QStringLiteral(" ETA ") + eta;
    return QStringLiteral("@ ") + locator + QStringLiteral(" Out of Range, ETA ") + eta;
}

QString SatelliteUpdater::placeStatusText(int code)
{
    switch (code) {
    case 0:
        return QStringLiteral("Object Created");
    case 1:
        return QStringLiteral("Undefined Object Error");
    case 2:
        return QStringLiteral("Object Editor Active");
    case 3:
        return QStringLiteral("Object Data Format Error");
    case 4:
        return QStringLiteral("Object Cannot Find");
    case 5:
        return QStringLiteral("Object Not Mine");
    default:
        return {};
    }
}
