#include <gtest/gtest.h>

#include <QFile>
#include "ToolProcess.h"
#include <QTemporaryDir>

#include "QtPrinters.h"

TEST(KelCommand, PrintsTwelveCellsPerRowForEveryLayoutAndSkipsShortLines)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.kel"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("N0CALL|Wx|Yes|12|Received Direct|36.14.79N|095.49.68W|3|status text|06/12/2026 12:29:00|\r\n"
               "G2OLD|Yes|7|Received Direct|51.00.00N|001.00.00W|5|old|06/12/2026 09:00:00|\r\n"
               "HIGH|Fixed|Yes|1|Received Direct|51.00.00N|001.00.00W|1|up|06/12/2026 09:00:00|41216 ft|\r\n"
               "\r\nbad|line\r\n");
    file.close();
    int code = -1;
    EXPECT_EQ(runTool({"kel", path}, &code),
              "N0CALL\tWx\tYes\t12\tReceived Direct\t36.14.79N\t095.49.68W\t3\tstatus text\t06/12/2026 12:29:00\t\t\n"
              "G2OLD\t\tYes\t7\tReceived Direct\t51.00.00N\t001.00.00W\t5\told\t06/12/2026 09:00:00\t\t\n"
              "HIGH\tFixed\tYes\t1\tReceived Direct\t51.00.00N\t001.00.00W\t1\tup\t06/12/2026 09:00:00\t\t41216 ft\n");
    EXPECT_EQ(code, 0);
    runTool({"kel", dir.filePath(QStringLiteral("missing.kel"))}, &code);
    EXPECT_EQ(code, 1);
}

TEST(PhgCommand, CircleKindAndRadius)
{
    EXPECT_EQ(runTool({"phg", "!5130.00N/00007.50W#PHG5130"}), "PHG 12.7911\n");
    EXPECT_EQ(runTool({"phg", "RNG0050"}), "RNG 80.4672\n");
    EXPECT_EQ(runTool({"phg", "PHGabcd"}), "none\n");
    EXPECT_EQ(runTool({"--json", "phg", "RNG0050"}), "{\"kind\":\"RNG\",\"radius_km\":80.4672}\n");
}

TEST(KelCommand, AStatusWithBarsStaysOneRowAndControlCharactersCannotReachTheTerminal)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.kel"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // As Kestrel saves a status "a|b" and one carrying an escape sequence.
    file.write("N0CALL|Fixed|Yes|1|Received Direct|51.30.00N|000.07.50W|2|a%7Cb|2026-12-06 12:29:00|\r\n"
               "N1CALL|Fixed|Yes|1|Received Direct|51.30.00N|000.07.50W|2|\x1b[2Jx\tz|2026-12-06 12:29:00|\r\n");
    file.close();
    EXPECT_EQ(runTool({"kel", path}),
              "N0CALL\tFixed\tYes\t1\tReceived Direct\t51.30.00N\t000.07.50W\t2\ta|b\t2026-12-06 12:29:00\t\t\n"
              "N1CALL\tFixed\tYes\t1\tReceived Direct\t51.30.00N\t000.07.50W\t2\t\\x1b[2Jx\\x09z\t2026-12-06 12:29:00\t\t\n");
}
