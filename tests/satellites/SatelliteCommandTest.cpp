// kestrel-tool keps, sgp4 and sat on element files written for the test.
#include "orbiter/PassFinder.h"
#include "orbiter/SatelliteFix.h"

#include "TestOrbits.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include "ToolProcess.h"
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

class SatelliteCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QByteArray text;
        for (const auto &[name, e] : {std::pair{"ISS", testorbits::kStation}, std::pair{"MOLNIYA 1-93", testorbits::kMolniya},
                                      std::pair{"GEO", testorbits::kGeostationary}}) {
            const auto [l1, l2] = testorbits::lines(e);
            text += QByteArray(name) + "\r\n" + QByteArray::fromStdString(l1) + "\r\n" + QByteArray::fromStdString(l2) + "\r\n";
        }
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QString path() const { return dir.filePath("Keps.txt"); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(SatelliteCommandTest, KepsListsIndexNameAndEpoch)
{
    const ToolRun run = tool({"keps", path()});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "0\tISS\t2026-06-09 12:00:00\n1\tMOLNIYA 1-93\t2026-06-09 12:00:00\n2\tGEO\t2026-06-09 12:00:00\n");

    const ToolRun json = tool({"--json", "keps", path()});
    const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8()).object();
    ASSERT_EQ(o["sets"].toArray().size(), 3);
    EXPECT_EQ(o["sets"].toArray()[1].toObject()["name"].toString(), "MOLNIYA 1-93");
    EXPECT_EQ(o["beyond_capacity"].toInt(), 0);

    EXPECT_EQ(tool({"keps"}).status, 2);
    EXPECT_EQ(tool({"keps", dir.filePath("none.txt")}).status, 1);
}

TEST_F(SatelliteCommandTest, Sgp4PrintsStateVectorsAndErrors)
{
    const ToolRun run = tool({"sgp4", path(), "ISS", "0", "90.5", "5e7"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    orbiter::Sgp4 m = testorbits::model(testorbits::kStation);
    orbiter::Vec3 r, v;
    m.propagate(90.5, r, v);
    const QStringList cells = lines[1].split('\t');
    ASSERT_EQ(cells.size(), 7);
    EXPECT_EQ(cells[0], "90.50000000");
    EXPECT_EQ(cells[1], QString::number(r.x, 'f', 8));
    EXPECT_EQ(cells[6], QString::number(v.z, 'f', 8));
    EXPECT_EQ(lines[2], "error 1");

    const QJsonArray json = QJsonDocument::fromJson(tool({"--json", "sgp4", path(), "iss", "0"}).out.toUtf8()).array();
    ASSERT_EQ(json.size(), 1);
    EXPECT_GT(json[0].toObject()["x"].toDouble() * json[0].toObject()["x"].toDouble(), 0);

    EXPECT_EQ(tool({"sgp4", path(), "ISS", "soon"}).status, 2);
    EXPECT_EQ(tool({"sgp4", path(), "MOLNIYA 1-93", "1e300"}).status, 2) << "refused, not integrated for ever";
    EXPECT_EQ(tool({"sgp4", path(), "NOBODY", "0"}).status, 2);
}

TEST_F(SatelliteCommandTest, SatGivesPositionLookAnglesAndTheNextPass)
{
    const QString at = "2026-06-10 09:30:00";
    const ToolRun run = tool({"sat", path(), "ISS", "--at", at, "--observer", "51.75,-1.25,70"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    QMap<QString, QString> values;
    for (const QString &line : run.out.split('\n', Qt::SkipEmptyParts))
        values.insert(line.section(": ", 0, 0), line.section(": ", 1));
    EXPECT_EQ(values.keys(), QStringList({"altitude_km", "aos", "azimuth", "elevation", "latitude", "longitude",
                                          "los", "max_elevation", "range_km"}));

    constexpr double deg = std::numbers::pi / 180.0;
    orbiter::Sgp4 m = testorbits::model(testorbits::kStation);
    const orbiter::Site site(orbiter::Geodetic{51.75 * deg, -1.25 * deg, 0.07});
    const double tUtc = double(QDateTime(QDate(2026, 6, 10), QTime(9, 30), Qt::UTC).toSecsSinceEpoch());
    const orbiter::SatelliteFix fix = orbiter::fixAt(m, tUtc, &site);
    EXPECT_NEAR(values["latitude"].toDouble(), fix.subPoint.latitude / deg, 1e-4);
    EXPECT_NEAR(values["longitude"].toDouble(), fix.subPoint.longitude / deg, 1e-4);
    EXPECT_NEAR(values["elevation"].toDouble(), fix.look.elevation / deg, 1e-4);
    orbiter::PassFinder finder(m, {site});
    const auto pass = finder.next(tUtc, 48 * 3600.0);
    ASSERT_TRUE(pass.has_value());
    EXPECT_EQ(values["aos"], QDateTime::fromSecsSinceEpoch(std::llround(pass->aos), Qt::UTC).toString("yyyy-MM-dd HH:mm:ss"));

    // A geostationary satellite over the far side never rises for this observer.
    const QJsonObject geo = QJsonDocument::fromJson(
        tool({"--json", "sat", path(), "GEO", "--at", at, "--observer", "-20,15,0"}).out.toUtf8()).object();
    ASSERT_TRUE(geo.contains("elevation"));
    EXPECT_LT(geo["elevation"].toDouble(), 0);
    EXPECT_TRUE(geo["aos"].isNull());
    EXPECT_TRUE(geo["los"].isNull());
    EXPECT_GE(geo["longitude"].toDouble(), -180);
    EXPECT_LE(geo["longitude"].toDouble(), 180);

    EXPECT_EQ(tool({"sat", path(), "ISS", "--at", "yesterday", "--observer", "51,0,0"}).status, 2);
    EXPECT_EQ(tool({"sat", path(), "ISS", "--at", at, "--observer", "95,0,0"}).status, 2);
    EXPECT_EQ(tool({"sat", path(), "ISS", "--at", at}).status, 2);
}

TEST_F(SatelliteCommandTest, ASetThatWasReadButRejectedIsNotCalledMissing)
{
    const auto [l1, l2] = testorbits::lines(testorbits::kWeather);
    QByteArray damaged = "NOAA 19\r\n" + QByteArray::fromStdString(l1) + "\r\n" + QByteArray::fromStdString(l2) + "\r\n";
    damaged.replace("99.1900", "98.1900");
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(damaged + "CUT\r\n" + QByteArray::fromStdString(l1) + "\r\n");
    file.close();

    const struct
    {
        QStringList args;
        QString says;
    } cases[] = {
        {{"sgp4", path(), "NOAA 19", "0"}, "its lines fail their check digit"},
        {{"sat", path(), "noaa 19", "--at", "2026-06-10 09:30:00", "--observer", "51,0,0"}, "its lines fail their check digit"},
        {{"sgp4", path(), "CUT", "0"}, "its line 2 is missing"},
    };
    for (const auto &c : cases) {
        const ToolRun run = tool(c.args);
        EXPECT_EQ(run.status, 1) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.says)) << run.err.toStdString();
        EXPECT_FALSE(run.err.contains("no element set named")) << run.err.toStdString();
    }

    const QJsonObject json = QJsonDocument::fromJson(tool({"--json", "keps", path()}).out.toUtf8()).object();
    EXPECT_EQ(json["failed_check"].toArray(), QJsonArray{"NOAA 19"});
    EXPECT_EQ(json["incomplete"].toArray(), QJsonArray{"CUT"});
}
