// Replay files and their timing: the first part of the input is the feed's
// section of the host's settings (speed, interval), the rest the file.
// Every line played is a line of the file, and every wait is one a timer
// can keep.
#include "FuzzSupport.h"

#include "host/HostConfig.h"
#include "host/feeds/ReplayFeed.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::startApplication<QCoreApplication>();
    static QTemporaryDir dir;

    fuzz::Input in(data, size);
    const QByteArray settings = "[Feed1]\nType=replay\nFile=replay.txt\nSpeed=" + in.bytes(24)
                                + "\nInterval=" + in.bytes(12) + "\n";
    {
        QFile file(dir.filePath(HostConfig::FileName));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(settings);
    }
    const HostConfig config = HostConfig::read(dir.path());
    fuzz::require(config.feeds.size() == 1, "the replay feed is read");
    const FeedSettings &feed = config.feeds.first();

    const QString text = QString::fromLatin1(in.rest());
    ReplayFeed replay(feed);
    replay.setText(text);
    const QVector<ReplayFeed::Line> &lines = replay.lines();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        fuzz::require(!lines[i].text.isEmpty() && text.contains(lines[i].text), "a line played is in the file",
                      lines[i].text);
        // 23:59:60, a leap second, is the one time of day that reads as 86400.
        fuzz::require(lines[i].seconds >= -1 && lines[i].seconds <= 24 * 3600, "a time of day",
                      QString::number(lines[i].seconds) + u' ' + lines[i].text);
        if (i > 0) {
            const int wait = ReplayFeed::delayMs(lines[i - 1].seconds, lines[i].seconds, feed.intervalMs, feed.speed);
            fuzz::require(wait >= 0, "a wait a timer keeps", QString::number(wait));
        }
    }
    fuzz::require(ReplayFeed::loopPauseMs(feed.speed) >= 0, "a loop pause a timer keeps");
    return 0;
}
