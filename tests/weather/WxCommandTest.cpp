#include <gtest/gtest.h>

#include <QFile>
#include "ToolProcess.h"
#include <QTemporaryDir>

TEST(WxCommand, ReadingsInOrderAsShortestSinglePrecisionText)
{
    int code = -1;
    EXPECT_EQ(runTool({"wx", "_12072202c052s001g002t068r000p000P000h72b10191wDAV"}, &code),
              "direction: 52\nspeed: 1\ngust: 2\ntemperature: 68\nhumidity: 72\nrain: 0\n"
              "rain_label: Rain Today\npressure: 1019.1\ndewpoint_c: 14.800469\nwindchill_c: 20\n"
              "dewpoint_f: 58.640846\nwindchill_f: 68\n");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(runTool({"--json", "wx", "_91/000t056"}),
              "{\"direction\":-9999,\"speed\":-9999,\"gust\":-9999,\"temperature\":56,\"humidity\":-9999,"
              "\"rain\":-9999,\"rain_label\":\"\",\"pressure\":-9999,\"dewpoint_c\":-9999,\"windchill_c\":-9999,"
              "\"dewpoint_f\":-9999,\"windchill_f\":-9999}\n");
    EXPECT_EQ(runTool({"wx", "_PHG5130"}), "none\n");
    EXPECT_EQ(runTool({"--json", "wx", "_PHG5130"}), "null\n");
    runTool({"wx"}, &code);
    EXPECT_EQ(code, 2);
    runTool({"wx", "a", "b"}, &code);
    EXPECT_EQ(code, 2);
}

TEST(WxCommand, FileDaysAndTheReportsOfOneDay)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("N0CALL.kew");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[05/12/2026]\r\nvalue1=05/12/2026 23:50:00\xFD_t040\r\n"
               "[06/12/2026]\r\nValue1=06/12/2026\xFD_c090s010g015t050h80b10150P010\r\n"
               "Value2=12/6/2026 2:05:00 PM\xFD_PHG5130\r\n");
    file.close();

    int code = -1;
    EXPECT_EQ(runTool({"wxfile", path}, &code), "05/12/2026\n06/12/2026\n");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(runTool({"--json", "wxfile", path}), "[\"05/12/2026\",\"06/12/2026\"]\n");
    EXPECT_EQ(runTool({"wxfile", path, "06/12/2026"}),
              "00:00:00\t90\t10\t15\t50\t80\t2.54\tRain Today\t1015\t6.7142572\t5\t44.085663\t41\n"
              "14:05:00\tnone\n");
    const QByteArray json = runTool({"--json", "wxfile", path, "05/12/2026"});
    EXPECT_TRUE(json.startsWith("{\"day\":\"05/12/2026\",\"reports\":[{\"time\":\"23:50:00\",\"readings\":{\"direction\":-9999,"))
        << json.toStdString();
    runTool({"wxfile", path, "07/12/2026"}, &code);
    EXPECT_EQ(code, 1);
    runTool({"wxfile", dir.filePath("missing.kew")}, &code);
    EXPECT_EQ(code, 1);
    runTool({"wxfile"}, &code);
    EXPECT_EQ(code, 2);
}
