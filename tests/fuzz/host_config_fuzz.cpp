// The host's own settings file (KestrelHost.ini): whatever it holds, every
// value read is one the host can use, and its feeds can be built from them.
#include "FuzzSupport.h"

#include "host/feeds/Feed.h"
#include "host/HostConfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <climits>
#include <cmath>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::startApplication<QCoreApplication>();
    // Only the folder outlives an input; the file is written afresh.
    static QTemporaryDir dir;
    {
        QFile file(dir.filePath(HostConfig::FileName));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    const HostConfig config = HostConfig::read(dir.path());
    fuzz::require(config.beaconIntervalMinutes >= 0 && qint64(config.beaconIntervalMinutes) * 60000 <= INT_MAX,
                  "a beacon interval a timer holds");
    fuzz::require(config.logDays >= 0 && config.stationHours >= 0 && config.maxStations >= 1, "counts in range");
    fuzz::require(config.symbol.size() == 2, "a symbol is table and code");
    fuzz::require(config.feeds.size() <= 9, "at most nine feeds");
    for (const FeedSettings &feed : config.feeds) {
        fuzz::require(std::isfinite(feed.speed) && feed.speed > 0, "a replay speed", QString::number(feed.speed));
        fuzz::require(feed.intervalMs >= 0, "a line interval");
        fuzz::require(feed.idleTimeoutSeconds >= 0 && qint64(feed.idleTimeoutSeconds) * 1000 <= INT_MAX,
                      "an idle timeout a timer holds");
        const bool isFile = feed.type == FeedSettings::Type::Replay || feed.type == FeedSettings::Type::DxReplay;
        fuzz::require(isFile ? QDir::isAbsolutePath(feed.file) : feed.port > 0, "a feed has its source");
        std::unique_ptr<Feed> built(createFeed(feed, QStringLiteral("N0CALL"), nullptr));
        fuzz::require(built != nullptr, "every feed read can be built");
        (void)built->statusLine();
    }
    // What was read, written back, reads back the same.
    HostConfig again = config;
    if (again.write(dir.path())) {
        const HostConfig back = HostConfig::read(dir.path());
        fuzz::require(back.feeds == again.feeds, "feeds read back as written");
        fuzz::require(back.beaconComment == config.beaconComment && back.symbol == config.symbol
                          && back.beaconIntervalMinutes == config.beaconIntervalMinutes,
                      "the station's settings read back as written");
    }
    return 0;
}
