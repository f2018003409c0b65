#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The host's own settings, kept in "KestrelHost.ini" in the host folder:
//
//   [Host]      BeaconInterval (minutes, 0 = off), BeaconComment, Symbol ("/-"),
//               Status (sent with every beacon), AnswerFor (more calls
//               messages are taken for, "CALL-*" for every SSID), DistanceUnit ("km" or "miles"
//               for DX spot distances), Logging (1 = write monitor logs),
//               LogDays (monitor logs kept, 0 = all), StationHours (a station
//               not heard for this long is forgotten, 0 = never), MaxStations
//   [Feed1] ... [Feed9]
//               Type = replay | kiss | aprs-is | dxcluster | dxreplay |
//                      serial-kiss | gpsd
//               Enabled = 1
//               File, Speed, Loop, Interval   (replay, dxreplay; File relative
//                                              to the host folder)
//               Host, Port                     (kiss, aprs-is, dxcluster, gpsd;
//                                              gpsd defaults to 127.0.0.1:2947)
//               Device, Baud = 9600            (serial-kiss)
//               Callsign, Filter               (aprs-is, dxcluster; Callsign
//                                              defaults to the own station)
//               IdleTimeout                    (kiss, aprs-is, dxcluster: seconds
//                                              without a byte before reconnecting,
//                                              0 = never)
//               Transmit = 0                   (kiss, serial-kiss, aprs-is: 1 lets the feed send
//                                              the station's own frames)
//               Passcode                       (aprs-is: the login's passcode)
//               Path = WIDE1-1,WIDE2-1         (kiss, serial-kiss: digipeaters of frames sent;
//                                              empty for none)
//   [Map]       TileServer (URL with {z}, {x} and {y}; empty = no online
//               tiles), TileAttribution (the credit shown with them),
//               TileMaxZoom (the server's deepest zoom), TileCacheMB (the
//               disk cache's limit)
struct FeedSettings
{
    enum class Type { Replay, Kiss, AprsIs, DxCluster, DxReplay, SerialKiss, Gpsd };
    Type type = Type::Replay;
    QString name;  // section name
    QString file;  // absolute path
    double speed = 1.0;
    bool loop = false;
    int intervalMs = 1000;  // between lines that carry no time stamp
    QString host;
    quint16 port = 0;
    QString callsign;
    QString filter;
    int idleTimeoutSeconds = 0;  // 0: never
    bool transmit = false;       // only ever on when the user turned it on
    QString passcode;
    QString path = DefaultPath;
    QString device;     // serial-kiss: /dev/ttyUSB0, /dev/rfcomm0, a pseudo-terminal
    qint32 baud = 9600;  // serial-kiss
    bool enabled = true;  // a disabled feed is kept in the file and never started

    bool operator==(const FeedSettings &) const = default;

    static inline const QString DefaultPath = QStringLiteral("WIDE1-1,WIDE2-1");

    // An APRS-IS server sends a "#" line about every 20 s; a TNC on a quiet
    // channel or a DX cluster at night can be silent for much longer.
    static int defaultIdleTimeout(Type type);
};

// Where the map's online tiles come from.
struct TileServerSettings
{
    static inline const QString DefaultServer = QStringLiteral("https://tile.openstreetmap.org/{z}/{x}/{y}.png");
    static inline const QString DefaultAttribution = QStringLiteral("\u00A9 OpenStreetMap contributors");

    QString server = DefaultServer;
    QString attribution = DefaultAttribution;
    int maxZoom = 19;
    int cacheMB = 256;
};

struct HostConfig
{
    static inline const QString FileName = QStringLiteral("KestrelHost.ini");

    int beaconIntervalMinutes = 30;
    QString beaconComment;
    QString symbol = QStringLiteral("/-");
    QString status;
    QStringList answerFor;
    bool distanceInMiles = false;
    bool logging = true;
    int logDays = 30;
    int stationHours = 24;
    int maxStations = 500000;
    TileServerSettings tiles;
    QList<FeedSettings> feeds;
    QStringList problems;  // sections that could not be used, with the reason

    static HostConfig read(const QString &hostFolder);
    static QString typeName(FeedSettings::Type type);
    // The word the file uses for the type ("aprs-is").
    static QString typeKey(FeedSettings::Type type);

    // Writes the [Host] keys and the feed sections back to the file: only
    // values that differ from what the file reads as now are set, sections
    // of feeds no longer listed are removed, everything else is left as it
    // is. A feed without a name gets the first free [FeedN]. False with the
    // reason when the file cannot be written or more than nine feeds are
    // listed.
    bool write(const QString &hostFolder, QString *errorText = nullptr);
};
