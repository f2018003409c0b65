#include <gtest/gtest.h>

#include <QFile>
#include "ToolProcess.h"
#include <QTemporaryDir>

#include "QtPrinters.h"

TEST(StatsCommand, OneLinePerBarWithTheDefaultColours)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("day.kes"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("46204.5|10\r\n46204.5069444444|20\r\nbroken\r\n46204.5138888889|21\r\n");
    file.close();
    int code = -1;
    QByteArray errors;
    EXPECT_EQ(runTool({"stats", path}, &code, &errors),
              "2026-07-01 12:00:00\t10\tgreen\n"
              "2026-07-01 12:10:00\t20\tyellow\n"
              "2026-07-01 12:20:00\t21\tred\n");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(errors, "stats: 1 line could not be read and was skipped\n");
    EXPECT_EQ(runTool({"--json", "stats", path}),
              "{\"bars\":[{\"time\":\"2026-07-01 12:00:00\",\"value\":10,\"colour\":\"green\"},"
              "{\"time\":\"2026-07-01 12:10:00\",\"value\":20,\"colour\":\"yellow\"},"
              "{\"time\":\"2026-07-01 12:20:00\",\"value\":21,\"colour\":\"red\"}],\"skipped\":1}\n");
    runTool({"stats", dir.filePath(QStringLiteral("missing.kes"))}, &code);
    EXPECT_EQ(code, 1);
    runTool({"stats"}, &code);
    EXPECT_EQ(code, 2);
}
