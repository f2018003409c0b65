// The satellite clock runs in the zone chosen in the options whatever zone
// the computer runs in: the real program, started with one process zone and
// another configured, shows the sun and places a satellite where they are at
// that instant, and gives the next pass in the configured zone's time, on
// both sides of both daylight changes and in each half of the repeated hour.
#include "app/ProgramWiring.h"
#include "app/frmMain.h"
#include "core/Configuration.h"
#include "core/SharedState.h"
#include "core/WindowProviders.h"
#include "core/WindowRegistry.h"
#include "host/EmbeddedHost.h"
#include "orbiter/EarthFrames.h"
#include "orbiter/OrbiterView.h"
#include "orbiter/PassFinder.h"
#include "orbiter/SatelliteFix.h"
#include "orbiter/SunMoon.h"
#include "satellites/SatelliteSelection.h"
#include "satellites/frmSatSetup.h"
#include "satellites/frmSatStatus.h"

#include "ProcessZone.h"
#include "ScriptedPorts.h"
#include "TempDirs.h"
#include "TestOrbits.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTimeZone>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;
const orbiter::Site kOxford(orbiter::Geodetic{51.75 * kDeg, -1.25 * kDeg, 0.07});

// A weather satellite whose elements date from the day of the instant.
testorbits::Elements weatherSatelliteFor(const QDateTime &utc)
{
    testorbits::Elements e = testorbits::kWeather;
    e.epochYear = utc.date().year() % 100;
    e.epochDay = utc.date().dayOfYear();
    return e;
}

struct Row
{
    const char *processZone;
    const char *configuredZone;
    QDateTime utc;
    const char *what;
};

QDateTime utcAt(int y, int mo, int d, int h, int mi)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi), QTimeZone::utc());
}

} // namespace

TEST(SatelliteZone, PositionsAndPassTimesFollowTheConfiguredZoneNotTheComputers)
{
    const Row rows[] = {
        {"UTC", "America/New_York", utcAt(2026, 3, 8, 6, 30), "01:30 EST, before the spring change"},
        {"UTC", "America/New_York", utcAt(2026, 3, 8, 7, 30), "03:30 EDT, after the spring change"},
        {"UTC", "America/New_York", utcAt(2026, 11, 1, 5, 30), "01:30 EDT, first of the repeated hour"},
        {"UTC", "America/New_York", utcAt(2026, 11, 1, 6, 30), "01:30 EST, second of the repeated hour"},
        {"Asia/Kolkata", "America/New_York", utcAt(2026, 11, 1, 7, 30), "02:30 EST, after the repeated hour"},
        {"Europe/Berlin", "Europe/London", utcAt(2026, 3, 29, 0, 30), "00:30 GMT, before the spring change"},
        {"Europe/Berlin", "Europe/London", utcAt(2026, 3, 29, 1, 30), "02:30 BST, after the spring change"},
        {"UTC", "Europe/London", utcAt(2026, 10, 25, 0, 30), "01:30 BST, first of the repeated hour"},
        {"America/Los_Angeles", "Europe/London", utcAt(2026, 10, 25, 1, 30), "01:30 GMT, second of it"},
        {"UTC", "Asia/Tokyo", utcAt(2026, 6, 10, 15, 20), "00:20 JST the next day"},
        {"Asia/Tokyo", "America/New_York", utcAt(2026, 7, 1, 16, 0), "12:00 EDT"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.configuredZone) + " " + row.what + ", computer on " + row.processZone);
        ProcessZone processZone(row.processZone);
        TempDirs dirs;
        ScriptedPrompts prompts;
        MemorySettingsStore store;
        FixedClock clock{row.utc.toLocalTime()};
        qputenv("KESTREL_HOST_HEADLESS", "1");
        config() = Configuration{};
        shared() = SharedState{};
        providers() = WindowProviders{};
        WindowRegistry::instance().clear();
        satelliteSelection().clear();
        wireProgram();

        const QString hostFolder = dirs.data() + "/DemoHost";
        QDir().mkpath(hostFolder);
        const QString demo = QStringLiteral(KESTREL_SOURCE_DIR "/data/demo-host");
        for (const QString &name : QDir(demo).entryList(QDir::Files))
            QFile::copy(demo + u'/' + name, hostFolder + u'/' + name);
        const testorbits::Elements elements = weatherSatelliteFor(row.utc);
        const auto [l1, l2] = testorbits::lines(elements);
        QDir().mkpath(dirs.data() + "/Keps");
        QFile keps(dirs.data() + "/Keps/Keps.txt");
        ASSERT_TRUE(keps.open(QIODevice::WriteOnly));
        keps.write("WXSAT\r\n" + QByteArray::fromStdString(l1) + "\r\n" + QByteArray::fromStdString(l2) + "\r\n");
        keps.close();
        store.write("Kestrel", "Paths", "UIVIEW32", hostFolder);
        store.write("Kestrel", "Satellite", "Observer", "Oxford");
        store.write("Kestrel", "Satellite", "Latitude", "51.75");
        store.write("Kestrel", "Satellite", "Longitude", "-1.25");
        store.write("Kestrel", "Satellite", "Height", "70");
        store.write("Kestrel", "TimeZone", "Timezone", row.configuredZone);

        auto main = std::make_unique<frmMain>(false);
        main->runLoadingSequence();
        ASSERT_TRUE(main->loadingDone());
        {
            frmSatSetup dialog(main.get());
            dialog.lstSats->item(0)->setSelected(true);
            dialog.cmdAdd_Click();
            dialog.lstSelected->topLevelItem(0)->setCheckState(0, Qt::Checked);
            dialog.cmdOK_Click();
        }

        // Where the satellite and the sun are at that instant, worked out directly.
        const double t = double(row.utc.toSecsSinceEpoch());
        orbiter::Sgp4 model = testorbits::model(elements);
        const orbiter::SatelliteFix fix = orbiter::fixAt(model, t, &kOxford);
        const auto pass = orbiter::PassFinder(model, {kOxford}).next(t, orbiter::Tracker::PassWindowSeconds);
        ASSERT_TRUE(pass.has_value());
        const QString eta = QDateTime::fromMSecsSinceEpoch(std::llround(pass->aos * 1000.0),
                                                           QTimeZone(row.configuredZone))
                                .toString("HH:mm");
        const orbiter::Vec3 sun = orbiter::temeToEcef(orbiter::sunPosition(t), orbiter::gmst(t));
        const double sunAzimuth = orbiter::lookAngles(kOxford, sun).azimuth / kDeg;

        auto *host = qobject_cast<EmbeddedHost *>(shared().host);
        ASSERT_NE(host, nullptr);
        const PlacedObject *placed = nullptr;
        for (const PlacedObject &object : host->placed())
            if (object.name == "WXSAT")
                placed = &object;
        ASSERT_NE(placed, nullptr);
        EXPECT_NEAR(placed->latitude, fix.subPoint.latitude / kDeg, 0.01);
        EXPECT_NEAR(placed->longitude, fix.subPoint.longitude / kDeg, 0.01);
        EXPECT_TRUE(placed->comment.endsWith("ETA " + eta)) << placed->comment.toStdString() << " not " << eta.toStdString();

        auto *status = WindowRegistry::instance().first<frmSatStatus>();
        ASSERT_NE(status, nullptr);
        auto *control = qobject_cast<orbiter::OrbiterView *>(status->controlWidget());
        ASSERT_NE(control, nullptr);
        EXPECT_NEAR(control->tracker().sun().look.azimuth / kDeg, sunAzimuth, 0.01);
        const auto *summary = control->findChild<QLabel *>("lblSummary");
        ASSERT_NE(summary, nullptr);
        EXPECT_TRUE(summary->text().contains(QStringLiteral("Sun az %1\u00b0").arg(sunAzimuth, 0, 'f', 0)))
            << summary->text().toStdString();

        main.reset();
        providers() = WindowProviders{};
        WindowRegistry::instance().clear();
        shared() = SharedState{};
    }
}
