// kestrel-tool decode -: one record per input line, the same record the
// single-line form gives, whatever the bytes on the line.
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct ToolRun
{
    int status = -1;
    QByteArray out;
    QString err;
};

ToolRun tool(const QStringList &args, const QByteArray &input = {})
{
    QProcess p;
    p.start(QStringLiteral(KESTREL_TOOL_PATH), args);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(30000);
    return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError())};
}

const QByteArray Frames[] = {
    "N0CALL>APRS,WIDE2-1:!3614.79N/09549.68W>088/036/A=001234 test",
    "N0CALL-9>S32U6T,WIDE1-1:`(_fn\"Oj/]Going \"home\"\\",
    "N0OBJ>APRS:;LEADER   *092345z4903.50N/07201.75W>088/036",
    "N0WX>APRS:!/5L!!<*e7_7P[g005t077",
    "N0GPS>GPS:$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A",
    "N0UTF>APRS:>Gr\xc3\xbc\xc3\x9f" "e \xe2\x80\x93 73",
    "N0LAT>APRS:>Gr\xfc\xdf" "e",
    "N0CTL>APRS:>tab\there",
};

TEST(DecodeBatch, EveryLineGivesTheRecordTheSingleFormGives)
{
    QByteArray input;
    for (const QByteArray &frame : Frames)
        input += frame + "\r\n";
    const ToolRun json = tool({"--json", "decode", "-"}, input);
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    const QList<QByteArray> lines = json.out.split('\n');
    ASSERT_EQ(lines.size(), std::size(Frames) + 1);
    EXPECT_TRUE(lines.last().isEmpty());
    for (size_t i = 0; i < std::size(Frames); ++i) {
        QJsonParseError error;
        const QJsonObject batch = QJsonDocument::fromJson(lines[qsizetype(i)], &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << lines[qsizetype(i)].toStdString();
        // The single form takes the line as an argument, so text decoding is
        // left to the shell's UTF-8: compare only lines that are UTF-8.
        const QString line = QString::fromUtf8(Frames[i]);
        if (line.toUtf8() != Frames[i])
            continue;
        const ToolRun single = tool({"--json", "decode", line});
        ASSERT_EQ(single.status, 0);
        EXPECT_EQ(batch, QJsonDocument::fromJson(single.out).object()) << Frames[i].toStdString();
    }
    const auto record = [&](int i) { return QJsonDocument::fromJson(lines[i]).object(); };
    EXPECT_EQ(record(2)["callsign"].toString(), "LEADER") << "an object is reported under its name";
    EXPECT_EQ(record(3)["wind_direction"].toInt(), 88);
    EXPECT_EQ(record(3)["course"].toInt(), -32768);
    EXPECT_NEAR(record(4)["latitude"].toDouble(), 2887.038, 0.001);
    EXPECT_EQ(record(5)["status"].toString(), QStringLiteral("Gr\u00FC\u00DFe \u2013 73"));
    EXPECT_EQ(record(6)["status"].toString(), QStringLiteral("Gr\u00FC\u00DFe")) << "Latin-1 when not UTF-8";
    EXPECT_EQ(record(7)["status"].toString(), "tab\there");

    // Plain: one line per record too, a TAB from the air shown as a blank.
    const ToolRun plain = tool({"decode", "-"}, input);
    ASSERT_EQ(plain.status, 0);
    const QList<QByteArray> plainLines = plain.out.split('\n');
    ASSERT_EQ(plainLines.size(), std::size(Frames) + 1);
    EXPECT_TRUE(plainLines[0].startsWith("callsign: N0CALL\tlatitude: 2174.7900\t"));
    EXPECT_TRUE(plainLines[7].contains("status: tab here\t"));
}

TEST(DecodeBatch, BadLinesAreNamedAndSkippedAndTheRestDecoded)
{
    QByteArray input = "12:00:01 G4STA>APRS:>stamped\n\n";
    input += "not a frame\n";
    input += QByteArray(200000, 'x') + "\n";  // no line of that length is a frame
    input += "G4END>APRS:>last line without its end";
    const ToolRun run = tool({"--json", "decode", "-"}, input);
    EXPECT_EQ(run.status, 1);
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(QJsonDocument::fromJson(lines[0]).object()["status"].toString(), "stamped");
    EXPECT_EQ(QJsonDocument::fromJson(lines[1]).object()["callsign"].toString(), "G4END");
    EXPECT_TRUE(run.err.contains("line 3:")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("line 4:")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("2 of 4 lines were not frames")) << run.err.toStdString();

    const ToolRun empty = tool({"decode", "-"}, {});
    EXPECT_EQ(empty.status, 0);
    EXPECT_TRUE(empty.out.isEmpty());
}

} // namespace
