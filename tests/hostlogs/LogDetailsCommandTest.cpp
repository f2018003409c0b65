#include <gtest/gtest.h>

#include <QFile>
#include "ToolProcess.h"
#include <QTemporaryDir>

#include "QtPrinters.h"

namespace {

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(LogDetailsCommand, StartEndAndOneLinePerStationOrInvalid)
{
    QTemporaryDir dir;
    const QString good = dir.filePath("day.log");
    write(good, "2026-07-01 10:00:00 START LOCAL TIME\r\n"
                "2026-07-01 10:20:00 G4KDA>APRS:>one\r\n"
                "2026-07-01 10:10:00 G0KST>APRS:>two\r\n"
                "2026-07-01 10:15:00 G4KDA>APRS:>three\r\n");
    int code = -1;
    EXPECT_EQ(runTool({"logdetails", good}, &code),
              "start: 01-Jul-2026 10:00:00\nend: 01-Jul-2026 10:20:00\nG4KDA\t2\nG0KST\t1\n");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(runTool({"--json", "logdetails", good}),
              "{\"valid\":true,\"start\":\"01-Jul-2026 10:00:00\",\"end\":\"01-Jul-2026 10:20:00\","
              "\"stations\":[{\"callsign\":\"G4KDA\",\"count\":2},{\"callsign\":\"G0KST\",\"count\":1}]}\n");

    const QString startOnly = dir.filePath("start.log");
    write(startOnly, "2026-07-01 10:00:00 START LOCAL TIME\r\n");
    EXPECT_EQ(runTool({"logdetails", startOnly}, &code), "invalid\n");
    EXPECT_EQ(code, 0);
    runTool({"logdetails", dir.filePath("missing.log")}, &code);
    EXPECT_EQ(code, 1);
    runTool({"logdetails", good, good}, &code);
    EXPECT_EQ(code, 2);
}
