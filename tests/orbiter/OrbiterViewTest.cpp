// The tracking control through its roles, and what its views draw.
#include "orbiter/OrbiterView.h"
#include "orbiter/PaintKit.h"
#include "orbiter/PassFinder.h"
#include "orbiter/PassSearch.h"
#include "orbiter/SatelliteFix.h"
#include "orbiter/SatelliteTableModel.h"

#include "ScriptedPorts.h"
#include "TestOrbits.h"

#include <QDir>
#include <QTableView>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace orbiter;

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

// 2026-06-10 09:30:00 UTC, a day after the test orbits' epoch.
const QDateTime kUtc(QDate(2026, 6, 10), QTime(9, 30, 0), Qt::UTC);

class OrbiterViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        view.setObserverName("Oxford");
        view.setObserverLatitude(51.75);
        view.setObserverLongitude(-1.25);
        view.setObserverHeight(70);
        // A zone one hour ahead of UTC in summer: UTC = local + 0 - 1.
        view.setTimeZoneAdjust(0);
        view.setTimeZoneName("Europe/London");
        view.setDaylight(true);
        view.setDaylightOffset(-1);
        view.applySettings();
    }

    void load(const testorbits::Elements &e, const QString &name)
    {
        const auto [l1, l2] = testorbits::lines(e);
        view.addSatelliteEntry();
        const qint16 entry = view.satelliteCount();
        view.setCurrentEntry(entry);
        view.loadElementSet(name, QString::fromStdString(l1), QString::fromStdString(l2), entry, 0);
    }

    void computeAt(const QDateTime &utc)
    {
        const QDateTime local = utc.addSecs(3600);
        for (qint16 e = -1; e <= view.satelliteCount(); ++e) {
            view.setCurrentEntry(e);
            view.setComputationTime(qint16(local.date().year() / 100), qint16(local.date().year()),
                                    qint16(local.date().month()), qint16(local.date().day()),
                                    qint16(local.time().hour()), qint16(local.time().minute()),
                                    qint16(local.time().second()));
        }
        view.computePosition();
        view.computePass();
    }

    FixedClock clock{kUtc};
    OrbiterView view;
};

} // namespace

TEST_F(OrbiterViewTest, ReadsBackWhereEachSatelliteIsAtTheLocalTimeGiven)
{
    load(testorbits::kStation, "ISS");
    load(testorbits::kGeostationary, "GEO");
    computeAt(kUtc);

    const double t = double(kUtc.toSecsSinceEpoch());
    const Site oxford(Geodetic{51.75 * kDeg, -1.25 * kDeg, 0.07});
    for (int entry : {1, 2}) {
        Sgp4 m = testorbits::model(entry == 1 ? testorbits::kStation : testorbits::kGeostationary);
        const SatelliteFix fix = fixAt(m, t, &oxford);
        view.setCurrentEntry(qint16(entry));
        double lon = fix.subPoint.longitude / kDeg;
        if (lon < 0)
            lon += 360;
        EXPECT_NEAR(view.subSatelliteLongitude(), lon, 1e-3) << entry;
        EXPECT_GE(view.subSatelliteLongitude(), 0.0f);
        EXPECT_LT(view.subSatelliteLongitude(), 360.0f);
        EXPECT_NEAR(view.subSatelliteLatitude(), fix.subPoint.latitude / kDeg, 1e-3);
        EXPECT_EQ(view.elevation(), qint32(std::floor(fix.look.elevation / kDeg)));
        EXPECT_NEAR(view.furtherValue(), 2 * 6371.0 * std::acos(6371.0 / (6371.0 + fix.subPoint.heightKm)), 1.0);

        PassFinder finder(m, {oxford});
        const auto next = finder.next(t, Tracker::PassWindowSeconds);
        if (next) {
            const QDateTime when = view.nextPassTime();
            ASSERT_TRUE(when.isValid());
            EXPECT_NEAR(double(when.toMSecsSinceEpoch()) / 1000.0, next->aos, 0.01);
            EXPECT_EQ(when.offsetFromUtc(), 3600) << "shown in the operator's zone";
        } else {
            EXPECT_FALSE(view.nextPassTime().isValid());
        }
    }
    view.setCurrentEntry(1);
    EXPECT_EQ(view.satelliteName(), "ISS");
}

TEST_F(OrbiterViewTest, EntriesMinusOneAndZeroAreTheMoonAndTheSun)
{
    load(testorbits::kStation, "ISS");
    computeAt(kUtc);
    view.setCurrentEntry(0);
    EXPECT_EQ(view.satelliteName(), "Sun");
    // Mid-morning in June over England: the sun is up, over the Red Sea.
    EXPECT_GT(view.elevation(), 30);
    EXPECT_NEAR(view.subSatelliteLatitude(), 23.0, 0.5);
    EXPECT_NEAR(view.subSatelliteLongitude(), (12.0 - 9.5) * 15.0, 1.5);
    view.setCurrentEntry(-1);
    EXPECT_EQ(view.satelliteName(), "Moon");
    EXPECT_GE(view.subSatelliteLongitude(), 0.0f);
}

TEST_F(OrbiterViewTest, ABadElementSetIsListedWithoutAPosition)
{
    view.addSatelliteEntry();
    view.loadElementSet("BROKEN", "1 nonsense", "2 nonsense", 1, 0);
    load(testorbits::kStation, "ISS");
    computeAt(kUtc);
    view.setCurrentEntry(1);
    EXPECT_EQ(view.satelliteName(), "BROKEN");
    EXPECT_EQ(view.elevation(), -90);
    EXPECT_FALSE(view.nextPassTime().isValid());
    view.setCurrentEntry(2);
    EXPECT_GT(view.furtherValue(), 4000.0f);

    view.setDisplayStyle(0);
    const QAbstractItemModel *model = view.table()->model();
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->index(0, SatelliteTableModel::Name).data().toString(), "BROKEN");
    EXPECT_FALSE(model->index(0, SatelliteTableModel::Latitude).data().toString().isEmpty());
    EXPECT_TRUE(model->index(0, SatelliteTableModel::Azimuth).data().toString().isEmpty());
    EXPECT_TRUE(model->index(1, SatelliteTableModel::Doppler).data().toString().startsWith("0.99")
                || model->index(1, SatelliteTableModel::Doppler).data().toString().startsWith("1.00"));
}

TEST_F(OrbiterViewTest, StylesAndStoredSettings)
{
    load(testorbits::kStation, "ISS");
    computeAt(kUtc);
    for (int style : {0, 1, 2, 3}) {
        view.setDisplayStyle(style);
        EXPECT_EQ(view.displayStyle(), style);
        EXPECT_EQ(view.table()->isVisibleTo(&view), style == 0);
    }
    view.setDisplayStyle(7);
    EXPECT_EQ(view.displayStyle(), 3) << "an unknown style changes nothing";
    view.setProperty("displaymoonfootprint", true);
    EXPECT_TRUE(view.moonFootprint());
    view.setProperty("displaydatafields", false);
    EXPECT_FALSE(view.dataFields());
    view.setProperty("outputstyle", 2);
    EXPECT_EQ(view.displayStyle(), 2);
}

TEST_F(OrbiterViewTest, ChoosingAnotherZoneKeepsTheInstantAndShowsItsClock)
{
    load(testorbits::kStation, "ISS");
    computeAt(kUtc);
    view.setCurrentEntry(1);
    const float longitude = view.subSatelliteLongitude();
    const QDateTime pass = view.nextPassTime();
    ASSERT_TRUE(pass.isValid());

    view.setTimeZoneName("Asia/Tokyo");
    view.setTimeZoneAdjust(-9);
    view.setDaylight(false);
    view.setDaylightOffset(0);
    view.applySettings();
    EXPECT_EQ(view.tracker().time(), double(kUtc.toSecsSinceEpoch()));
    EXPECT_FLOAT_EQ(view.subSatelliteLongitude(), longitude);
    EXPECT_EQ(view.nextPassTime(), pass);
    EXPECT_EQ(view.nextPassTime().offsetFromUtc(), 9 * 3600);
}

TEST_F(OrbiterViewTest, SecondObserverAddsMutualColumns)
{
    load(testorbits::kStation, "ISS");
    view.setSecondName("Paris");
    view.setSecondLatitude(48.85);
    view.setSecondLongitude(2.35);
    view.setSecondHeight(35);
    view.setSecondInUse(true);
    view.applySettings();
    computeAt(kUtc);
    EXPECT_EQ(view.table()->model()->columnCount(), SatelliteTableModel::Mutual + 1);
    view.setSecondInUse(false);
    view.applySettings();
    EXPECT_EQ(view.table()->model()->columnCount(), SatelliteTableModel::SecondElevation);
}

TEST_F(OrbiterViewTest, RangesFollowTheDistanceUnitChosen)
{
    load(testorbits::kGeostationary, "GEO");
    computeAt(kUtc);
    const QAbstractItemModel *model = view.table()->model();
    const QModelIndex range = model->index(0, SatelliteTableModel::Range);
    EXPECT_EQ(model->headerData(SatelliteTableModel::Range, Qt::Horizontal).toString(), "Range km");
    const double km = model->data(range).toDouble();
    EXPECT_GT(km, 35000);

    view.setDistanceInMiles(true);
    EXPECT_EQ(model->headerData(SatelliteTableModel::Range, Qt::Horizontal).toString(), "Range mi");
    EXPECT_NEAR(model->data(range).toDouble(), km / 1.609344, 1);
    EXPECT_EQ(formatDistance(1609.344, true), "1000 mi");
    EXPECT_EQ(formatDistance(1609.344, false), "1609 km");
}

TEST_F(OrbiterViewTest, DumpViews)
{
    if (qEnvironmentVariableIsEmpty("KESTREL_VIEW_DUMP"))
        GTEST_SKIP() << "set KESTREL_VIEW_DUMP to a folder to get the four views as pictures";
    load(testorbits::kStation, "ISS");
    load(testorbits::kWeather, "NOAA 19");
    load(testorbits::kMolniya, "MOLNIYA 1-93");
    load(testorbits::kGeostationary, "GEO");
    computeAt(kUtc);
    const QString folder = qEnvironmentVariable("KESTREL_VIEW_DUMP");
    QDir().mkpath(folder);
    for (int style : {0, 1, 2, 3}) {
        view.setDisplayStyle(style);
        view.grabView(QSize(1000, 560)).save(folder + QStringLiteral("/view%1.png").arg(style));
        view.grabView(QSize(420, 260)).save(folder + QStringLiteral("/small%1.png").arg(style));
    }
}

// Pass searches made on another thread come back to a tracker that may have
// moved on: each satellite's search is handed out once, and an answer is
// taken only while the satellites and observers it was made for still hold.
TEST(TrackerPassSearches, AnAnswerIsTakenOnlyWhileItsQuestionStillHolds)
{
    Tracker tracker;
    tracker.setObserver({QStringLiteral("Oxford"), 51.75, -1.25, 70});
    for (const auto &[name, elements] : {std::pair{"ISS", testorbits::kStation}, {"NOAA", testorbits::kWeather}}) {
        const auto [l1, l2] = testorbits::lines(elements);
        ASSERT_TRUE(tracker.load(tracker.addEntry(), name, QString::fromStdString(l1), QString::fromStdString(l2)));
    }
    tracker.setTime(double(kUtc.toSecsSinceEpoch()));
    tracker.computePositions();

    std::vector<PassSearch> searches = tracker.passSearches();
    ASSERT_EQ(searches.size(), 2u);
    EXPECT_TRUE(tracker.passSearches().empty()) << "not handed out twice";
    EXPECT_TRUE(tracker.takePasses(findPasses(searches[0])));
    EXPECT_TRUE(tracker.entry(1)->passesKnown);
    EXPECT_TRUE(tracker.entry(1)->next.has_value());

    // The observer moves before the second answer comes back.
    tracker.setObserver({QStringLiteral("Hobart"), -42.9, 147.3, 0});
    EXPECT_FALSE(tracker.takePasses(findPasses(searches[1])));
    EXPECT_FALSE(tracker.entry(2)->passesKnown);
    searches = tracker.passSearches();
    ASSERT_EQ(searches.size(), 2u) << "both asked again, from Hobart";

    // New elements for the first satellite: its old question is void.
    const auto [l1, l2] = testorbits::lines(testorbits::kStation);
    tracker.load(1, QStringLiteral("ISS"), QString::fromStdString(l1), QString::fromStdString(l2));
    EXPECT_FALSE(tracker.takePasses(findPasses(searches[0])));
    EXPECT_FALSE(tracker.takePasses(findPasses(searches[1])));
    EXPECT_EQ(tracker.passSearches().size(), 1u) << "the second is asked again; the first has no position yet";

    // computePasses works out, here and now, what is still to be found.
    tracker.computePositions();
    tracker.computePasses();
    EXPECT_TRUE(tracker.entry(1)->passesKnown);
    EXPECT_TRUE(tracker.entry(2)->passesKnown);
    EXPECT_TRUE(tracker.passSearches().empty());
}

TEST(TrackerTimeZone, NamedZonesKeepTheirOwnRulesAndOtherNamesUseTheHoursGiven)
{
    const QDateTime fields(QDate(2026, 6, 10), QTime(15, 0), Qt::UTC);
    const double utc = double(QDateTime(QDate(2026, 6, 10), QTime(9, 30), Qt::UTC).toSecsSinceEpoch());

    // A half-hour zone, whatever whole hours came with it.
    TimeZoneSettings india{5, QStringLiteral("Asia/Kolkata"), false, 0};
    EXPECT_DOUBLE_EQ(india.toUtc(fields), utc);
    EXPECT_EQ(india.toLocal(utc).time(), QTime(15, 0));
    EXPECT_EQ(india.toLocal(utc).offsetFromUtc(), 19800);

    // Daylight time follows the date, not a flag set once at start.
    TimeZoneSettings london{0, QStringLiteral("Europe/London"), false, 0};
    EXPECT_EQ(london.toLocal(utc).offsetFromUtc(), 3600);
    EXPECT_EQ(london.toLocal(utc + 200 * 86400.0).offsetFromUtc(), 0);

    // New York's clock reads 01:30 twice on 1 November 2026 and never reads
    // 02:30 on 8 March: the daylight flag picks the first reading or the
    // second, and a skipped reading counts on the clock before the change.
    const struct
    {
        QDateTime reading;
        bool daylight;
        QDateTime utc;
    } readings[] = {
        {QDateTime(QDate(2026, 11, 1), QTime(1, 30), Qt::UTC), true, QDateTime(QDate(2026, 11, 1), QTime(5, 30), Qt::UTC)},
        {QDateTime(QDate(2026, 11, 1), QTime(1, 30), Qt::UTC), false, QDateTime(QDate(2026, 11, 1), QTime(6, 30), Qt::UTC)},
        {QDateTime(QDate(2026, 11, 1), QTime(0, 30), Qt::UTC), false, QDateTime(QDate(2026, 11, 1), QTime(4, 30), Qt::UTC)},
        {QDateTime(QDate(2026, 3, 8), QTime(2, 30), Qt::UTC), false, QDateTime(QDate(2026, 3, 8), QTime(7, 30), Qt::UTC)},
        {QDateTime(QDate(2026, 3, 8), QTime(3, 30), Qt::UTC), false, QDateTime(QDate(2026, 3, 8), QTime(7, 30), Qt::UTC)},
    };
    for (const auto &r : readings) {
        const TimeZoneSettings newYork{-5, QStringLiteral("America/New_York"), r.daylight, -1};
        EXPECT_DOUBLE_EQ(newYork.toUtc(r.reading), double(r.utc.toSecsSinceEpoch()))
            << r.reading.toString(Qt::ISODate).toStdString() << " daylight " << r.daylight;
    }

    // A name the system does not know: UTC = local + adjustment + daylight offset.
    TimeZoneSettings unknown{-5, QStringLiteral("Somewhere Standard Time"), true, -1};
    const double fifteen = double(fields.toSecsSinceEpoch());
    EXPECT_DOUBLE_EQ(unknown.toUtc(fields), fifteen - 6 * 3600.0);
    EXPECT_EQ(unknown.toLocal(fifteen - 6 * 3600.0).time(), QTime(15, 0));
}
