#pragma once

#include "core/HostApplication.h"
#include "host/HostConfig.h"
#include "host/MonitorLog.h"
#include "host/OnAir.h"
#include "host/PrefixTable.h"
#include "host/StationDatabase.h"

#include <QDateTime>
#include <QFutureWatcher>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

class EmbeddedHostMap;
class Feed;
class HostMapTiles;
class HostMapWindow;
class MessagesWindow;
class Messenger;

// The APRS host that runs inside Kestrel on Linux: it keeps the station
// database, draws its own map window and listens to the feeds configured in
// its folder. Kestrel talks to it only through HostApplication and HostMap.
class EmbeddedHost : public HostApplication
{
    Q_OBJECT
public:
    struct Options
    {
        bool showWindow = true;  // false also when KESTREL_HOST_HEADLESS=1
        bool startFeeds = true;
        QString messageFolder;  // where conversations are kept; the host folder when empty
    };

    static inline const QString LinkTopic = QStringLiteral("UIVIEW32|UIVData");
    static inline const QString LinkItem = QStringLiteral("labDDE");
    static inline const QString BeaconDestination = QStringLiteral("APZKES");

    // Use createEmbeddedHost, which checks the folder first.
    EmbeddedHost(const QString &hostFolder, const Options &options, QObject *parent = nullptr);
    ~EmbeddedHost() override;

    // HostApplication
    bool openLink(const QString &applicationAndTopic, const QString &item, QString *errorText) override;
    void closeLink() override;
    bool isLinkOpen() const override { return m_linkOpen; }
    bool lookUpStation(HostStationRecord &record) override;
    HostMap *map() override;
    void refreshMap() override;
    QStringList placedObjects() override;
    void removePlacedObject(const QString &name) override;
    int placeObject(const PlacedObject &object) override;
    qint16 stationListSize() override;
    QString stationListLine(int index) override;
    QImage symbolPicture(const QString &symbolTable, const QString &symbolCode) override;
    HostTelemetry stationTelemetry(const QString &callsign) override;
    DistanceBearing distanceAndBearing(double observerLatitude, double observerLongitude,
                                       double stationLatitude, double stationLongitude,
                                       bool kilometres) override;
    bool spotDistancesInMiles() const override { return m_config.distanceInMiles; }
    bool hasMapWindow() const override { return m_window; }
    // Shows the map window (beside Kestrel's main window the first time).
    void showMapWindow() override;
    bool hasMessages() const override { return true; }
    void showMessagesWindow() override;
    int unreadMessages() const override;

    bool hasSetupWindows() const override { return true; }
    void showStationSetup() override;
    void showFeedsSetup() override;

    // The home station as the Station window sets it up.
    struct StationSettings
    {
        QString callsign;
        double latitude = 0, longitude = 0;  // degrees
        QString symbol = QStringLiteral("/-");
        QString comment;
        QString status;
        int beaconIntervalMinutes = 30;
    };
    StationSettings station() const;
    // Writes UIVIEW32.INI and KestrelHost.ini and applies the station at once.
    bool applyStation(const StationSettings &station, QString *errorText = nullptr);
    // Moves the home station without writing a file (a GPS fix).
    void moveHome(double latitude, double longitude);
    // Writes the feeds and restarts just those that changed; false with the
    // reason when the file cannot be written (then nothing changes).
    bool applyFeeds(const QList<FeedSettings> &feeds, QString *errorText = nullptr);
    // The running feed of a section; null for a disabled or unusable one.
    Feed *feed(const QString &section) const;
    void reconnectFeed(const QString &section);
    // The last fix of a gpsd feed; false while there has been none.
    bool gpsFix(double *latitude, double *longitude) const;
    // UIVIEW32.INI in the folder, whatever its letter case.
    static QString stationIniPath(const QString &hostFolder);

    // The host's own intake: one TNC2 line heard (by the feed via, if any);
    // false when it is not a frame.
    bool hearLine(const QString &line, QObject *via = nullptr);
    // One "DX de" cluster line; false when it is not a spot.
    bool hearSpot(const QString &line);
    // Sends the own beacon now on every transmitting feed (the host does it
    // at the configured interval); only a beacon that went out is recorded.
    void beacon();
    // A beacon went out: it is kept as the station's own last frame, written
    // to the monitor log and announced (NotifyBeacon).
    void recordBeacon(const QString &line, double latitude, double longitude);
    // Where a GPS puts the station (course in degrees, speed in km/h, time
    // in ms since the epoch): the beacon follows it while the fix is fresh.
    void setGpsFix(double latitude, double longitude, double course, double speedKmh, qint64 timeMs);
    // "Beacon: not sent (no feed transmits)" and the like.
    QString beaconStatus() const;
    OnAir *onAir() const { return m_air; }
    Messenger *messenger() const;
    MessagesWindow *messagesWindow() const { return m_messagesWindow; }
    // The host closes (its "Quit" command, confirmed): feeds stop, the link
    // closes, UIView32IsClosing fires.
    void quit();
    bool isRunning() const { return m_running; }

    const StationDatabase &database() const { return m_database; }
    // The objects placed through placeObject, as the map draws them.
    const QList<PlacedObject> &placed() const { return m_placed; }
    EmbeddedHostMap *hostMap() const { return m_map; }
    HostMapTiles *mapTiles() const { return m_tiles; }
    HostMapWindow *window() const { return m_window; }
    const QList<Feed *> &feeds() const { return m_feeds; }
    const HostConfig &config() const { return m_config; }
    QString hostFolder() const { return m_folder; }
    QString ownCallsign() const { return m_ownCall; }
    int rejectedLines() const { return m_rejected; }
    // Frames whose station the full database could not take.
    int droppedFrames() const { return m_dropped; }
    // Feed lines whose handling threw.
    int failedLines() const { return m_failed; }
    void startFeeds();
    // Forgets the stations not heard for the configured hours (a timer does
    // it every minute); returns how many went.
    int ageStations(qint64 nowSeconds);
    // Writes the station database to the host folder now, after any save
    // under way; a timer saves every few minutes on another thread, and
    // the host saves when it ends. False with the reason when it fails.
    bool saveStations(QString *errorText = nullptr);
    QString stationFilePath() const { return m_stationPath; }

signals:
    void feedsChanged();
    void gpsFixed(double latitude, double longitude);

private:
    Feed *makeFeed(const FeedSettings &settings);
    OnAir::Station airStation() const;
    void applyHome();
    void onGpsFix(double latitude, double longitude);
    void keepGpsHome();
    QString timeText(const QDateTime &now);
    void guarded(const std::function<void()> &work);
    void scheduleRefresh();
    void updateWindow();
    void restoreStations();
    void saveStationsInBackground();
    void checkBackgroundSave();

    QString m_folder;
    HostConfig m_config;
    StationDatabase m_database;
    PrefixTable m_prefixes;
    bool m_prefixesLoaded = false;
    MonitorLog m_log;
    EmbeddedHostMap *m_map = nullptr;
    HostMapTiles *m_tiles = nullptr;
    HostMapWindow *m_window = nullptr;  // top-level, owned here
    QList<Feed *> m_feeds;
    QList<PlacedObject> m_placed;
    QString m_ownCall;
    double m_homeLat = 0, m_homeLon = 0;  // degrees
    bool m_linkOpen = false;
    bool m_feedsStarted = false;
    bool m_hasGpsFix = false;
    bool m_gpsMoved = false;  // the GPS moved home since it was last written
    double m_gpsLat = 0, m_gpsLon = 0;
    QPointer<QWidget> m_stationWindow, m_feedsWindow;
    bool m_running = true;
    int m_rejected = 0;
    int m_dropped = 0;
    int m_failed = 0;
    QTimer m_refreshTimer;
    OnAir *m_air = nullptr;
    MessagesWindow *m_messagesWindow = nullptr;  // top-level, made when first shown
    QTimer m_ageTimer;
    QTimer m_saveTimer;
    QString m_stationPath;
    quint32 m_savedGeneration = 0;
    QFutureWatcher<QString> m_saving;  // the error text of a background save
    bool m_backgroundChecked = true;
    bool m_saveFailed = false;
    qint64 m_cachedSecond = -1;
    QString m_cachedTime;
};

// Creates the host for a folder holding UIVIEW32.INI; returns nullptr and
// sets errorText when the folder cannot serve as a host folder.
HostApplication *createEmbeddedHost(const QString &hostFolder, QObject *parent, QString *errorText);
