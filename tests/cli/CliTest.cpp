#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include "ToolProcess.h"
#include <gtest/gtest.h>

TEST(KestrelTool, HelpVersionAndBadArguments)
{
    const ToolRun help = tool({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("Usage: kestrel-tool")) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("tz list"));

    const ToolRun version = tool({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.trimmed(), QStringLiteral("kestrel-tool " KESTREL_VERSION));

    const ToolRun none = tool({});
    EXPECT_EQ(none.status, 2);
    const ToolRun unknown = tool({"frobnicate"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err.count('\n'), 1);
    const ToolRun badTz = tool({"tz", "dst", "Europe/London", "yesterday"});
    EXPECT_EQ(badTz.status, 2);
    EXPECT_EQ(badTz.err.count('\n'), 1);
}

TEST(KestrelTool, TimeZoneJson)
{
    const ToolRun list = tool({"--json", "tz", "list"});
    ASSERT_EQ(list.status, 0);
    const QJsonArray zones = QJsonDocument::fromJson(list.out.toUtf8()).array();
    ASSERT_GT(zones.size(), 100);
    bool found = false;
    for (const QJsonValue &zone : zones)
        if (zone["standard_name"].toString() == "Australia/Sydney") {
            found = true;
            EXPECT_EQ(zone["bias"].toInt(), -600);
            EXPECT_EQ(zone["daylight_bias"].toInt(), -60);
        }
    EXPECT_TRUE(found);
    EXPECT_EQ(tool({"--json", "tz", "transition", "2024", "2", "4", "5"}).out.trimmed(), "\"2024-02-29\"");
}

TEST(KestrelTool, DecodeOneLine)
{
    const ToolRun plain = tool({"decode", "N0CALL>APRS,WIDE2-1:!3614.79N/09549.68W>088/036/A=001234 test"});
    ASSERT_EQ(plain.status, 0);
    EXPECT_TRUE(plain.out.contains("latitude: 2174.7900\n")) << plain.out.toStdString();
    EXPECT_TRUE(plain.out.contains("course: 88\n"));
    EXPECT_TRUE(plain.out.contains("height: 1234\n"));
    EXPECT_TRUE(plain.out.contains("header: N0CALL>APRS,WIDE2-1 Port=1 <UI C Len=41>:\n"));

    const ToolRun json = tool({"--json", "decode", "N0CALL>APRS,DIGI*:garbage"});
    ASSERT_EQ(json.status, 0);
    const QJsonObject record = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_FALSE(record.contains("latitude"));  // no position: absent, still success
    EXPECT_EQ(record["course"].toInt(), -32768);
    EXPECT_FALSE(record["heard_direct"].toBool());

    EXPECT_EQ(tool({"decode"}).status, 2);
}
