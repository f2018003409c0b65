#include "host/HostConfig.h"

#include "core/PrivateProfile.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace {

using Pairs = QList<std::pair<QString, QString>>;

QString flag(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

// The keys a feed of its type reads, in the form read() takes back.
Pairs feedPairs(const FeedSettings &feed, const QString &hostFolder)
{
    using Type = FeedSettings::Type;
    Pairs pairs{{QStringLiteral("Type"), HostConfig::typeKey(feed.type)},
                {QStringLiteral("Enabled"), flag(feed.enabled)}};
    auto add = [&](const char *key, const QString &value) { pairs.append({QLatin1String(key), value}); };
    if (feed.type == Type::Replay || feed.type == Type::DxReplay) {
        // A file inside the host folder stays relative, so the folder can move.
        const QString relative = QDir(hostFolder).relativeFilePath(feed.file);
        add("File", relative.startsWith(QLatin1String("..")) ? feed.file : relative);
        add("Speed", QString::number(feed.speed, 'g', QLocale::FloatingPointShortest));
        add("Loop", flag(feed.loop));
        add("Interval", QString::number(feed.intervalMs));
        return pairs;
    }
    if (feed.type == Type::SerialKiss) {
        add("Device", feed.device);
        add("Baud", QString::number(feed.baud));
        add("Transmit", flag(feed.transmit));
        add("Path", feed.path);
        return pairs;
    }
    add("Host", feed.host);
    add("Port", QString::number(feed.port));
    if (feed.type == Type::AprsIs || feed.type == Type::DxCluster)
        add("Callsign", feed.callsign);
    if (feed.type == Type::AprsIs)
        add("Filter", feed.filter);
    if (feed.type == Type::Gpsd)
        return pairs;
    add("IdleTimeout", QString::number(feed.idleTimeoutSeconds));
    if (feed.type == Type::Kiss || feed.type == Type::AprsIs)
        add("Transmit", flag(feed.transmit));
    if (feed.type == Type::AprsIs)
        add("Passcode", feed.passcode);
    if (feed.type == Type::Kiss)
        add("Path", feed.path);
    return pairs;
}

Pairs hostPairs(const HostConfig &c)
{
    return {{QStringLiteral("BeaconInterval"), QString::number(c.beaconIntervalMinutes)},
            {QStringLiteral("BeaconComment"), c.beaconComment},
            {QStringLiteral("Symbol"), c.symbol},
            {QStringLiteral("Status"), c.status},
            {QStringLiteral("DistanceUnit"), c.distanceInMiles ? QStringLiteral("miles") : QStringLiteral("km")},
            {QStringLiteral("Logging"), flag(c.logging)},
            {QStringLiteral("LogDays"), QString::number(c.logDays)},
            {QStringLiteral("StationHours"), QString::number(c.stationHours)},
            {QStringLiteral("MaxStations"), QString::number(c.maxStations)}};
}

// Sets what differs from before; a new section gets every key.
bool setChanged(PrivateProfile &ini, const QString &section, const Pairs &now, const Pairs &before)
{
    for (const auto &pair : now) {
        const auto old = std::find_if(before.begin(), before.end(), [&](const auto &p) { return p.first == pair.first; });
        if (old != before.end() && old->second == pair.second)
            continue;
        if (!ini.setValue(section, pair.first, pair.second))
            return false;
    }
    return true;
}

} // namespace

bool HostConfig::write(const QString &hostFolder, QString *errorText)
{
    auto fail = [&](const QString &text) {
        if (errorText)
            *errorText = text;
        return false;
    };
    if (feeds.size() > 9)
        return fail(QStringLiteral("At most nine feeds can be kept."));
    const HostConfig before = read(hostFolder);
    PrivateProfile ini(hostFolder + u'/' + FileName);
    ini.load();

    const QString host = QStringLiteral("Host");
    if (!setChanged(ini, host, hostPairs(*this), hostPairs(before)))
        return fail(QStringLiteral("A setting of [Host] holds a line end."));

    QStringList used;
    for (const FeedSettings &feed : feeds)
        if (!feed.name.isEmpty())
            used.append(feed.name.toLower());
    for (const FeedSettings &old : before.feeds)
        if (!used.contains(old.name.toLower()))
            ini.removeSection(old.name);
    for (FeedSettings &feed : feeds) {
        if (feed.name.isEmpty())
            for (int n = 1; n <= 9 && feed.name.isEmpty(); ++n) {
                const QString name = QStringLiteral("Feed%1").arg(n);
                // A section that did not read (a typing slip) stays for the user to see.
                if (!used.contains(name.toLower()) && !ini.sectionNames().contains(name, Qt::CaseInsensitive)) {
                    feed.name = name;
                    used.append(name.toLower());
                }
            }
        if (feed.name.isEmpty())
            return fail(QStringLiteral("Every [Feed1] to [Feed9] is taken."));
        Pairs previous;
        for (const FeedSettings &old : before.feeds)
            if (old.name.compare(feed.name, Qt::CaseInsensitive) == 0)
                previous = feedPairs(old, hostFolder);
        if (!setChanged(ini, feed.name, feedPairs(feed, hostFolder), previous))
            return fail(QStringLiteral("A setting of [%1] holds a line end.").arg(feed.name));
    }
    QString error;
    if (!ini.save(&error))
        return fail(error);
    return true;
}
