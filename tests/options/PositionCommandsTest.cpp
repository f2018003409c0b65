// kestrel-tool latlon, grid, os2ll, callsign and minutes, run as a user would.
#include <QJsonDocument>
#include <QJsonObject>
#include "ToolProcess.h"
#include <gtest/gtest.h>

TEST(PositionCommands, LatLonChecksAFieldOrReadsAGridReference)
{
    EXPECT_EQ(tool({"latlon", "51.30.5N", "--lat"}).out, "51.30.05N\n");
    EXPECT_EQ(tool({"latlon", "0.7.30W", "--lon"}).out, "000.07.30W\n");
    EXPECT_EQ(tool({"latlon", "51.30.00n", "--lat"}).out, "invalid\n");
    EXPECT_EQ(tool({"latlon", "51.30.00N", "--lon"}).out, "invalid\n");
    EXPECT_EQ(tool({"latlon", "SU 123 456", "--lon"}).out, "51.12.54N\t001.49.43W\n") << "latitude first";
    const ToolRun json = tool({"--json", "latlon", "TQ3080", "--lat"});
    const QJsonObject object = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(object.value("latitude").toString(), "51.30.47N");
    EXPECT_EQ(object.value("longitude").toString(), "000.07.16W");
    for (const QStringList &bad : {QStringList{"latlon", "51N"}, QStringList{"latlon", "51N", "--lat", "--lon"},
                                   QStringList{"latlon", "--lat"}}) {
        const ToolRun r = tool(bad);
        EXPECT_EQ(r.status, 2) << bad.join(' ').toStdString();
        EXPECT_EQ(r.err.count('\n'), 1);
    }
}

TEST(PositionCommands, GridAndOs2llGiveMetresAndDegrees)
{
    const ToolRun grid = tool({"grid", "TQ3080"});
    EXPECT_EQ(grid.status, 0);
    EXPECT_TRUE(grid.out.startsWith("easting: 530500\nnorthing: 180500\nlatitude: 51.50")) << grid.out.toStdString();
    EXPECT_EQ(grid.out.count('\n'), 4);
    EXPECT_EQ(tool({"grid", "IO91"}).out, "invalid\n");

    const ToolRun ll = tool({"os2ll", "651409.903", "313177.270"});
    EXPECT_EQ(ll.status, 0);
    const QStringList parts = ll.out.trimmed().split('\t');
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(parts[0].section('.', 1).size(), 8) << "8 decimals";
    EXPECT_NEAR(parts[0].toDouble(), 52.65757031, 1e-8);
    EXPECT_NEAR(parts[1].toDouble(), 1.71792158, 1e-8);
    EXPECT_EQ(tool({"os2ll", "651409.903"}).status, 2);
    EXPECT_EQ(tool({"os2ll", "east", "north"}).status, 2);
}

TEST(PositionCommands, CallsignAndMinutes)
{
    EXPECT_EQ(tool({"callsign", "Q1XYZ-9"}).out, "valid\n");
    EXPECT_EQ(tool({"callsign", "Q1XYZ-16"}).out, "invalid\n");
    EXPECT_EQ(tool({"--json", "callsign", "2Q0XYZ"}).out, "true\n");
    EXPECT_EQ(tool({"minutes", "000.07.30W"}).out, "-7.3\n");
    EXPECT_EQ(tool({"minutes", "51.30.50N"}).out, "3090.5\n");
    EXPECT_EQ(tool({"minutes", "51.30.50"}).out, "0\n");
    EXPECT_EQ(tool({"minutes"}).status, 2);
}

// A result that is no number is refused, in text and in JSON, rather than
// printed as "nan" or "inf" (which is not JSON either).
TEST(PositionCommands, ResultsThatAreNoFiniteNumberAreRefused)
{
    const QStringList huge(42, QStringLiteral("9"));
    for (const QStringList &args : {QStringList{"os2ll", "1e300", "1e300"}, QStringList{"--json", "os2ll", "1e300", "1e300"},
                                    QStringList{"minutes", huge.join(QString()) + "N"},
                                    QStringList{"--json", "minutes", huge.join(QString()) + "N"}}) {
        const ToolRun r = tool(args);
        EXPECT_EQ(r.status, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_TRUE(r.err.contains("not a finite number")) << r.err.toStdString();
    }
    EXPECT_EQ(tool({"--json", "minutes", "51.30.50N"}).out, "3090.5\n");
}
