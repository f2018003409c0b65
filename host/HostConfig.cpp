#include "host/HostConfig.h"

#include "core/PrivateProfile.h"
#include "host/aprs/AprsDecoder.h"

#include <QDir>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

bool readBool(const PrivateProfile &ini, const QString &section, const QString &key, bool fallback)
{
    const QString text = ini.value(section, key).trimmed().toLower();
    if (text.isEmpty())
        return fallback;
    return text == QLatin1String("1") || text == QLatin1String("true") || text == QLatin1String("yes")
           || text == QLatin1String("on");
}

// Waits are kept by timers, which hold at most this many milliseconds (24.8
// days); a longer setting means "as long as can be".
constexpr int kMostTimerMs = std::numeric_limits<int>::max();

} // namespace

int FeedSettings::defaultIdleTimeout(Type type)
{
    switch (type) {
    case Type::AprsIs: return 120;
    case Type::Kiss:
    case Type::DxCluster: return 900;
    case Type::Replay:
    case Type::DxReplay:
    case Type::SerialKiss:  // a device that goes says so itself
    case Type::Gpsd: return 0;  // gpsd is silent while no GPS is plugged in
    }
    return 0;
}

QString HostConfig::typeKey(FeedSettings::Type type)
{
    switch (type) {
    case FeedSettings::Type::Replay: return QStringLiteral("replay");
    case FeedSettings::Type::Kiss: return QStringLiteral("kiss");
    case FeedSettings::Type::AprsIs: return QStringLiteral("aprs-is");
    case FeedSettings::Type::DxCluster: return QStringLiteral("dxcluster");
    case FeedSettings::Type::DxReplay: return QStringLiteral("dxreplay");
    case FeedSettings::Type::SerialKiss: return QStringLiteral("serial-kiss");
    case FeedSettings::Type::Gpsd: return QStringLiteral("gpsd");
    }
    return {};
}

QString HostConfig::typeName(FeedSettings::Type type)
{
    switch (type) {
    case FeedSettings::Type::Replay: return QStringLiteral("Replay");
    case FeedSettings::Type::Kiss: return QStringLiteral("KISS");
    case FeedSettings::Type::AprsIs: return QStringLiteral("APRS-IS");
    case FeedSettings::Type::DxCluster: return QStringLiteral("DX cluster");
    case FeedSettings::Type::DxReplay: return QStringLiteral("DX replay");
    case FeedSettings::Type::SerialKiss: return QStringLiteral("Serial KISS");
    case FeedSettings::Type::Gpsd: return QStringLiteral("GPS (gpsd)");
    }
    return {};
}

HostConfig HostConfig::read(const QString &hostFolder)
{
    HostConfig config;
    PrivateProfile ini(hostFolder + u'/' + FileName);
    ini.load();
    const QString host = QStringLiteral("Host");
    bool ok = false;
    const int interval = ini.value(host, QStringLiteral("BeaconInterval")).toInt(&ok);
    if (ok && interval >= 0)
        config.beaconIntervalMinutes = std::min(interval, kMostTimerMs / 60000);
    config.beaconComment = ini.value(host, QStringLiteral("BeaconComment"));
    const QString symbol = ini.value(host, QStringLiteral("Symbol"));
    // One the beacon can carry: a table (or overlay) and a printable code.
    if (symbol.size() == 2 && aprs::isSymbolTable(symbol[0], false) && aprs::isSymbolCode(symbol[1]))
        config.symbol = symbol;
    config.status = ini.value(host, QStringLiteral("Status"));
    for (const QString &call : ini.value(host, QStringLiteral("AnswerFor")).split(u',', Qt::SkipEmptyParts))
        if (!call.trimmed().isEmpty())
            config.answerFor.append(call.trimmed().toUpper());
    config.distanceInMiles = ini.value(host, QStringLiteral("DistanceUnit")).trimmed().toLower().startsWith(u'm');
    config.logging = readBool(ini, host, QStringLiteral("Logging"), true);
    auto readCount = [&](const QString &key, int *value, int minimum) {
        const int n = ini.value(host, key).trimmed().toInt(&ok);
        if (ok && n >= minimum)
            *value = n;
    };
    readCount(QStringLiteral("LogDays"), &config.logDays, 0);
    readCount(QStringLiteral("StationHours"), &config.stationHours, 0);
    readCount(QStringLiteral("MaxStations"), &config.maxStations, 1);

    const QString map = QStringLiteral("Map");
    if (ini.contains(map, QStringLiteral("TileServer"))) {
        const QString server = ini.value(map, QStringLiteral("TileServer")).trimmed();
        if (server != config.tiles.server) {
            // Another server's tiles carry that server's credit, not ours.
            config.tiles.server = server;
            config.tiles.attribution.clear();
        }
    }
    if (ini.contains(map, QStringLiteral("TileAttribution")))
        config.tiles.attribution = ini.value(map, QStringLiteral("TileAttribution")).trimmed();
    const int maxZoom = ini.value(map, QStringLiteral("TileMaxZoom")).trimmed().toInt(&ok);
    if (ok && maxZoom >= 0)
        config.tiles.maxZoom = maxZoom;
    const int cacheMB = ini.value(map, QStringLiteral("TileCacheMB")).trimmed().toInt(&ok);
    if (ok && cacheMB >= 0)
        config.tiles.cacheMB = cacheMB;

    for (int n = 1; n <= 9; ++n) {
        const QString section = QStringLiteral("Feed%1").arg(n);
        if (!ini.sectionNames().contains(section, Qt::CaseInsensitive))
            continue;
        FeedSettings feed;
        feed.name = section;
        feed.enabled = readBool(ini, section, QStringLiteral("Enabled"), true);
        const QString type = ini.value(section, QStringLiteral("Type")).trimmed().toLower();
        if (type.isEmpty() && !feed.enabled)
            continue;  // a section emptied by hand
        if (type == QLatin1String("replay"))
            feed.type = FeedSettings::Type::Replay;
        else if (type == QLatin1String("kiss"))
            feed.type = FeedSettings::Type::Kiss;
        else if (type == QLatin1String("aprs-is") || type == QLatin1String("aprsis"))
            feed.type = FeedSettings::Type::AprsIs;
        else if (type == QLatin1String("dxcluster"))
            feed.type = FeedSettings::Type::DxCluster;
        else if (type == QLatin1String("dxreplay"))
            feed.type = FeedSettings::Type::DxReplay;
        else if (type == QLatin1String("serial-kiss") || type == QLatin1String("serial"))
            feed.type = FeedSettings::Type::SerialKiss;
        else if (type == QLatin1String("gpsd"))
            feed.type = FeedSettings::Type::Gpsd;
        else {
            config.problems.append(section + QStringLiteral(": unknown feed type \"") + type + u'"');
            continue;
        }
        const QString file = ini.value(section, QStringLiteral("File"));
        if (!file.isEmpty())
            feed.file = QDir::isAbsolutePath(file) ? file : QDir(hostFolder).filePath(file);
        const double speed = ini.value(section, QStringLiteral("Speed")).toDouble(&ok);
        if (ok && speed > 0 && std::isfinite(speed))
            feed.speed = speed;
        feed.loop = readBool(ini, section, QStringLiteral("Loop"), false);
        const int lineInterval = ini.value(section, QStringLiteral("Interval")).toInt(&ok);
        if (ok && lineInterval >= 0)
            feed.intervalMs = lineInterval;
        feed.host = ini.value(section, QStringLiteral("Host"), QStringLiteral("127.0.0.1"));
        const int port = ini.value(section, QStringLiteral("Port")).toInt(&ok);
        if (ok && port > 0 && port < 65536)
            feed.port = quint16(port);
        else if (feed.type == FeedSettings::Type::Gpsd)
            feed.port = 2947;
        feed.device = ini.value(section, QStringLiteral("Device")).trimmed();
        const int baud = ini.value(section, QStringLiteral("Baud")).trimmed().toInt(&ok);
        if (ok && baud > 0)
            feed.baud = baud;
        feed.callsign = ini.value(section, QStringLiteral("Callsign"));
        feed.filter = ini.value(section, QStringLiteral("Filter"));
        feed.idleTimeoutSeconds = FeedSettings::defaultIdleTimeout(feed.type);
        const int idle = ini.value(section, QStringLiteral("IdleTimeout")).trimmed().toInt(&ok);
        if (ok && idle >= 0)
            feed.idleTimeoutSeconds = std::min(idle, kMostTimerMs / 1000);
        feed.transmit = readBool(ini, section, QStringLiteral("Transmit"), false);
        feed.passcode = ini.value(section, QStringLiteral("Passcode")).trimmed();
        if (ini.contains(section, QStringLiteral("Path")))
            feed.path = ini.value(section, QStringLiteral("Path")).trimmed();
        const bool isFile = feed.type == FeedSettings::Type::Replay || feed.type == FeedSettings::Type::DxReplay;
        if (isFile && feed.file.isEmpty()) {
            config.problems.append(section + QStringLiteral(": no File"));
            continue;
        }
        if (feed.type == FeedSettings::Type::SerialKiss) {
            if (feed.device.isEmpty()) {
                config.problems.append(section + QStringLiteral(": no Device"));
                continue;
            }
        } else if (!isFile && feed.port == 0) {
            config.problems.append(section + QStringLiteral(": no Port"));
            continue;
        }
        config.feeds.append(feed);
    }
    return config;
}
