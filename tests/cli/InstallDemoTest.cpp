// kestrel-tool install-demo, run as a user runs it (and through
// scripts/install-demo): a second run changes nothing, a user's own files
// are never touched, and what it installs tells one story.
#include "ToolProcess.h"
#include "TempDirs.h"

#include "core/Configuration.h"
#include "core/IniSettingsStore.h"
#include "core/PrivateProfile.h"
#include "host/HostConfig.h"
#include "host/aprs/Tnc2.h"
#include "orbiter/ElementSet.h"
#include "orbiter/SatelliteFix.h"
#include "satellites/KepsFile.h"
#include "satellites/SatelliteChoices.h"
#include "weather/WxDataFile.h"
#include "weather/WxDecoder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

const QString kAt = QStringLiteral("2026-07-01 12:00:30");

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

class InstallDemo : public ::testing::Test
{
protected:
    ToolRun install(const QString &at = kAt) { return tool({QStringLiteral("install-demo"), "--at", at}); }

    // Every file of the data and settings folders with its bytes.
    QMap<QString, QByteArray> everything() const
    {
        QMap<QString, QByteArray> files;
        for (const QString &root : {dirs.data(), dirs.config()}) {
            QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                files.insert(path, readFile(path));
            }
        }
        return files;
    }

    QString data(const QString &relative) const { return dirs.data() + u'/' + relative; }
    QString settings(const QString &name) const { return dirs.config() + u'/' + name; }

    TempDirs dirs;
};

TEST_F(InstallDemo, ASecondRunChangesNothing_TheNextDayOnlyTheElementSets)
{
    const ToolRun first = install();
    ASSERT_EQ(first.status, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.contains(QStringLiteral("Demo host folder installed"))) << first.out.toStdString();
    const QMap<QString, QByteArray> installed = everything();
    EXPECT_TRUE(installed.contains(data("DemoHost/UIVIEW32.INI")));
    EXPECT_TRUE(installed.contains(data("WxData/G4KWA.kew")));

    // The script finds the tool of the build it is given.
    const QString build = QFileInfo(QStringLiteral(KESTREL_TOOL_PATH)).absolutePath() + QStringLiteral("/..");
    QProcess script;
    script.start(QStringLiteral("bash"), {QStringLiteral(KESTREL_SOURCE_DIR "/scripts/install-demo"), build,
                                          QStringLiteral("--at"), QStringLiteral("2026-07-01 12:40:00")});
    ASSERT_TRUE(script.waitForFinished(60000));
    EXPECT_EQ(script.exitCode(), 0) << script.readAllStandardError().toStdString();
    EXPECT_EQ(script.readAllStandardOutput(), QByteArray()) << "nothing to do, nothing said";
    EXPECT_EQ(everything(), installed);

    const ToolRun nextDay = install(QStringLiteral("2026-07-02 09:00:00"));
    ASSERT_EQ(nextDay.status, 0) << nextDay.err.toStdString();
    QMap<QString, QByteArray> after = everything();
    EXPECT_NE(after.take(data("Keps/Keps.txt")), installed.value(data("Keps/Keps.txt")));
    after.remove(data(".demo-install"));
    QMap<QString, QByteArray> before = installed;
    before.remove(data("Keps/Keps.txt"));
    before.remove(data(".demo-install"));
    EXPECT_EQ(after, before);
}

TEST_F(InstallDemo, AUsersOwnFilesAreNeverTouched)
{
    const QList<QPair<QString, QByteArray>> own = {
        {data("Keps/Keps.txt"), "MY SAT\r\n"},
        {data("WxData/G4KWA.kew"), "[01/07/2026]\r\nValue1=mine\r\n"},
        {settings("Kestrel.ini"), "[Satellite]\r\nObserver=Home\r\n"},
        {settings("Peak Systems.ini"), "[UI-View32]\r\nProgram Folder=/home/me/uiview\r\n[Host Map]\r\nLeft=5\r\n"},
    };
    for (const auto &[path, bytes] : own)
        writeFile(path, bytes);
    const ToolRun run = install();
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    for (const auto &[path, bytes] : own)
        EXPECT_EQ(readFile(path), bytes) << path.toStdString();
    EXPECT_TRUE(QFile::exists(data("DemoHost/UIVIEW32.INI")));
    EXPECT_TRUE(QFile::exists(data("WxData/G1KWD.kew"))) << "the stations without a file of their own get one";

    // A demo file the user changed is kept too, and said so; one the demo
    // wrote and nobody touched follows the next run.
    writeFile(data("DemoHost/KestrelHost.ini"), "[Host]\r\nBeaconInterval=0\r\n");
    QFile::remove(data("Keps/Keps.txt"));
    EXPECT_EQ(install().status, 0);
    const QByteArray ours = readFile(data("Keps/Keps.txt"));
    ASSERT_FALSE(ours.isEmpty());
    const ToolRun later = install(QStringLiteral("2026-07-03 08:00:00"));
    EXPECT_TRUE(later.out.contains(QStringLiteral("KestrelHost.ini"))) << later.out.toStdString();
    EXPECT_EQ(readFile(data("DemoHost/KestrelHost.ini")), QByteArray("[Host]\r\nBeaconInterval=0\r\n"));
    EXPECT_NE(readFile(data("Keps/Keps.txt")), ours);

    // The element file an earlier installer wrote is still its own: its mark
    // says so, and the mark goes.
    const QByteArray earlier = "ISS\r\n";
    writeFile(data("Keps/Keps.txt"), earlier);
    writeFile(data("Keps/.demo-keps"),
              QCryptographicHash::hash(earlier, QCryptographicHash::Sha256).toHex() + "  -\n");
    EXPECT_EQ(install().status, 0);
    EXPECT_NE(readFile(data("Keps/Keps.txt")), earlier);
    EXPECT_FALSE(QFile::exists(data("Keps/.demo-keps")));
}

// The readings of the first weather report each demo station sends.
QMap<QString, WxReadings> replayedFirst(const QByteArray &traffic)
{
    QMap<QString, WxReadings> first;
    for (const QByteArray &raw : traffic.split('\n')) {
        Tnc2Frame frame;
        const QString line = QString::fromLatin1(raw).trimmed();
        if (line.startsWith(u'#') || !parseTnc2(splitTimeStamp(line).text.toString(), &frame))
            continue;
        const qsizetype underscore = frame.payload.indexOf(u'_');
        const bool weather = frame.payload.startsWith(u'_') || (frame.payload.startsWith(u'@') && underscore > 0);
        if (weather && !first.contains(frame.source))
            first.insert(frame.source, decodeWxReport(frame.payload.mid(underscore)));
    }
    return first;
}

TEST_F(InstallDemo, WeatherHistoryRunsOnIntoTheReplayedReports)
{
    ASSERT_EQ(install().status, 0);
    const QMap<QString, WxReadings> replayed = replayedFirst(readFile(data("DemoHost/DemoTraffic.txt")));
    ASSERT_EQ(replayed.size(), 5);
    for (auto it = replayed.cbegin(); it != replayed.cend(); ++it) {
        const WxDataFile file(data("WxData/") + it.key() + QStringLiteral(".kew"));
        EXPECT_EQ(file.days(), (QStringList{"30/06/2026", "01/07/2026"})) << it.key().toStdString();
        EXPECT_EQ(file.dayValues(QStringLiteral("30/06/2026")).size(), 288);
        const QStringList today = file.dayValues(QStringLiteral("01/07/2026"));
        ASSERT_EQ(today.size(), 12 * 12 + 1);
        const WxData::StoredReport last = WxData::splitValue(today.last());
        EXPECT_EQ(last.timeOfDay, QTime(12, 0));
        const WxReadings end = decodeWxReport(last.report);
        const WxReadings &next = it.value();
        EXPECT_NEAR(end.temperature, next.temperature, 1) << it.key().toStdString();
        EXPECT_NEAR(end.humidity, next.humidity, 2);
        EXPECT_NEAR(end.pressure, next.pressure, 0.2);
        EXPECT_NEAR(end.speed, next.speed, 1);
        EXPECT_EQ(end.rain, next.rain) << "rain today";
        EXPECT_EQ(end.rainLabel, next.rainLabel);
        // Rain since midnight never falls, and starts the day at nothing.
        float before = 0;
        for (const QString &value : today) {
            const float rain = decodeWxReport(WxData::splitValue(value).report).rain;
            EXPECT_GE(rain, before);
            before = rain;
        }
        EXPECT_EQ(decodeWxReport(WxData::splitValue(today.first()).report).rain, 0.f);
    }
}

TEST_F(InstallDemo, SatellitesSpreadAroundTheEarthWatchedFromTheDemoHome)
{
    ASSERT_EQ(install().status, 0);
    const KepsReadResult read = readKeps(readFile(data("Keps/Keps.txt")));
    EXPECT_TRUE(read.rejected.isEmpty());
    ASSERT_EQ(read.sets.size(), 12);
    EXPECT_EQ(kepsDated(read.sets.first().line1), QStringLiteral("01/07/2026"));

    // Where each stands now: no two low orbiters within 800 km of each other.
    const double at = double(QDateTime::fromString(kAt, QStringLiteral("yyyy-MM-dd HH:mm:ss")).toSecsSinceEpoch());
    QList<orbiter::Geodetic> points;
    for (const KepsElementSet &set : read.sets) {
        orbiter::ElementSet elements;
        ASSERT_TRUE(orbiter::parseElementSet(set.line1.toStdString(), set.line2.toStdString(), elements));
        orbiter::Sgp4 model;
        model.init(elements);
        const orbiter::SatelliteFix fix = orbiter::fixAt(model, at);
        EXPECT_EQ(fix.error, orbiter::Sgp4Error::None) << set.name.toStdString();
        if (elements.revsPerDay > 10)
            points << fix.subPoint;
    }
    ASSERT_EQ(points.size(), 10);
    for (qsizetype i = 0; i < points.size(); ++i)
        for (qsizetype j = i + 1; j < points.size(); ++j) {
            const double cosine = std::sin(points[i].latitude) * std::sin(points[j].latitude)
                                  + std::cos(points[i].latitude) * std::cos(points[j].latitude)
                                        * std::cos(points[i].longitude - points[j].longitude);
            EXPECT_GT(std::acos(std::clamp(cosine, -1.0, 1.0)) * 6371, 800) << read.sets[i].name.toStdString();
        }

    // Kestrel reads the demo's options through its own store.
    IniSettingsStore store;
    Configuration options;
    QStringList errors;
    options.read(store, &errors);
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(options.observer, QStringLiteral("G0KST"));
    EXPECT_NEAR(options.latitude, 51.75, 1e-4);
    EXPECT_NEAR(options.longitude, -1.25, 1e-4);
    EXPECT_EQ(options.locator, QStringLiteral("IO91js"));
    EXPECT_EQ(options.pressMin, 990);
    EXPECT_EQ(options.pressMax, 1030);
    EXPECT_EQ(options.miles, HostConfig::read(data("DemoHost")).distanceInMiles)
        << "the host's spot distances and Kestrel's lists in one unit";
    const SatelliteChoices chosen = SatelliteChoices::read(store);
    EXPECT_EQ(chosen.picks.size(), 12);
    EXPECT_EQ(chosen.view, QStringLiteral("World View"));
    EXPECT_EQ(PrivateProfile::readString(settings("Peak Systems.ini"), "UI-View32", "Program Folder"),
              data("DemoHost"));
}

} // namespace
