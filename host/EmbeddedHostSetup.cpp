// The host's station and feeds as the user changes them while it runs.
#include "host/EmbeddedHost.h"

#include "core/PrivateProfile.h"
#include "host/aprs/Beacon.h"
#include "host/feeds/Feed.h"
#include "host/map/EmbeddedHostMap.h"
#include "host/map/HostMapWindow.h"
#include "host/setup/FeedsWindow.h"
#include "host/setup/StationWindow.h"

#include <QApplication>

#include <algorithm>
#include <cmath>

namespace {
// A GPS wanders by a few metres when standing still; smaller moves than
// this (about 10 m) do not measure every list again.
constexpr double GpsStepDegrees = 0.0001;
}

EmbeddedHost::StationSettings EmbeddedHost::station() const
{
    StationSettings s;
    s.callsign = m_ownCall;
    s.latitude = m_homeLat;
    s.longitude = m_homeLon;
    s.symbol = m_config.symbol;
    s.comment = m_config.beaconComment;
    s.status = m_config.status;
    s.beaconIntervalMinutes = m_config.beaconIntervalMinutes;
    return s;
}

bool EmbeddedHost::applyStation(const StationSettings &station, QString *errorText)
{
    auto fail = [&](const QString &text) {
        if (errorText)
            *errorText = text;
        return false;
    };
    const QString callsign = station.callsign.trimmed().toUpper();
    PrivateProfile ini(stationIniPath(m_folder));
    ini.load();
    const QString section = QStringLiteral("STATION");
    const QString latitude = iniPosition(station.latitude, false);
    const QString longitude = iniPosition(station.longitude, true);
    // Only what changed is written: the rest of the file is the host's own.
    auto set = [&](const char *key, const QString &value) {
        const QString name = QLatin1String(key);
        return ini.value(section, name).trimmed() == value || ini.setValue(section, name, value);
    };
    if (!set("CALLSIGN", callsign) || !set("LATITUDE", latitude) || !set("LONGITUDE", longitude))
        return fail(QStringLiteral("The callsign holds a line end."));
    HostConfig config = m_config;
    config.symbol = station.symbol;
    config.beaconComment = station.comment;
    config.status = station.status;
    config.beaconIntervalMinutes = std::max(0, station.beaconIntervalMinutes);
    QString error;
    if (!ini.save(&error))
        return fail(error);
    if (!config.write(m_folder, &error))
        return fail(error);

    const bool callChanged = callsign != m_ownCall;
    const bool statusChanged = config.status != m_config.status;
    m_config.symbol = config.symbol;
    m_config.beaconComment = config.beaconComment;
    m_config.status = config.status;
    m_config.beaconIntervalMinutes = config.beaconIntervalMinutes;
    m_ownCall = callsign;
    m_homeLat = station.latitude;
    m_homeLon = station.longitude;
    applyHome();
    if (callChanged) {
        // Feeds that log in as the home station log in again with the new call.
        QList<FeedSettings> feeds = m_config.feeds;
        for (Feed *feed : std::as_const(m_feeds))
            for (const FeedSettings &s : feeds)
                if (s.name == feed->settings().name && s.callsign.isEmpty())
                    reconnectFeed(s.name);
    }
    if (statusChanged && !m_config.status.isEmpty() && !m_ownCall.isEmpty())
        hearLine(m_ownCall + u'>' + BeaconDestination + QStringLiteral(":>") + m_config.status);
    // The changed station goes on the air a few seconds from now.
    m_air->setStation(airStation());
    return true;
}

void EmbeddedHost::moveHome(double latitude, double longitude)
{
    if (!std::isfinite(latitude) || !std::isfinite(longitude) || std::abs(latitude) > 90 || std::abs(longitude) > 180)
        return;
    m_homeLat = latitude;
    m_homeLon = longitude;
    applyHome();
}

void EmbeddedHost::applyHome()
{
    m_database.setOwnStation(m_ownCall, m_homeLat * 60.0, m_homeLon * 60.0, m_config.symbol[0], m_config.symbol[1]);
    m_map->setHome(m_ownCall, m_homeLat, m_homeLon);
    updateWindow();
    emit homeStationChanged(m_ownCall, m_homeLat, m_homeLon);
}

bool EmbeddedHost::applyFeeds(const QList<FeedSettings> &feeds, QString *errorText)
{
    HostConfig config = m_config;
    config.feeds = feeds;
    if (!config.write(m_folder, errorText))
        return false;
    // Read back, so the host runs exactly what the file now says.
    const QList<FeedSettings> written = HostConfig::read(m_folder).feeds;
    auto named = [](const QList<FeedSettings> &list, const QString &name) -> const FeedSettings * {
        for (const FeedSettings &s : list)
            if (s.name.compare(name, Qt::CaseInsensitive) == 0)
                return &s;
        return nullptr;
    };
    QList<Feed *> kept;
    for (Feed *feed : std::as_const(m_feeds)) {
        const FeedSettings *was = named(m_config.feeds, feed->settings().name);
        const FeedSettings *now = named(written, feed->settings().name);
        if (was && now && *was == *now) {
            kept.append(feed);
            continue;
        }
        feed->stop();
        feed->deleteLater();
    }
    QList<Feed *> next;
    for (const FeedSettings &s : written) {
        auto running = std::find_if(kept.begin(), kept.end(), [&](Feed *f) { return f->settings().name == s.name; });
        if (running != kept.end()) {
            next.append(*running);
            continue;
        }
        if (Feed *feed = makeFeed(s)) {
            next.append(feed);
            if (m_feedsStarted)
                feed->start();
        }
    }
    m_feeds = next;
    m_config.feeds = written;
    m_config.problems.clear();
    updateWindow();
    emit feedsChanged();
    return true;
}

Feed *EmbeddedHost::feed(const QString &section) const
{
    for (Feed *feed : m_feeds)
        if (feed->settings().name.compare(section, Qt::CaseInsensitive) == 0)
            return feed;
    return nullptr;
}

void EmbeddedHost::reconnectFeed(const QString &section)
{
    if (Feed *running = feed(section); running && m_feedsStarted)
        running->reconnectNow();
}

void EmbeddedHost::showStationSetup()
{
    // Asked from a modal dialog (the options), it must take input over it.
    QWidget *modal = QApplication::activeModalWidget();
    // A window left hidden by OK or Cancel would show what it held then.
    if (m_stationWindow && !m_stationWindow->isVisible())
        delete m_stationWindow;
    if (m_stationWindow && modal && m_stationWindow != modal && m_stationWindow->parentWidget() != modal)
        delete m_stationWindow;
    if (!m_stationWindow) {
        m_stationWindow = new StationWindow(this, modal ? modal : m_window);
        m_stationWindow->setAttribute(Qt::WA_DeleteOnClose);
        if (modal)
            m_stationWindow->setWindowModality(Qt::WindowModal);
    }
    m_stationWindow->show();
    m_stationWindow->raise();
    m_stationWindow->activateWindow();
}

void EmbeddedHost::showFeedsSetup()
{
    if (!m_feedsWindow) {
        m_feedsWindow = new FeedsWindow(this, m_window);
        m_feedsWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_feedsWindow->show();
    m_feedsWindow->raise();
    m_feedsWindow->activateWindow();
}

bool EmbeddedHost::gpsFix(double *latitude, double *longitude) const
{
    *latitude = m_gpsLat;
    *longitude = m_gpsLon;
    return m_hasGpsFix;
}

void EmbeddedHost::onGpsFix(double latitude, double longitude)
{
    m_hasGpsFix = true;
    m_gpsLat = latitude;
    m_gpsLon = longitude;
    emit gpsFixed(latitude, longitude);
    if (std::abs(latitude - m_homeLat) < GpsStepDegrees && std::abs(longitude - m_homeLon) < GpsStepDegrees)
        return;
    m_gpsMoved = true;
    moveHome(latitude, longitude);
}

void EmbeddedHost::keepGpsHome()
{
    // Where the GPS left the station is home from now on, across a restart too.
    if (!m_gpsMoved)
        return;
    m_gpsMoved = false;
    PrivateProfile ini(stationIniPath(m_folder));
    ini.load();
    const QString section = QStringLiteral("STATION");
    ini.setValue(section, QStringLiteral("LATITUDE"), iniPosition(m_homeLat, false));
    ini.setValue(section, QStringLiteral("LONGITUDE"), iniPosition(m_homeLon, true));
    QString error;
    if (!ini.save(&error))
        qWarning("Host: the GPS position could not be kept: %s", qPrintable(error));
}
