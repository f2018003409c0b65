#include <gtest/gtest.h>

#include <QFile>
#include "ToolProcess.h"
#include <QTemporaryDir>

namespace {

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

} // namespace

TEST(BandCommand, BuiltInOrFileBandsAndOtherOutsideThem)
{
    int code = -1;
    EXPECT_EQ(runTool({"band", "2000"}, &code), "160M\n");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(runTool({"band", "2000.1"}, &code), "Other\n");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(runTool({"--json", "band", "14000.0"}), "{\"band\":\"20M\"}\n");

    QTemporaryDir dir;
    const QString path = writeFile(dir, "BandDetails.txt", "' comment\r\n14000|14100|20m CW\r\nbroken\r\n");
    QByteArray errors;
    EXPECT_EQ(runTool({"band", "14050", "--file", path}, &code, &errors), "20m CW\n");
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(errors.contains("line 3")) << errors.constData();
    runTool({"band", "14050", "--file", dir.filePath("missing.txt")}, &code);
    EXPECT_EQ(code, 1);
    runTool({"band"}, &code);
    EXPECT_EQ(code, 2);
}

TEST(PrefixCommand, LongestPrefixCountryAndLineOrNone)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "prefix.txt",
                                   "EA-EH,AM-A0:Spain:EU:37:14:1:40N:4W\r\n"
                                   "EA8,EB8:Canary Islands:AF:36:33:0:28N:16W\r\n");
    EXPECT_EQ(runTool({"prefix", "EA8/G4ABC", "--file", path}), "EA8\tCanary Islands\tEA8,EB8\n");
    EXPECT_EQ(runTool({"prefix", "--file", path, "AO5X"}), "AO\tSpain\tEA-EH,AM-A0\n");
    EXPECT_EQ(runTool({"prefix", "W1AW", "--file", path}), "none\n");
    EXPECT_EQ(runTool({"--json", "prefix", "EB8ZZ", "--file", path}),
              "{\"prefix\":\"EB8\",\"country\":\"Canary Islands\",\"line\":\"EA8,EB8\"}\n");
    int code = -1;
    runTool({"prefix", "EA8ABC"}, &code);
    EXPECT_EQ(code, 2) << "the file is required";
}

TEST(DxListCommand, PrintsTwelveFieldsPerSpot)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "spots.ked",
                                   "K1ABC|1234|DX de F5KIG: 14025.0 K1ABC CW 2000Z|14025.0|42|-71|290|20M|F5KIG|2000Z|"
                                   "CW|2026-07-01 10:00:05\r\n"
                                   "short|line\r\n");
    int code = -1;
    QByteArray errors;
    EXPECT_EQ(runTool({"dxlist", path}, &code, &errors),
              "K1ABC\t1234\tDX de F5KIG: 14025.0 K1ABC CW 2000Z\t14025.0\t42\t-71\t290\t20M\tF5KIG\t2000Z\tCW\t"
              "2026-07-01 10:00:05\n");
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(errors.contains("1 lines without twelve fields"));
    runTool({"dxlist", dir.filePath("none.ked")}, &code);
    EXPECT_EQ(code, 1);
}

// Fields hold text from the air: a tab would shift the columns and an escape
// sequence would drive the terminal.
TEST(DxListCommand, ControlCharactersAndTabsAreShownEscaped)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "spots.ked",
                                   "K1ABC|1|spot|14025.0|0|0|0|20M|F5KIG|2000Z|CW\tloud \x1b[2J|2026-07-01 10:00:05\r\n");
    const QByteArray out = runTool({"dxlist", path});
    EXPECT_EQ(out.count('\t'), 11);
    EXPECT_TRUE(out.contains("CW\\x09loud \\x1b[2J")) << out.constData();
    EXPECT_FALSE(out.contains('\x1b'));
}
