#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "QtPrinters.h"

namespace {

struct ToolRun
{
    int exitCode = -1;
    QByteArray out;
};

ToolRun runFrame(const QByteArray &input, const QStringList &extra = {})
{
    QProcess tool;
    tool.start(QStringLiteral(KESTREL_TOOL_PATH), extra + QStringList{"frame"});
    tool.write(input);
    tool.closeWriteChannel();
    tool.waitForFinished(10000);
    return {tool.exitCode(), tool.readAllStandardOutput()};
}

} // namespace

TEST(FrameCommand, PrintsEachPartAndTheEventsOfASampleFrame)
{
    const ToolRun run = runFrame("1N0CALL>APZ031,CLRMRE*,WIDE3-2:\n"
                             "@291229z3614.79N/09549.68W_91/000g000t056r000P000p000h81b10186zU2k\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "source: N0CALL\n"
                       "header: N0CALL>APZ031,CLRMRE*,WIDE3-2 Port=1 <UI C Len=56>:  \n"
                       "payload: @291229z3614.79N/09549.68W_91/000g000t056r000P000p000h81b10186zU2k\n"
                       "weather: _91/000g000t056r000P000p000h81b10186zU2k\n"
                       "report_time: stamp 12:29\n"
                       "event: 1 Added wx Data from N0CALL\n"
                       "event: 1 Added Beacon from N0CALL\n");
}

TEST(FrameCommand, JsonHasTheSameKeysAndLatinOneBytesSurvive)
{
    const ToolRun run = runFrame("N0CALL>APRS:\r\n~\xFD~\r\n", {"--json"});
    EXPECT_EQ(run.exitCode, 0);
    const QJsonObject object = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(object.value("payload").toString(), QStringLiteral("~") + QChar(0xFD) + "~");
    EXPECT_EQ(object.value("weather").toString(), "");
    EXPECT_EQ(object.value("report_time").toString(), "none");
    EXPECT_EQ(object.value("events").toArray(),
              QJsonArray({QJsonArray{1, "Query all stations from N0CALL"}}));
}

TEST(FrameCommand, DroppedTextsSaySoAndSucceed)
{
    const ToolRun run = runFrame("no callsign at all");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "dropped: no \">\" in the header\n");
}
