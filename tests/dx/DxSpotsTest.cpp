#include "dx/DxListFile.h"
#include "dx/DxRows.h"
#include "dx/DxSpotText.h"
#include "dx/DxStations.h"

#include "TempDirs.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString Spot = QStringLiteral("DX de F5KIG:      7015.0  UA9KXK       CW Siberia                     2000Z");

DxStations spot(const QString &callsign, const QString &spotter, const QString &band, const QDateTime &heard)
{
    DxStations s;
    s.Callsign = callsign;
    s.DxFrom = spotter;
    s.Band = band;
    s.TimeHeard = heard;
    return s;
}

QDateTime at(int hour, int minute, int second)
{
    return QDateTime(QDate(2026, 7, 1), QTime(hour, minute, second));
}

} // namespace

TEST(DxSpotText, SpotterTimeAndComment)
{
    const struct
    {
        QString text;
        QString spotter;
    } cases[] = {
        {Spot, "F5KIG"},
        {"DX de Q1XYZ:", "Q1XYZ"},
        {"DX de Q1XYZ> 7015.0 X", "Q1XYZ"},           // no ":": the ">" ends it
        {"DX de Q1XYZ 7015.0 X", "???"},              // neither
        {"DX DE Q1XYZ: 7015.0", "???"},               // "de" is matched with letter case
        {"12:00 DX de Q1XYZ: 7015.0", "???"},         // the ":" comes first
        {"DX de:", "???"},
        {"", "???"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DxSpotText::spotter(c.text), c.spotter) << c.text.toStdString();

    EXPECT_EQ(DxSpotText::time(Spot), "2000Z");
    EXPECT_EQ(DxSpotText::time("12Z"), "12Z");
    EXPECT_EQ(DxSpotText::comment(Spot, 40), "CW Siberia                     ");
    EXPECT_EQ(DxSpotText::comment(Spot, 39), "CW Siberia                     ");
    EXPECT_EQ(DxSpotText::comment("DX de F5KIG: 7015.0 UA9KXK 2000Z", 40), "") << "too short for a comment";
    EXPECT_EQ(DxSpotText::comment(QString(44, u'x'), 40), "");
    EXPECT_EQ(DxSpotText::comment(QString(45, u'x'), 40), "x");
}

TEST(DxRows, ColumnFormsPadAndKeepLongValuesWhole)
{
    EXPECT_EQ(columnForm("ab", QLatin1StringView("@@@@")), "  ab");
    EXPECT_EQ(columnForm("ab", QLatin1StringView("!@@@@")), "ab  ");
    EXPECT_EQ(columnForm("abcdef", QLatin1StringView("!@@@@")), "abcdef");
}

TEST(DxRows, BandRowAndNotifiedLineLineUpUnderTheirHeadings)
{
    DxStations s;
    s.Callsign = "UA9KXK";
    s.DxFrom = "F5KIG";
    s.Frequency = "7015.0";
    s.Distance = 4321;
    s.Latitude = 0;
    s.Longitude = 0;
    s.Bearing = 45;
    s.dxTime = "2000Z";
    s.dxText = "CW Siberia";
    EXPECT_EQ(DxRows::bandHeading(),
              "Callsign     From      Frequency   Dist Lat  Lon Brng     Time  Comments");
    EXPECT_EQ(DxRows::bandRow(s), QString("UA9KXK       F5KIG        7015.0   4321   0S   0W  45") + QChar(0xB0)
                                      + "   2000Z  CW Siberia");
    s.Latitude = -33;
    s.Longitude = 151;
    EXPECT_TRUE(DxRows::bandRow(s).contains("  33S 151E")) << DxRows::bandRow(s).toStdString();
    s.Latitude = 1;
    s.Longitude = -1;
    EXPECT_TRUE(DxRows::bandRow(s).contains("   1N   1W"));

    EXPECT_EQ(DxRows::notifiedHeading(),
              "Callsign From      Frequency   Dist Lat  Lon Brng     Time  Comments");
    EXPECT_EQ(DxRows::notifiedLine(Spot, "UA9KXK", "7015.0", 0, 0, 45, 4321, "F5KIG"),
              QString("UA9KXK   F5KIG        7015.0   4321   0S   0W  45") + QChar(0xB0)
                  + "   2000Z  CW Siberia                     ");
}

TEST(DxSpotCollection, ARepeatedSpotUpdatesItsRecordInPlace)
{
    DxSpotCollection spots;
    EXPECT_TRUE(spots.put(spot("UA9KXK", "F5KIG", "40M", at(10, 0, 0))));
    EXPECT_TRUE(spots.put(spot("ZL2KXH", "F5KIG", "40M", at(10, 1, 0))));
    EXPECT_TRUE(spots.put(spot("UA9KXK", "M0KDB", "40M", at(10, 2, 0)))) << "another spotter: a record of its own";
    DxStations again = spot("UA9KXK", "F5KIG", "20M", at(10, 3, 0));
    again.Frequency = "14025.0";
    EXPECT_FALSE(spots.put(again));
    EXPECT_FALSE(spots.put(spot("ua9kxk", "f5kig", "20M", at(10, 3, 0)))) << "the key ignores letter case";
    ASSERT_EQ(spots.count(), 3);
    EXPECT_EQ(spots.records()[0].Band, "20M");
    EXPECT_EQ(spots.records()[0].TimeHeard, at(10, 3, 0));
    EXPECT_EQ(spots.countInBand("40M"), 2);
    EXPECT_EQ(spots.countInBand("20M"), 1);
    EXPECT_EQ(spots.countInBand("20m"), 0);
}

TEST(DxSpotCollection, ExpiryCountsMinuteBoundariesNotElapsedMinutes)
{
    EXPECT_EQ(DxSpotCollection::minuteBoundaries(at(10, 0, 59), at(11, 0, 0)), 60);
    EXPECT_EQ(DxSpotCollection::minuteBoundaries(at(10, 0, 0), at(10, 59, 59)), 59);
    EXPECT_EQ(DxSpotCollection::minuteBoundaries(at(23, 59, 59), QDateTime(QDate(2026, 7, 2), QTime(0, 0))), 1);

    DxSpotCollection spots;
    spots.put(spot("A1A", "X", "40M", at(10, 0, 59)));
    spots.put(spot("B1B", "X", "20M", at(10, 1, 0)));
    spots.put(spot("A1A", "Y", "20M", at(10, 30, 0)));
    EXPECT_TRUE(spots.expire(at(10, 59, 59), 60).isEmpty());
    const QList<DxStations> gone = spots.expire(at(11, 0, 0), 60);
    ASSERT_EQ(gone.size(), 1);
    EXPECT_EQ(gone[0].Callsign, "A1A");
    EXPECT_TRUE(spots.hasCallsign("A1A")) << "still spotted by Y";
    EXPECT_EQ(spots.countInBand("40M"), 0);
    EXPECT_EQ(spots.records()[0].Callsign, "B1B");
    EXPECT_NE(spots.find("a1a", "y"), nullptr) << "found again after the removal";
}

TEST(DxListFile, ThreeSpotsMakeThreeLinesOfTwelveFieldsAndReadBack)
{
    TempDirs dirs;
    QList<DxStations> spots;
    for (int i = 0; i < 3; ++i) {
        DxStations s = spot(QString("K%1ABC").arg(i), "F5KIG", "20M", at(10, i, 5));
        s.DxSpot = Spot;
        s.Frequency = "14025.0";
        s.Latitude = qint16(-i);
        s.Distance = 1234;
        s.dxTime = "2000Z";
        s.dxText = i == 2 ? "a|b\r\nc" : "CW";  // hostile text keeps the line whole
        spots.append(s);
    }
    const QString path = dirs.data() + "/three.ked";
    QString error;
    ASSERT_TRUE(DxListFile::write(path, spots, &error)) << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.count("\r\n"), 3);
    EXPECT_TRUE(bytes.startsWith("K0ABC|1234|DX de F5KIG:      7015.0  UA9KXK       CW Siberia                     "
                                 "2000Z|14025.0|0|0|0|20M|F5KIG|2000Z|CW|2026-07-01 10:00:05\r\n"));

    QList<QStringList> rows;
    int skipped = -1;
    ASSERT_TRUE(DxListFile::read(path, &rows, &skipped, &error));
    EXPECT_EQ(skipped, 0);
    ASSERT_EQ(rows.size(), 3);
    for (const QStringList &row : rows)
        EXPECT_EQ(row.size(), DxListFile::Fields);
    EXPECT_EQ(rows[1][4], "-1");
    EXPECT_EQ(rows[2][10], QString("a") + QChar(0xA6) + "b  c");
    EXPECT_EQ(rows[2][11], "2026-07-01 10:02:05");

    EXPECT_EQ(DxListFile::parse("a|b\r\n\r\n" + bytes, &skipped).size(), 3);
    EXPECT_EQ(skipped, 2);
}
