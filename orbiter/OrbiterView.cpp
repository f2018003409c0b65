#include "orbiter/OrbiterView.h"
#include "orbiter/Angles.h"

#include "core/Clock.h"
#include "orbiter/OrbiterCanvas.h"
#include "orbiter/PaintKit.h"
#include "orbiter/SatelliteTableModel.h"

#include <QFutureWatcher>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPainter>
#include <QStackedLayout>
#include <QTableView>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <cmath>
#include <numbers>

namespace orbiter {

namespace {

constexpr int kLiveInterval = 1000;  // ms
// Entries that address the moon and the sun rather than a satellite.
constexpr int kMoonEntry = -1;
constexpr int kSunEntry = 0;

} // namespace

OrbiterView::OrbiterView(QWidget *parent)
    : QWidget(parent)
    , m_pages(new QStackedLayout)
    , m_textPage(new QWidget(this))
    , m_table(new QTableView(m_textPage))
    , m_summary(new QLabel(m_textPage))
    , m_model(new SatelliteTableModel(this))
    , m_canvas(new OrbiterCanvas(this))
{
    setObjectName(QStringLiteral("Orbiter"));
    m_table->setObjectName(QStringLiteral("lstSatellites"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(false);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(false);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->setAccessibleName(QStringLiteral("Satellites"));
    m_summary->setObjectName(QStringLiteral("lblSummary"));
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *textLayout = new QVBoxLayout(m_textPage);
    textLayout->setContentsMargins(0, 0, 0, 0);
    textLayout->setSpacing(4);
    textLayout->addWidget(m_table, 1);
    textLayout->addWidget(m_summary);

    m_pages->addWidget(m_textPage);
    m_pages->addWidget(m_canvas);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(m_pages);

    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (!m_syncingSelection && current.isValid())
                    selectEntry(m_scene.satellites[std::size_t(current.row())].entry);
            });
    connect(m_canvas, &OrbiterCanvas::satellitePicked, this, &OrbiterView::selectEntry);

    m_live.setInterval(kLiveInterval);
    connect(&m_live, &QTimer::timeout, this, &OrbiterView::followClock);
    m_observer.name = QStringLiteral("Observer");
}

OrbiterView::~OrbiterView() = default;

// --- Satellites -----------------------------------------------------------

void OrbiterView::removeAllSatellites()
{
    m_tracker.clear();
    m_selected = 1;
    refreshDisplay();
}

void OrbiterView::addSatelliteEntry()
{
    m_tracker.addEntry();
}

void OrbiterView::setCurrentEntry(qint16 entry)
{
    m_current = entry;
}

void OrbiterView::loadElementSet(const QString &name, const QString &line1, const QString &line2, qint16 entry,
                                 qint32)
{
    m_tracker.load(entry, name, line1, line2);
}

void OrbiterView::setIcons(bool on)
{
    m_options.icons = on;
    refreshDisplay();
}

const TrackedSatellite *OrbiterView::currentSatellite() const
{
    return m_tracker.entry(m_current);
}

const SkyBody *OrbiterView::currentBody() const
{
    if (m_current == kMoonEntry)
        return &m_tracker.moon();
    if (m_current == kSunEntry)
        return &m_tracker.sun();
    return nullptr;
}

// --- Time and computation -------------------------------------------------

void OrbiterView::setComputationTime(qint16 century, qint16 year, qint16 month, qint16 day, qint16 hour,
                                     qint16 minute, qint16 second)
{
    const int fullYear = year < 100 ? century * 100 + year : year;
    const QDateTime local(QDate(fullYear, month, day), QTime(hour, minute, second), Qt::UTC);
    if (!local.isValid())
        return;
    // Read with the zone as it now stands: the daylight state comes with each time.
    m_tracker.setTimeZone(m_zone);
    m_setTime = m_tracker.fromLocal(local);
    m_clockAtSet = Clock::instance().now();
    m_timeSet = true;
    m_tracker.setTime(m_setTime);
}

void OrbiterView::computePosition()
{
    m_tracker.computePositions();
    refreshDisplay();
}

void OrbiterView::computePass()
{
    // What the caller reads next is worked out now; a second look for passes
    // not found an hour ago, which can take long, is made elsewhere.
    m_tracker.computePasses(false);
    searchElsewhere();
    refreshDisplay();
}

void OrbiterView::searchElsewhere()
{
    std::vector<PassSearch> searches = m_tracker.passSearches();
    if (searches.empty())
        return;
    auto *watcher = new QFutureWatcher<std::vector<PassesFound>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        bool changed = false;
        for (const PassesFound &found : watcher->result())
            changed = m_tracker.takePasses(found) || changed;
        watcher->deleteLater();
        if (changed)
            refreshDisplay();
    });
    watcher->setFuture(QtConcurrent::run([searches = std::move(searches)]() mutable {
        std::vector<PassesFound> found;
        found.reserve(searches.size());
        for (PassSearch &search : searches)
            found.push_back(findPasses(std::move(search)));
        return found;
    }));
}

float OrbiterView::subSatelliteLongitude() const
{
    if (const SkyBody *body = currentBody())
        return float(body->longitude < 0 ? body->longitude + 360.0 : body->longitude);
    const TrackedSatellite *sat = currentSatellite();
    return sat && sat->valid ? float(sat->longitude) : 0.0f;
}

float OrbiterView::subSatelliteLatitude() const
{
    if (const SkyBody *body = currentBody())
        return float(body->latitude);
    const TrackedSatellite *sat = currentSatellite();
    return sat && sat->valid ? float(sat->latitude) : 0.0f;
}

qint32 OrbiterView::elevation() const
{
    // Rounded down, so a negative number always means below the horizon.
    if (const SkyBody *body = currentBody())
        return qint32(std::floor(body->look.elevation / kDeg));
    const TrackedSatellite *sat = currentSatellite();
    return sat && sat->valid ? qint32(std::floor(sat->look.elevation / kDeg)) : -90;
}

QDateTime OrbiterView::nextPassTime() const
{
    const TrackedSatellite *sat = currentSatellite();
    if (!sat || !sat->next)
        return {};
    return m_tracker.toLocal(sat->next->aos);
}

QString OrbiterView::satelliteName() const
{
    if (m_current == kMoonEntry)
        return QStringLiteral("Moon");
    if (m_current == kSunEntry)
        return QStringLiteral("Sun");
    const TrackedSatellite *sat = currentSatellite();
    return sat ? sat->name : QString();
}

float OrbiterView::furtherValue() const
{
    const TrackedSatellite *sat = currentSatellite();
    return sat && sat->valid ? float(sat->footprintKm) : 0.0f;
}

QString OrbiterView::positionProblem() const
{
    if (currentBody())
        return {};
    const TrackedSatellite *sat = currentSatellite();
    if (!sat)
        return QStringLiteral("no such satellite");
    if (sat->valid)
        return {};
    return sat->problem.isEmpty() ? QStringLiteral("no position") : sat->problem;
}

// --- Display --------------------------------------------------------------

void OrbiterView::setDisplayStyle(qint32 style)
{
    if (style < 0 || style > 3)
        return;
    m_style = style;
    m_pages->setCurrentWidget(style == 0 ? m_textPage : static_cast<QWidget *>(m_canvas));
    m_canvas->setStyle(style);
    // Columns fit their texts while the table is the view: measuring every
    // cell at every refresh for a table not shown costs more than all the
    // rest of the refresh.
    m_table->horizontalHeader()->setSectionResizeMode(style == 0 ? QHeaderView::ResizeToContents
                                                                 : QHeaderView::Interactive);
    refreshDisplay();
}

void OrbiterView::setFolders(const QString &dataFolder, const QString &imageFolder)
{
    m_dataFolder = dataFolder;
    m_imageFolder = imageFolder;
}

void OrbiterView::setDisplayOn(bool on)
{
    m_displayOn = on;
    if (on)
        refreshDisplay();
}

void OrbiterView::setPlotLines(bool lines)
{
    m_options.lines = lines;
    refreshDisplay();
}

void OrbiterView::setDistanceInMiles(bool miles)
{
    m_options.miles = miles;
    refreshDisplay();
}

void OrbiterView::setShowMoon(bool on)
{
    m_options.showMoon = on;
    refreshDisplay();
}

void OrbiterView::setShowSun(bool on)
{
    m_options.showSun = on;
    refreshDisplay();
}

void OrbiterView::setOrbitCount(int orbits)
{
    m_options.orbits = std::clamp(orbits, 1, 20);
    refreshDisplay();
}

void OrbiterView::setPlotInterval(int seconds)
{
    m_options.plotIntervalSeconds = seconds;
    refreshDisplay();
}

void OrbiterView::setSunFootprint(bool on)
{
    m_options.sunFootprint = on;
    refreshDisplay();
}

void OrbiterView::setMoonFootprint(bool on)
{
    m_options.moonFootprint = on;
    refreshDisplay();
}

void OrbiterView::setDataFields(bool on)
{
    m_options.dataFields = on;
    refreshDisplay();
}

void OrbiterView::selectEntry(int entry)
{
    if (entry < 1 || entry > m_tracker.count() || entry == m_selected)
        return;
    m_selected = entry;
    refreshDisplay();
}

// --- Observers and time zone ----------------------------------------------

void OrbiterView::setObserverName(const QString &name) { m_observer.name = name; }
void OrbiterView::setObserverLatitude(double degrees) { m_observer.latitude = degrees; }
void OrbiterView::setObserverLongitude(double degrees) { m_observer.longitude = degrees; }
void OrbiterView::setObserverHeight(double height) { m_observer.heightM = height; }
void OrbiterView::setTimeZoneAdjust(qint16 adjust) { m_zone.adjustHours = adjust; }
void OrbiterView::setTimeZoneName(const QString &name) { m_zone.name = name; }
void OrbiterView::setDaylight(bool on) { m_zone.daylight = on; }
void OrbiterView::setDaylightOffset(int hours) { m_zone.daylightOffsetHours = hours; }
void OrbiterView::setSecondLatitude(double degrees) { m_second.latitude = degrees; }
void OrbiterView::setSecondLongitude(double degrees) { m_second.longitude = degrees; }
void OrbiterView::setSecondHeight(double height) { m_second.heightM = height; }
void OrbiterView::setSecondName(const QString &name) { m_second.name = name; }
void OrbiterView::setSecondInUse(bool on) { m_secondInUse = on; }

void OrbiterView::applySettings()
{
    m_tracker.setObserver(m_observer);
    m_tracker.setSecondObserver(m_second, m_secondInUse);
    // The time last handed over was an instant; another zone only reads it
    // on another clock.
    m_tracker.setTimeZone(m_zone);
    if (m_timeSet) {
        m_tracker.computePositions();
        m_tracker.computePasses(false);
        searchElsewhere();
    }
    refreshDisplay();
}

// --- Views ----------------------------------------------------------------

void OrbiterView::refreshDisplay()
{
    if (!m_displayOn)
        return;
    const bool tracks = m_style == 1 || m_style == 3;
    m_scene = buildScene(m_tracker, m_options, m_selected, tracks && m_tracker.time() != 0);
    m_syncingSelection = true;
    m_model->setScene(m_scene);
    if (m_scene.selected >= 0 && m_table->currentIndex().row() != m_scene.selected)
        m_table->setCurrentIndex(m_model->index(m_scene.selected, 0));
    m_syncingSelection = false;
    m_canvas->setScene(m_scene);

    const SkyBody &sun = m_tracker.sun();
    const SkyBody &moon = m_tracker.moon();
    m_summary->setText(
        QStringLiteral("%1   %2 %3      Sun az %4\u00b0 el %5\u00b0      Moon az %6\u00b0 el %7\u00b0      %8 %9")
            .arg(m_scene.observer.name, formatLatitude(m_scene.observer.latitude),
                 formatLongitude(m_scene.observer.longitude))
            .arg(sun.look.azimuth / kDeg, 0, 'f', 0)
            .arg(sun.look.elevation / kDeg, 0, 'f', 0)
            .arg(moon.look.azimuth / kDeg, 0, 'f', 0)
            .arg(moon.look.elevation / kDeg, 0, 'f', 0)
            .arg(m_tracker.time() != 0 ? m_scene.localTime.toString(QStringLiteral("ddd dd MMM yyyy HH:mm:ss"))
                                       : QString(),
                 m_zone.name));
    if (m_tracker.count() == 0)
        m_summary->setText(QStringLiteral("No satellites chosen: pick them in Satellite Setup.   ") + m_summary->text());
}

void OrbiterView::followClock()
{
    if (!m_displayOn)
        return;
    const QDateTime now = Clock::instance().now();
    double t;
    if (m_timeSet) {
        const qint64 elapsed = m_clockAtSet.msecsTo(now);
        // Between computations only; a clock that jumped is left to the next one.
        if (elapsed <= 0 || elapsed > 24LL * 3600 * 1000)
            return;
        t = m_setTime + elapsed / 1000.0;
    } else {
        // Nothing computed yet: the views show the sky as it is now.
        t = double(now.toMSecsSinceEpoch()) / 1000.0;
        if (t == m_tracker.time())
            return;
    }
    m_tracker.setTime(t);
    m_tracker.computePositions();
    // Every pass search of the refresh is made elsewhere: the views show
    // the passes known until the answers come.
    m_tracker.endPasses();
    searchElsewhere();
    refreshDisplay();
}

void OrbiterView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    followClock();
    m_live.start();
}

void OrbiterView::hideEvent(QHideEvent *event)
{
    m_live.stop();
    QWidget::hideEvent(event);
}

QImage OrbiterView::grabView(const QSize &size)
{
    if (m_style == 0) {
        const QSize old = this->size();
        resize(size);
        layout()->activate();
        QImage image = m_textPage->grab().toImage();
        resize(old);
        layout()->activate();
        return image;
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    m_canvas->render(p, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

} // namespace orbiter
