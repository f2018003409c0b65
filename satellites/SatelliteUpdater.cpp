#include "satellites/SatelliteUpdater.h"

#include "core/Clock.h"
#include "core/Configuration.h"
#include "core/HostApplication.h"
#include "core/LoadingDialog.h"
#include "core/PlacedObject.h"
#include "core/SharedState.h"
#include "satellites/KepsFile.h"
#include "satellites/MainWindowLink.h"
#include "satellites/OrbiterControl.h"
#include "satellites/SatelliteSelection.h"

#include <cmath>

namespace {

const QString kLoadingCaption = QStringLiteral("Loading Satellite Details");
const QString kSatelliteSymbol = QStringLiteral("S");
const QString kSatelliteTable = QStringLiteral("\\");
// Without a pass in the search window there is no time to give.
const QString kNoPassTime = QStringLiteral("--:--");
// APRS object names have at most nine characters; a host refuses longer ones.
constexpr int kObjectNameLength = 9;

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

    const SatelliteSelection &selection = satelliteSelection();
    qint16 k = 1;
    for (int i = 0; i <= table.lastIndex() && i < SatelliteSelection::Size; ++i) {
        loading.step(i);
        if (!selection.selected[std::size_t(i + 1)])
            continue;
        m_slots[std::size_t(k)].plot = selection.plot[std::size_t(i + 1)];
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

    const QString t = Clock::instance().now().toLocalTime().toString(QStringLiteral("yyyyMMddHHmmss"));
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
    n = m_control.satelliteCount();
    for (qint16 j = 1; j <= n && j <= Slots; ++j) {
        m_control.setCurrentEntry(j);
        float longitude = m_control.subSatelliteLongitude();
        const float latitude = m_control.subSatelliteLatitude();
        if (longitude > 180)
            longitude -= 360;
        Slot &slot = m_slots[std::size_t(j)];
        if (slot.plot && host) {
            PlacedObject object;
            object.name = m_control.satelliteName().trimmed().left(kObjectNameLength).trimmed();
            object.latitude = latitude;
            object.longitude = longitude;
            object.comment = statusLine(locator, m_control.elevation(), m_control.nextPassTime());
            object.firstAttribute = 0;
            object.symbolCode = kSatelliteSymbol;
            object.symbolTable = kSatelliteTable;
            object.secondAttribute = int(m_control.furtherValue());
            object.thirdAttribute = 999;
            const QString text = placeStatusText(host->placeObject(object));
            if (!text.isEmpty())
                MainWindowLink::setStatusText(text);
        }
        slot.latitude = latitude;
        slot.longitude = longitude;
    }
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
