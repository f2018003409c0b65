// Telemetry values are checked against the equations worked by hand:
// value = a x^2 + b x + c for each analogue channel, a bit is on when it
// equals its sense bit.
#include "host/StationDatabase.h"
#include "host/aprs/Telemetry.h"

#include <gtest/gtest.h>

namespace {

void hear(StationDatabase &db, const QString &line)
{
    Tnc2Frame frame;
    ASSERT_TRUE(parseTnc2(line, &frame)) << line.toStdString();
    db.applyFrame(frame, QStringLiteral("2026-12-07 20:00:00"), 1);
}

HostTelemetry::Channel channel(const HostTelemetry &t, const QString &name)
{
    for (const HostTelemetry::Channel &c : t.channels)
        if (c.name == name)
            return c;
    ADD_FAILURE() << "no channel " << name.toStdString();
    return {};
}

TEST(Telemetry, SequenceWithNamesUnitsEquationsAndBits)
{
    StationDatabase db;
    const QString from = QStringLiteral("N0QBF-11>APRS,WIDE2-1:");
    hear(db, from + QStringLiteral("T#004,100,100,100,100,100,00000000"));
    hear(db, from + QStringLiteral(":N0QBF-11 :PARM.Battery,Btemp,ATemp,Pres,Alt,Camra,Chute,Sun,10m,ATV"));
    hear(db, from + QStringLiteral(":N0QBF-11 :UNIT.v/100,deg.F,deg.F,Mbar,Kft,Click,OPEN,on,on,hi"));
    hear(db, from + QStringLiteral(":N0QBF-11 :EQNS.0,5.2,0,0,.53,-32,3,4.39,49,-32,3,18,1,2,3{5"));
    hear(db, from + QStringLiteral(":N0QBF-11 :BITS.10110000,N0QBF's Big Balloon"));
    hear(db, from + QStringLiteral("T#005,199,000,255,073,123,01101001 comment"));

    const telemetry::Station *station = db.telemetryOf("N0QBF-11");
    ASSERT_NE(station, nullptr);
    const HostTelemetry t = telemetry::describe(*station);
    EXPECT_EQ(t.sequence, QStringLiteral("005"));
    EXPECT_EQ(t.project, QStringLiteral("N0QBF's Big Balloon"));
    ASSERT_EQ(t.channels.size(), 13);
    // 5.2 * 199 = 1034.8; 0.53 * 0 - 32; 3 * 255^2 + 4.39 * 255 + 49 = 196243.45;
    // -32 * 73^2 + 3 * 73 + 18 = -170291; 123^2 + 2 * 123 + 3 = 15378.
    const struct
    {
        const char *name, *value, *unit;
    } analogue[] = {{"Battery", "1034.8", "v/100"}, {"Btemp", "-32", "deg.F"}, {"ATemp", "196243.45", "deg.F"},
                    {"Pres", "-170291", "Mbar"},    {"Alt", "15378", "Kft"}};
    for (const auto &a : analogue) {
        const HostTelemetry::Channel c = channel(t, a.name);
        EXPECT_EQ(c.value, QString::fromLatin1(a.value)) << a.name;
        EXPECT_EQ(c.unit, QString::fromLatin1(a.unit)) << a.name;
    }
    // Bits 01101001 against the sense 10110000: only the third (Sun) and
    // the unnamed sixth and seventh are on.
    EXPECT_EQ(channel(t, "Camra").value, QStringLiteral("Off"));
    EXPECT_EQ(channel(t, "Chute").value, QStringLiteral("Off"));
    EXPECT_EQ(channel(t, "Sun").value, QStringLiteral("on"));
    EXPECT_EQ(channel(t, "10m").value, QStringLiteral("Off"));
    EXPECT_EQ(channel(t, "ATV").value, QStringLiteral("Off"));
    EXPECT_EQ(channel(t, "B6").value, QStringLiteral("On"));
    EXPECT_EQ(channel(t, "B7").value, QStringLiteral("On"));
    EXPECT_EQ(channel(t, "B8").value, QStringLiteral("Off"));

    // The record itself is a station heard six times, no position from it.
    EXPECT_EQ(db.find("N0QBF-11")->frames, 6u);
    EXPECT_FALSE(db.find("N0QBF-11")->hasPosition);
}

TEST(Telemetry, ValuesWithoutDefinitionsAndDefinitionsForOthers)
{
    StationDatabase db;
    hear(db, QStringLiteral("G4TLM>APRS:T#MIC,1.5,-2,3"));
    const HostTelemetry raw = telemetry::describe(*db.telemetryOf("G4TLM"));
    ASSERT_EQ(raw.channels.size(), 3) << "three values, no bits";
    EXPECT_EQ(raw.channels[0].name, QStringLiteral("A1"));
    EXPECT_EQ(raw.channels[0].value, QStringLiteral("1.5"));
    EXPECT_EQ(raw.channels[1].value, QStringLiteral("-2"));

    // Definitions for a station nobody has heard are not kept; for a known
    // station they are, whoever sends them.
    hear(db, QStringLiteral("G4GATE>APRS::G4NOBODY :PARM.Volts"));
    EXPECT_EQ(db.telemetryOf("G4NOBODY"), nullptr);
    hear(db, QStringLiteral("G4GATE>APRS::G4TLM    :PARM.Volts,Amps"));
    EXPECT_EQ(telemetry::describe(*db.telemetryOf("G4TLM")).channels[1].name, QStringLiteral("Amps"));
    // An ordinary message changes nothing.
    hear(db, QStringLiteral("G4GATE>APRS::G4TLM    :PARM is a word"));
    EXPECT_EQ(telemetry::describe(*db.telemetryOf("G4TLM")).channels[0].name, QStringLiteral("Volts"));

    // Forgetting the station forgets its telemetry.
    db.remove("G4TLM");
    EXPECT_EQ(db.telemetryOf("G4TLM"), nullptr);
}

TEST(Telemetry, MalformedReportsAreNotTelemetry)
{
    telemetry::Report r;
    for (const char *bad : {"T#", "T#005", "T#005,", "T#005,abc,1", "T#TOOLONG,1,2", "T#0\xe9,1", "T#005,1e999"})
        EXPECT_FALSE(telemetry::parseReport(QString::fromLatin1(bad), &r)) << bad;
    ASSERT_TRUE(telemetry::parseReport(u"T#1,1,2,3,4,5,10x", &r));
    EXPECT_EQ(r.bits, QStringLiteral("10")) << "bits end at the first other character";
    ASSERT_TRUE(telemetry::parseReport(u"T#1,1,2,x,4,5,11111111", &r));
    EXPECT_EQ(r.analogCount, 2) << "values stop at the first that is no number";
    EXPECT_TRUE(r.bits.isEmpty());

    telemetry::Definitions d;
    EXPECT_TRUE(d.apply(u"EQNS.1,2"));
    EXPECT_EQ(d.equations[0][0], 1);
    EXPECT_EQ(d.equations[0][1], 2);
    EXPECT_EQ(d.equations[0][2], 0) << "missing coefficients keep the plain value";
    EXPECT_EQ(d.equations[1][1], 1);
    EXPECT_FALSE(d.apply(u"BITS.xyz"));
    EXPECT_FALSE(d.apply(u"UNITS"));
    EXPECT_EQ(telemetry::formatValue(-0.0001), QStringLiteral("0"));
    EXPECT_EQ(telemetry::formatValue(2.50), QStringLiteral("2.5"));
}

} // namespace
