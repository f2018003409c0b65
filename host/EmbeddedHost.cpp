#include "host/EmbeddedHost.h"

#include "core/MainWindowPort.h"
#include "core/PrivateProfile.h"
#include "core/Utilities.h"
#include "host/aprs/Beacon.h"
#include "host/feeds/DxSpotLine.h"
#include "host/map/EmbeddedHostMap.h"
#include "host/feeds/Feed.h"
#include "host/feeds/GpsdFeed.h"
#include "host/map/GeoMath.h"
#include "host/tiles/HostMapTiles.h"
#include "host/map/HostMapWindow.h"
#include "host/messages/MessagesWindow.h"
#include "host/messages/Messenger.h"
#include "host/OnAir.h"
#include "host/StationFile.h"
#include "host/map/SymbolPainter.h"
#include "host/aprs/Tnc2.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtConcurrent/QtConcurrentRun>
#include <cmath>

namespace {

const QString IniName = QStringLiteral("UIVIEW32.INI");
constexpr int RefreshMs = 250;
constexpr int MaxObjectName = 9;
constexpr int AgeCheckMs = 60000;
constexpr int SaveMs = 5 * 60000;

QString findFile(const QString &folder, const QString &name)
{
    const QString direct = folder + u'/' + name;
    if (QFileInfo::exists(direct))
        return direct;
    // The folder may come from a system that ignores letter case.
    const QStringList entries = QDir(folder).entryList(QDir::Files);
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder + u'/' + entry;
    return {};
}

} // namespace

HostApplication *createEmbeddedHost(const QString &hostFolder, QObject *parent, QString *errorText)
{
    auto fail = [&](const QString &text) -> HostApplication * {
        if (errorText)
            *errorText = text;
        return nullptr;
    };
    if (hostFolder.trimmed().isEmpty())
        return fail(QStringLiteral("No host folder is set."));
    const QFileInfo info(hostFolder);
    if (!info.exists())
        return fail(QStringLiteral("The host folder %1 does not exist.").arg(hostFolder));
    if (!info.isDir())
        return fail(QStringLiteral("The host folder %1 is not a folder.").arg(hostFolder));
    if (findFile(info.absoluteFilePath(), IniName).isEmpty())
        return fail(QStringLiteral("The host folder %1 holds no %2.").arg(hostFolder, IniName));
    EmbeddedHost::Options options;
    options.showWindow = qEnvironmentVariable("KESTREL_HOST_HEADLESS") != QLatin1String("1");
    options.messageFolder = GetDataFolder();
    return new EmbeddedHost(info.absoluteFilePath(), options, parent);
}

QString EmbeddedHost::stationIniPath(const QString &hostFolder)
{
    const QString found = findFile(hostFolder, IniName);
    return found.isEmpty() ? hostFolder + u'/' + IniName : found;
}

EmbeddedHost::EmbeddedHost(const QString &hostFolder, const Options &options, QObject *parent)
    : HostApplication(parent)
    , m_folder(hostFolder)
    , m_config(HostConfig::read(hostFolder))
    , m_log(hostFolder + QStringLiteral("/Logs"))
{
    PrivateProfile ini(stationIniPath(hostFolder));
    ini.load();
    const QString station = QStringLiteral("STATION");
    m_ownCall = ini.value(station, QStringLiteral("CALLSIGN")).trimmed().toUpper();
    double latMinutes = 0, lonMinutes = 0;
    parseIniPosition(ini.value(station, QStringLiteral("LATITUDE")), false, &latMinutes);
    parseIniPosition(ini.value(station, QStringLiteral("LONGITUDE")), true, &lonMinutes);
    m_homeLat = latMinutes / 60.0;
    m_homeLon = lonMinutes / 60.0;
    m_database.setCapacity(size_t(m_config.maxStations));
    m_stationPath = hostFolder + u'/' + StationFile::FileName;
    restoreStations();
    m_database.setOwnStation(m_ownCall, latMinutes, lonMinutes, m_config.symbol[0], m_config.symbol[1]);

    const QString prefixFile = findFile(hostFolder, QStringLiteral("prefix.txt"));
    m_prefixesLoaded = !prefixFile.isEmpty() && m_prefixes.load(prefixFile);

    m_map = new EmbeddedHostMap(&m_database, this);
    m_map->setHome(m_ownCall, m_homeLat, m_homeLon);
    m_map->setPlacedObjects(&m_placed);
    m_tiles = new HostMapTiles(m_map->tiles(), m_config.tiles, this);
    m_window = new HostMapWindow(m_map, m_tiles);
    connect(m_window, &HostMapWindow::quitRequested, this, &EmbeddedHost::quit);
    connect(m_window, &HostMapWindow::stationRequested, this, &EmbeddedHost::showStationSetup);
    connect(m_window, &HostMapWindow::feedsRequested, this, &EmbeddedHost::showFeedsSetup);

    m_refreshTimer.setSingleShot(true);
    connect(&m_refreshTimer, &QTimer::timeout, this, &EmbeddedHost::updateWindow);
    connect(m_window, &HostMapWindow::messagesRequested, this, &EmbeddedHost::showMessagesWindow);
    m_air = new OnAir((options.messageFolder.isEmpty() ? hostFolder : options.messageFolder) + u'/'
                          + MessageStore::FileName,
                      this);
    connect(m_air, &OnAir::beaconSent, this, &EmbeddedHost::recordBeacon);
    connect(m_air, &OnAir::statusChanged, this, &EmbeddedHost::scheduleRefresh);
    connect(m_air->messenger(), &Messenger::unreadChanged, this, &HostApplication::unreadMessagesChanged);
    connect(m_air->messenger(), &Messenger::messageArrived, this, &HostApplication::messageArrived);

    m_log.setKeepDays(m_config.logDays);
    connect(&m_saveTimer, &QTimer::timeout, this, &EmbeddedHost::saveStationsInBackground);
    connect(&m_saving, &QFutureWatcher<QString>::finished, this, &EmbeddedHost::checkBackgroundSave);
    m_saveTimer.start(SaveMs);
    connect(&m_ageTimer, &QTimer::timeout, this, [this] { ageStations(QDateTime::currentSecsSinceEpoch()); });

    for (const FeedSettings &settings : m_config.feeds)
        if (Feed *feed = makeFeed(settings))
            m_feeds.append(feed);
    m_air->setStation(airStation());
    if (!m_config.status.isEmpty() && !m_ownCall.isEmpty())
        hearLine(m_ownCall + u'>' + BeaconDestination + QStringLiteral(":>") + m_config.status);
    updateWindow();
    if (options.showWindow)
        showMapWindow();
    if (options.startFeeds)
        startFeeds();
}

EmbeddedHost::~EmbeddedHost()
{
    for (Feed *feed : m_feeds)
        feed->stop();
    QString error;
    if (!saveStations(&error))
        qWarning("Host: the stations could not be saved: %s", qPrintable(error));
    if (m_window->isVisible())
        m_window->rememberPlacement();
    delete m_stationWindow;
    delete m_feedsWindow;
    delete m_window;
    delete m_messagesWindow;
}

void EmbeddedHost::showMapWindow()
{
    if (m_running)
        m_window->placeAndShow(MainWindowPort::widget());
}

Feed *EmbeddedHost::makeFeed(const FeedSettings &settings)
{
    if (!settings.enabled)
        return nullptr;
    Feed *feed = createFeed(settings, m_ownCall, this);
    if (!feed)
        return nullptr;
    // Whatever goes wrong with one line, the feed and the program go on.
    connect(feed, &Feed::lineReceived, this, [this, feed](const QString &line) {
        guarded([&] { hearLine(line, feed); });
    });
    connect(feed, &Feed::spotReceived, this, [this](const QString &line) { guarded([&] { hearSpot(line); }); });
    connect(feed, &Feed::stateChanged, this, &EmbeddedHost::scheduleRefresh);
    if (auto *gps = qobject_cast<GpsdFeed *>(feed)) {
        connect(gps, &GpsdFeed::fixReceived, this, &EmbeddedHost::onGpsFix);
        // A moving station beacons by its speed and turns.
        connect(gps, &GpsdFeed::fixReceived, this, [this, gps] {
            const GpsdFeed::Fix fix = gps->lastFix();
            setGpsFix(fix.latitude, fix.longitude, fix.course, fix.speedKmh, QDateTime::currentMSecsSinceEpoch());
        });
        connect(gps, &Feed::stateChanged, this, [this, gps] {
            if (!gps->connectedSince().isValid())
                keepGpsHome();
        });
    }
    m_air->addFeed(feed);
    return feed;
}

OnAir::Station EmbeddedHost::airStation() const
{
    OnAir::Station home;
    home.callsign = m_ownCall;
    home.latitude = m_homeLat;
    home.longitude = m_homeLon;
    home.symbol = m_config.symbol;
    home.comment = m_config.beaconComment;
    home.intervalMinutes = m_config.beaconIntervalMinutes;
    home.answerFor = m_config.answerFor;
    return home;
}

void EmbeddedHost::startFeeds()
{
    m_feedsStarted = true;
    for (Feed *feed : m_feeds)
        feed->start();
    m_air->start();
    if (m_config.stationHours > 0)
        m_ageTimer.start(AgeCheckMs);
}

int EmbeddedHost::ageStations(qint64 nowSeconds)
{
    if (m_config.stationHours <= 0)
        return 0;
    const QStringList placed = placedObjects();
    m_database.setKept(QSet<QString>(placed.begin(), placed.end()));
    const int removed = m_database.ageOut(nowSeconds - qint64(m_config.stationHours) * 3600);
    if (removed > 0)
        scheduleRefresh();
    return removed;
}

void EmbeddedHost::restoreStations()
{
    const qint64 cutoff = m_config.stationHours > 0
                              ? QDateTime::currentSecsSinceEpoch() - qint64(m_config.stationHours) * 3600
                              : 0;
    const StationFile::ReadResult read = StationFile::read(m_stationPath, m_database, cutoff);
    if (read.skipped > 0)
        qWarning("Host: %d lines of %s could not be read and were skipped", read.skipped,
                 qPrintable(m_stationPath));
    if (!read.recognised) {
        // Not ours, or damaged past reading: kept aside rather than overwritten.
        const QString aside = m_stationPath + QStringLiteral(".unreadable");
        QFile::remove(aside);
        const bool moved = QFile::rename(m_stationPath, aside);
        m_config.problems.append(moved ? QStringLiteral("%1 could not be read; kept as %2")
                                             .arg(StationFile::FileName, QFileInfo(aside).fileName())
                                       : QStringLiteral("%1 could not be read").arg(StationFile::FileName));
    }
    m_savedGeneration = m_database.generation();
}

void EmbeddedHost::checkBackgroundSave()
{
    if (m_backgroundChecked || !m_saving.isFinished())
        return;
    m_backgroundChecked = true;
    const QString error = m_saving.future().resultCount() > 0 ? m_saving.result() : QString();
    if (!error.isEmpty()) {
        // The file is behind what was counted as saved: the next save writes again.
        m_saveFailed = true;
        qWarning("Host: the stations could not be saved: %s", qPrintable(error));
    }
}

bool EmbeddedHost::saveStations(QString *errorText)
{
    m_saving.waitForFinished();
    checkBackgroundSave();
    if (m_database.generation() == m_savedGeneration && !m_saveFailed)
        return true;
    if (!StationFile::save(m_stationPath, m_database.snapshot(), errorText))
        return false;
    m_savedGeneration = m_database.generation();
    m_saveFailed = false;
    return true;
}

void EmbeddedHost::saveStationsInBackground()
{
    checkBackgroundSave();
    if (m_saving.isRunning() || (m_database.generation() == m_savedGeneration && !m_saveFailed))
        return;
    m_savedGeneration = m_database.generation();
    m_saveFailed = false;
    m_backgroundChecked = false;
    m_saving.setFuture(QtConcurrent::run([path = m_stationPath, snapshot = m_database.snapshot()] {
        QString error;
        StationFile::save(path, snapshot, &error);
        return error;
    }));
}

void EmbeddedHost::guarded(const std::function<void()> &work)
{
    try {
        work();
    } catch (const std::exception &error) {
        ++m_failed;
        qWarning("Host: a feed line failed and was dropped: %s", error.what());
    } catch (...) {
        ++m_failed;
        qWarning("Host: a feed line failed and was dropped");
    }
}

bool EmbeddedHost::openLink(const QString &applicationAndTopic, const QString &item, QString *errorText)
{
    auto fail = [&](const QString &text) {
        if (errorText)
            *errorText = text;
        return false;
    };
    if (!m_running)
        return fail(QStringLiteral("UI-View32 is not running."));
    if (applicationAndTopic.compare(LinkTopic, Qt::CaseInsensitive) != 0)
        return fail(QStringLiteral("No DDE server answers for \"%1\" (the host serves %2).")
                        .arg(applicationAndTopic, LinkTopic));
    if (item.compare(LinkItem, Qt::CaseInsensitive) != 0)
        return fail(QStringLiteral("The host has no DDE item \"%1\" (it serves %2).").arg(item, LinkItem));
    m_linkOpen = true;
    return true;
}

void EmbeddedHost::closeLink()
{
    m_linkOpen = false;
}

QString EmbeddedHost::timeText(const QDateTime &now)
{
    const qint64 second = now.toSecsSinceEpoch();
    if (second != m_cachedSecond) {
        m_cachedSecond = second;
        m_cachedTime = now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    return m_cachedTime;
}

bool EmbeddedHost::hearLine(const QString &line, QObject *via)
{
    if (!m_running)
        return false;
    Tnc2Frame frame;
    if (!parseTnc2(line, &frame)) {
        ++m_rejected;
        return false;
    }
    const QDateTime now = QDateTime::currentDateTime();
    if (m_database.applyFrame(frame, timeText(now), now.toSecsSinceEpoch()).dropped)
        ++m_dropped;
    if (m_config.logging)
        m_log.append(now, frame.toLine());
    if (m_linkOpen)
        emit frameReceived(frame.monitorText());
    if (frame.payload.startsWith(u':'))
        m_air->messenger()->hear(frame, via);
    scheduleRefresh();
    return true;
}

bool EmbeddedHost::hearSpot(const QString &line)
{
    if (!m_running)
        return false;
    DxSpotLine spot;
    if (!parseDxSpotLine(line, &spot)) {
        ++m_rejected;
        return false;
    }
    const SpotPlace place = placeOfSpot(m_prefixes, spot.callsign, m_homeLat, m_homeLon, m_config.distanceInMiles);
    emit NotifyDXSpot(line.trimmed(), spot.callsign, spot.frequency, place.latitude, place.longitude, place.bearing,
                      place.distance);
    return true;
}

void EmbeddedHost::beacon()
{
    if (!m_running || m_ownCall.isEmpty())
        return;
    const StationDatabase::Entry *own = m_database.find(m_ownCall);
    OnAir::Station station = m_air->station();
    // The symbol the station last sent, if it was heard with one.
    if (own && !own->symbolCode.isNull())
        station.symbol = QString(own->symbolTable) + own->symbolCode;
    if (station.symbol != m_air->station().symbol)
        m_air->setStation(station);
    m_air->beaconNow();
}

void EmbeddedHost::recordBeacon(const QString &line, double latitude, double longitude)
{
    Tnc2Frame frame;
    if (parseTnc2(line, &frame)) {
        const QDateTime now = QDateTime::currentDateTime();
        m_database.applyFrame(frame, timeText(now), now.toSecsSinceEpoch());
        if (m_config.logging)
            m_log.append(now, frame.toLine());
    }
    scheduleRefresh();
    emit NotifyBeacon(m_ownCall, float(latitude * 60.0), float(longitude * 60.0));
}

void EmbeddedHost::setGpsFix(double latitude, double longitude, double course, double speedKmh, qint64 timeMs)
{
    m_air->setGpsFix(latitude, longitude, course, speedKmh, timeMs);
}

QString EmbeddedHost::beaconStatus() const
{
    return m_air->beaconStatus();
}

Messenger *EmbeddedHost::messenger() const
{
    return m_air->messenger();
}

int EmbeddedHost::unreadMessages() const
{
    return m_air->messenger()->unread();
}

void EmbeddedHost::showMessagesWindow()
{
    if (!m_running)
        return;
    if (!m_messagesWindow)
        m_messagesWindow = new MessagesWindow(m_air->messenger());
    m_messagesWindow->showAndRaise();
}

void EmbeddedHost::quit()
{
    if (!m_running)
        return;
    keepGpsHome();
    m_running = false;
    m_linkOpen = false;
    m_air->stop();
    for (Feed *feed : m_feeds)
        feed->stop();
    QString error;
    if (!saveStations(&error))
        qWarning("Host: the stations could not be saved: %s", qPrintable(error));
    if (m_window->isVisible()) {
        m_window->rememberPlacement();
        m_window->hide();
    }
    if (m_messagesWindow)
        m_messagesWindow->hide();
    emit UIView32IsClosing();
}

bool EmbeddedHost::lookUpStation(HostStationRecord &record)
{
    const StationDatabase::Entry *entry = m_database.find(record.callsign.trimmed());
    if (!entry)
        return false;
    record = entry->record();
    return entry->hasPosition;
}

HostMap *EmbeddedHost::map()
{
    return m_map;
}

void EmbeddedHost::refreshMap()
{
    m_map->redraw();
}

QStringList EmbeddedHost::placedObjects()
{
    // Named symbols (DX stations) are objects on the map like any other.
    QStringList names;
    for (const PlacedObject &object : m_placed)
        names.append(object.name);
    for (const QString &name : m_map->namedSymbolNames())
        if (!names.contains(name))
            names.append(name);
    return names;
}

void EmbeddedHost::removePlacedObject(const QString &name)
{
    bool removed = m_map->removeNamedSymbol(name);
    for (qsizetype i = 0; i < m_placed.size(); ++i)
        if (m_placed[i].name == name) {
            m_placed.removeAt(i);
            removed = true;
            break;
        }
    if (removed)
        emit m_map->contentChanged();
}

HostTelemetry EmbeddedHost::stationTelemetry(const QString &callsign)
{
    const telemetry::Station *station = m_database.telemetryOf(callsign.trimmed());
    return station ? telemetry::describe(*station) : HostTelemetry();
}

int EmbeddedHost::placeObject(const PlacedObject &object)
{
    const QString name = object.name.trimmed();
    if (name.isEmpty())
        return int(PlaceObjectStatus::UndefinedObjectError);
    if (name.size() > MaxObjectName || !std::isfinite(object.latitude) || !std::isfinite(object.longitude)
        || std::abs(object.latitude) > 90.0 || std::abs(object.longitude) > 180.0
        || object.symbolCode.size() > 1 || object.symbolTable.size() > 1)
        return int(PlaceObjectStatus::DataFormatError);
    // An object someone else is sending keeps its owner.
    const StationDatabase::Entry *heard = m_database.find(name);
    if (heard && heard->isObject && heard->owner != m_ownCall)
        return int(PlaceObjectStatus::NotMine);
    PlacedObject placed = object;
    placed.name = name;
    for (PlacedObject &existing : m_placed)
        if (existing.name == name) {
            existing = placed;
            emit m_map->contentChanged();
            return int(PlaceObjectStatus::Created);
        }
    m_placed.append(placed);
    emit m_map->contentChanged();
    return int(PlaceObjectStatus::Created);
}

qint16 EmbeddedHost::stationListSize()
{
    return qint16(std::min(m_database.size(), 32767));
}

QString EmbeddedHost::stationListLine(int index)
{
    // "+" heard direct, "-" an object or item; "*" after a station the host
    // holds no position for. Then the position and the time last heard.
    if (index < 0 || index >= m_database.size())
        return {};
    const StationDatabase::Entry &entry = m_database.at(index);
    QString line = entry.isObject ? QStringLiteral("-") : (entry.heardDirect ? QStringLiteral("+") : QString());
    line += entry.name;
    if (!entry.hasPosition)
        line += u'*';
    if (entry.hasPosition)
        line += u' ' + iniPosition(entry.latitude / 60.0, false) + u' ' + iniPosition(entry.longitude / 60.0, true);
    if (!entry.timeHeard.isEmpty())
        line += u' ' + entry.timeHeard;
    return line;
}

QImage EmbeddedHost::symbolPicture(const QString &symbolTable, const QString &symbolCode)
{
    return SymbolPainter::image(symbolTable.isEmpty() ? QChar(u'/') : symbolTable[0],
                                symbolCode.isEmpty() ? QChar(u'?') : symbolCode[0]);
}

HostApplication::DistanceBearing EmbeddedHost::distanceAndBearing(double observerLatitude,
                                                                  double observerLongitude,
                                                                  double stationLatitude,
                                                                  double stationLongitude, bool kilometres)
{
    const geo::DistanceBearing db =
        geo::distanceBearing(observerLatitude, observerLongitude, stationLatitude, stationLongitude);
    DistanceBearing result;
    result.distance = kilometres ? db.distanceKm : db.distanceKm / geo::KmPerMile;
    result.bearing = db.bearing;
    return result;
}

void EmbeddedHost::scheduleRefresh()
{
    if (!m_refreshTimer.isActive())
        m_refreshTimer.start(RefreshMs);
}

void EmbeddedHost::updateWindow()
{
    QStringList lines;
    for (Feed *feed : m_feeds)
        lines.append(feed->statusLine());
    for (const QString &problem : m_config.problems)
        lines.append(problem);
    lines.append(m_air->beaconStatus());
    if (m_feeds.isEmpty() && m_config.problems.isEmpty())
        lines.append(QStringLiteral("No feeds configured in %1").arg(HostConfig::FileName));
    int positioned = 0;
    for (int i = 0; i < m_database.size(); ++i)
        positioned += m_database.at(i).hasPosition ? 1 : 0;
    m_window->setStatusLines(lines, QStringLiteral("%1: %2 stations").arg(m_ownCall, QString::number(positioned)));
    emit m_map->contentChanged();
}
