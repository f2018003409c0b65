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

TEST(DecodeBatch, JsonCarriesEverythingTheDecoderRead)
{
    const struct {
        const char *line;
        const char *key;
        QJsonValue value;
    } cases[] = {
        {"N0OBJ>APRS:;LEADER   *092345z4903.50N/07201.75W>088/036", "type", "object"},
        {"N0OBJ>APRS:;LEADER   *092345z4903.50N/07201.75W>088/036", "object_name", "LEADER"},
        {"N0OBJ>APRS:;LEADER   *092345z4903.50N/07201.75W>088/036", "timestamp", "092345z"},
        {"N0CALL>APRS:@234517h4903.50N/07201.75W-Hello", "comment", "Hello"},
        {"N0CALL>332U6T:`(_fn\"Oj/]Help=", "mice_message", "Emergency"},
        {"N0CALL>332U6T:`(_fn\"Oj/]Help=", "comment", "Help"},
        {"N0CALL>APRS:!4903.50N/07201.75W-!W12!", "latitude", 2943.501},
        {"N0CALL>APRS:!4903.50N/07201.75W-!W12!", "dao", "W"},
        {"N0CALL>APRS:!/5L!!<*e7>{?!", "range", 20.1},
        {"N0CALL>APRS:!4903.50N/07201.75W-Test|ss11|", "telemetry_sequence", "7544"},
        {"N0CALL>APRS:!4903.50N/07201.75W-Test|ss11|", "telemetry_analog", "1472"},
        {"N0WX>APRS:$ULTW0000000001FF000427C70002CCD30001026E003A050F00040000", "weather",
         "_c360s000g000t051P004h62b10183"},
        {"BALLOON>APRS:!4903.50N/07201.75WO/A=041216", "height", 41216},
    };
    for (const auto &c : cases) {
        const ToolRun run = tool({"--json", "decode", QString::fromLatin1(c.line)});
        ASSERT_EQ(run.status, 0) << c.line << run.err.toStdString();
        const QJsonObject record = QJsonDocument::fromJson(run.out).object();
        EXPECT_EQ(record.value(QLatin1String(c.key)), c.value) << c.line << " " << c.key << "\n" << run.out.toStdString();
    }
    // A fixed station sends no height: none is printed, rather than 0.
    const ToolRun fixed = tool({"--json", "decode", "N0CALL>APRS:!4903.50N/07201.75W-"});
    EXPECT_FALSE(QJsonDocument::fromJson(fixed.out).object().contains("height"));
}

TEST(DecodeBatch, LinesAreTakenAsTheHostTakesThem)
{
    // Trailing blanks belong to the frame; only the line end goes.
    const ToolRun blanks = tool({"--json", "decode", "-"}, "N0CALL>APRS:>status  \r\n");
    EXPECT_EQ(QJsonDocument::fromJson(blanks.out.trimmed()).object()["status"].toString(), "status  ");

    // A line over 64 KiB is no frame wherever it falls in the read buffer:
    // whole in the first block, or across blocks.
    const QByteArray longFrame = "N0CALL>APRS:>" + QByteArray(70000, 'x');
    for (const QByteArray &before : {QByteArray(), QByteArray(1048000, 'y') + "\n"}) {
        const ToolRun run = tool({"--json", "decode", "-"}, before + longFrame + "\nN0END>APRS:>end\n");
        const QList<QByteArray> lines = run.out.trimmed().split('\n');
        ASSERT_EQ(lines.size(), 1) << before.size();
        EXPECT_EQ(QJsonDocument::fromJson(lines[0]).object()["callsign"].toString(), "N0END");
        EXPECT_TRUE(run.err.contains("longer than")) << run.err.toStdString();
    }
}

} // namespace
