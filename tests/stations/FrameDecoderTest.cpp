#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "stations/FrameDecoder.h"

namespace {

const QString kCRLF = QStringLiteral("\r\n");
const QDateTime kNow(QDate(2026, 12, 7), QTime(20, 15, 30));

const QString kSample1Payload =
    QStringLiteral("@291229z3614.79N/09549.68W_91/000g000t056r000P000p000h81b10186zU2k");
const QString kSample2Payload = QStringLiteral("_12072202c052s001g002t068r000p000P000h72b10191wDAV");

QString frame(const QString &header, const QString &payload, const QString &lineEnd = kCRLF)
{
    return header + lineEnd + payload + lineEnd;
}

QStringList texts(const QList<FrameEvent> &events)
{
    QStringList list;
    for (const FrameEvent &event : events)
        list << QString::number(event.type) + QLatin1Char(' ') + event.text;
    return list;
}

} // namespace

TEST(FrameDecoder, SampleFrameOneIsStoredWithItsOwnTimeStamp)
{
    const FrameDecode f =
        decodeFrame(QStringLiteral("0") + frame("N0CALL>APZ031,CLRMRE*,WIDE3-2:", kSample1Payload), kNow);
    ASSERT_FALSE(f.dropped);
    EXPECT_EQ(f.header, "N0CALL>APZ031,CLRMRE*,WIDE3-2 Port=1 <UI C Len=56>:  ");
    EXPECT_EQ(f.canonical, f.header + kCRLF + kSample1Payload + kCRLF);
    EXPECT_EQ(f.source, "N0CALL");
    EXPECT_EQ(f.payload, kSample1Payload);
    EXPECT_EQ(f.weather, "_91/000g000t056r000P000p000h81b10186zU2k");
    EXPECT_EQ(f.rule, ReportTimeRule::Stamp);
    // "291229z" is the 29th at 12:29 UTC: on 7 December, the last 29th was in November.
    const QDateTime sent = QDateTime(QDate(2026, 11, 29), QTime(12, 29), QTimeZone::utc()).toLocalTime();
    EXPECT_EQ(f.reportTime, QDateTime(sent.date(), sent.time()));
    EXPECT_EQ(texts(f.events),
              QStringList({"1 Added wx Data from N0CALL", "1 Added Beacon from N0CALL"}));
    EXPECT_EQ(f.events.at(0).callsign, "N0CALL");
}

TEST(FrameDecoder, SampleFrameTwoStoresTheWholePayload)
{
    const FrameDecode f = decodeFrame(frame("N0CALL>APW233,TCPIP,N0GATE:", kSample2Payload), kNow);
    ASSERT_FALSE(f.dropped);
    EXPECT_EQ(f.weather, kSample2Payload);
    EXPECT_EQ(f.rule, ReportTimeRule::Now);
    EXPECT_EQ(f.reportTime, kNow);
    EXPECT_EQ(texts(f.events),
              QStringList({"1 Added wx Data from N0CALL", "1 Added Beacon from N0CALL"}));
}

TEST(FrameDecoder, LineEndsNulsAndMissingEndsGiveTheSameCanonicalFrame)
{
    const QString header = QStringLiteral("N0CALL>APZ031,CLRMRE*,WIDE3-2:");
    const QString expected = QStringLiteral("N0CALL>APZ031,CLRMRE*,WIDE3-2 Port=1 <UI C Len=56>:  \r\n") +
                             kSample1Payload + kCRLF;
    const QString nul(QChar(0));
    const QStringList variants = {
        frame(header, kSample1Payload),
        frame(header, kSample1Payload, "\n"),
        frame(header, kSample1Payload, "\r"),
        header + "\r\n" + kSample1Payload,
        header + "\n" + kSample1Payload + "\r",
        nul + header + "\r" + nul + "\n" + kSample1Payload + nul + "\r\n" + nul,
        "1" + header + "\n" + kSample1Payload,
    };
    for (const QString &text : variants) {
        const FrameCut cut = cutFrame(text);
        EXPECT_FALSE(cut.dropped) << text.toStdString();
        EXPECT_EQ(cut.canonical, expected) << text.toStdString();
        EXPECT_EQ(cut.payload, kSample1Payload) << text.toStdString();
    }
}

TEST(FrameDecoder, ReceivedTextKeepsItsLineEndsAndLosesOnlyTheFlag)
{
    const QString text = QStringLiteral("N0CALL>APRS:\n!5130.00N/00007.50W-\n");
    EXPECT_EQ(cutFrame("1" + text).received, text);
    EXPECT_EQ(cutFrame("0" + text).received, text);
    EXPECT_EQ(cutFrame(text).received, text);
}

TEST(FrameDecoder, NormaliseLineEnds)
{
    const struct {
        const char *in;
        const char *out;
    } cases[] = {
        {"", "\r\n"},
        {"a", "a\r\n"},
        {"a\r\n", "a\r\n"},
        {"a\n\nb", "a\r\n\r\nb\r\n"},
        {"a\r\rb\r", "a\r\n\r\nb\r\n"},
        {"a\n\r", "a\r\n\r\n"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FrameText::normaliseLineEnds(QString::fromLatin1(c.in)), QString::fromLatin1(c.out))
            << c.in;
}

TEST(FrameDecoder, LeadingFlagOnlyZeroOrOne)
{
    const QString rest = QStringLiteral("N0CALL>APRS:\r\n!5130.00N/00007.50W-\r\n");
    EXPECT_EQ(cutFrame("1" + rest).source, "N0CALL");
    EXPECT_EQ(cutFrame("0" + rest).source, "N0CALL");
    EXPECT_EQ(cutFrame("2" + rest).source, "2N0CALL");
    // Only one flag character goes.
    EXPECT_EQ(cutFrame("11" + rest).source, "1N0CALL");
}

TEST(FrameDecoder, MonitorFormHeaderIsKeptAsItIs)
{
    const QString header = QStringLiteral("N0CALL-9>APRS,WIDE1-1 Port=1 <UI C Len=56>:  ");
    const FrameCut cut = cutFrame(frame(header, "!5130.00N/00007.50W>"));
    EXPECT_EQ(cut.header, header);
    EXPECT_EQ(cut.source, "N0CALL-9");
}

TEST(FrameDecoder, TimeStampBeforeTheCallsignIsSkipped)
{
    EXPECT_EQ(FrameText::sourceCallsign("12:29:01 N0CALL>APRS"), "N0CALL");
    EXPECT_EQ(FrameText::sourceCallsign("1:N0CALL>APRS"), "1:N0CALL");
    EXPECT_EQ(FrameText::sourceCallsign("N0CALL>AP:RS"), "N0CALL");
    EXPECT_EQ(FrameText::sourceCallsign("N0CALL"), "");
}

TEST(FrameDecoder, ShortHeaderLosesItsLastCharacterWhateverItIs)
{
    // The rewrite takes the header's last character to be the ":".
    const FrameCut cut = cutFrame("N0CALL>APRS\r\n>status\r\n");
    EXPECT_EQ(cut.header, "N0CALL>APR Port=1 <UI C Len=56>:  ");
}

TEST(FrameDecoder, UiAnywhereInTheTextPreventsTheRewrite)
{
    const FrameCut cut = cutFrame("N0CALL>APRS:\r\n>seen <UI here\r\n");
    EXPECT_EQ(cut.header, "N0CALL>APRS:");
    EXPECT_EQ(cut.source, "N0CALL");
}

TEST(FrameDecoder, PayloadKeepsLaterLines)
{
    const FrameCut cut = cutFrame("N0CALL>APRS:\r\n>one\r\ntwo\r\n");
    EXPECT_EQ(cut.payload, ">one\r\ntwo");
}

TEST(FrameDecoder, TextsThatCannotBeCutAreDropped)
{
    const struct {
        const char *text;
        const char *reason;
    } cases[] = {
        {"", "no header line"},
        {"\r\n", "no header line"},
        {"1", "no header line"},
        {"no header here\r\n_12072202c052\r\n", "no \">\" in the header"},
        {"N0CALL\r\n>in the payload\r\n", "no \">\" in the header"},
        {">APRS:\r\n!\r\n", "no source callsign before \">\""},
        {"12:00 >APRS:\r\n!\r\n", "no source callsign before \">\""},
    };
    for (const auto &c : cases) {
        const FrameDecode f = decodeFrame(QString::fromLatin1(c.text), kNow);
        EXPECT_TRUE(f.dropped) << c.text;
        EXPECT_EQ(f.dropReason, QString::fromLatin1(c.reason)) << c.text;
        EXPECT_TRUE(f.events.isEmpty());
    }
}

TEST(FrameDecoder, AStampThatIsNoTimeCostsNeitherTheFrameNorTheReport)
{
    const QString header = QStringLiteral("N0CALL>APRS:");
    // The report is filed as heard now, as when the host's time cannot be read.
    for (const char *stamp : {"29ab29z", "29 -1 z", "29+1+2z"}) {
        const FrameDecode badStamp =
            decodeFrame(frame(header, "@" + QLatin1String(stamp) + "5130.00N/00007.50W_91"), kNow);
        EXPECT_FALSE(badStamp.dropped) << stamp;
        EXPECT_EQ(badStamp.rule, ReportTimeRule::Now) << stamp;
        EXPECT_EQ(badStamp.reportTime, kNow) << stamp;
        EXPECT_EQ(badStamp.weather, "_91") << stamp;
        EXPECT_EQ(texts(badStamp.events), QStringList({"1 Added wx Data from N0CALL", "1 Added Beacon from N0CALL"}));
    }

    // With a host time the stamp is never read.
    const FrameDecode withHost =
        decodeFrame(cutFrame(frame(header, "@2_1....5130.00N/00007.50W_1")), "2026-12-07 08:00:00", "", kNow);
    EXPECT_EQ(withHost.rule, ReportTimeRule::Host);
    EXPECT_EQ(withHost.weather, "_1");

    // A payload too short for its stamp holds no weather symbol either: just a beacon.
    for (const char *payload : {"@29", "@291_"}) {
        const FrameDecode shortStamp = decodeFrame(frame(header, payload), kNow);
        EXPECT_FALSE(shortStamp.dropped) << payload;
        EXPECT_EQ(shortStamp.rule, ReportTimeRule::None) << payload;
        EXPECT_EQ(texts(shortStamp.events), QStringList({"1 Added Beacon from N0CALL"})) << payload;
    }
}

TEST(FrameDecoder, StampsAreReadByTheirKindAndFiledInTheConfiguredZone)
{
    // 20:15:30 UTC on 7 December; the zone one hour ahead of UTC.
    const QDateTime now(QDate(2026, 12, 7), QTime(20, 15, 30), QTimeZone::utc());
    const QTimeZone zone(3600);
    const struct {
        const char *stamp;
        QDateTime filed;  // invalid: not a time, filed as heard now
    } cases[] = {
        {"234517h", QDateTime(QDate(2026, 12, 7), QTime(0, 45, 17))},  // yesterday's 23:45:17 UTC
        {"201000h", QDateTime(QDate(2026, 12, 7), QTime(21, 10))},
        {"071200z", QDateTime(QDate(2026, 12, 7), QTime(13, 0))},
        {"291229z", QDateTime(QDate(2026, 11, 29), QTime(13, 29))},
        {"311200z", QDateTime(QDate(2026, 10, 31), QTime(13, 0))},  // November has no 31st
        {"071200/", QDateTime(QDate(2026, 12, 7), QTime(12, 0))},
        {"072300/", QDateTime(QDate(2026, 11, 7), QTime(23, 0))},
        {"012530z", QDateTime()},
        {"076000h", QDateTime()},
        {"001200z", QDateTime()},
    };
    for (const auto &c : cases) {
        const FrameCut cut =
            cutFrame(frame("N0CALL>APRS:", "@" + QLatin1String(c.stamp) + "5130.00N/00007.50W_090/005"));
        const FrameDecode f = decodeFrame(cut, QString(), QString(), now, zone);
        EXPECT_EQ(f.rule, c.filed.isValid() ? ReportTimeRule::Stamp : ReportTimeRule::Now) << c.stamp;
        EXPECT_EQ(f.reportTime, c.filed.isValid() ? c.filed : now) << c.stamp;
    }
}

TEST(FrameDecoder, CompressedWeatherKeepsItsWindAndItsReadings)
{
    // "7P[": course byte 22 x 4 = 88 degrees, speed 1.08^47 - 1 = 36.2 knots = 42 mph, type byte.
    const struct {
        const char *payload;
        const char *weather;
    } cases[] = {
        {"=/5L!!<*e7_7P[g005t077r010p020P030h50b10150", "_088/042g005t077r010p020P030h50b10150"},
        {"=/5L!!<*e7_tgh g005t077", "_332/250 g005t077"},
        {"=/5L!!<*e7_  !g005t077", "_.../...g005t077"},  // no wind sent
        {"=/5L!!<*e7_]P3g005", "_.../...g005"},          // those bytes are a height
        {"=/5L!!<*e7_7P", "_.../..."},
        {"=5130.00N/00007.50W_090/005g010", "_090/005g010"},
    };
    for (const auto &c : cases) {
        const FrameDecode f = decodeFrame(frame("N0CALL>APRS:", QString::fromLatin1(c.payload)), kNow);
        EXPECT_EQ(f.weather, QString::fromLatin1(c.weather)) << c.payload;
    }
}

TEST(FrameDecoder, SensorCountersAreStoredAsUnderscoreWeather)
{
    const FrameDecode ultimeter =
        decodeFrame(frame("N0WX>APRS:", "$ULTW0000000001FF000427C70002CCD30001026E003A050F00040000"), kNow);
    EXPECT_EQ(ultimeter.weather, "_c360s000g000t051P004h62b10183");
    EXPECT_EQ(ultimeter.rule, ReportTimeRule::Now);
    EXPECT_EQ(texts(ultimeter.events), QStringList({"1 Added wx Data from N0WX", "1 Added Beacon from N0WX"}));
    EXPECT_TRUE(decodeFrame(frame("N0GPS>APRS:", "$GPGLL,4916.45,N,12311.12,W"), kNow).weather.isEmpty());
    EXPECT_TRUE(decodeFrame(frame("N0POS>APRS:", "!5130.00N/00007.50W-"), kNow).weather.isEmpty());
}

TEST(FrameDecoder, ObjectsAndItemsAreNamedForTheirOwnRow)
{
    const struct {
        const char *payload;
        const char *name;
    } cases[] = {
        {";LEADER   *092345z4903.50N/07201.75W>", "LEADER"},
        {";\xc3\x9c" "ber    *092345z4903.50N/07201.75W>", "\xc3\x9c" "ber"},
        {";LEADER   _092345z4903.50N/07201.75W>", ""},  // killed
        {")AID #2!4903.50N/07201.75WA", "AID #2"},
        {")AID #2_4903.50N/07201.75WA", ""},
        {";SHORT*092345z", ""},
        {"!4903.50N/07201.75W-", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FrameText::placedObjectName(QString::fromUtf8(c.payload)), QString::fromUtf8(c.name)) << c.payload;
}

TEST(FrameDecoder, ReportTimeFromTheHostRecord)
{
    const FrameCut cut = cutFrame(frame("N0CALL>APRS:", "_12072202c052"));
    const FrameDecode first = decodeFrame(cut, "2026-12-06 07:08:09", "2026-01-01 00:00:00", kNow);
    EXPECT_EQ(first.rule, ReportTimeRule::Host);
    EXPECT_EQ(first.reportTime, QDateTime(QDate(2026, 12, 6), QTime(7, 8, 9)));

    const FrameDecode second = decodeFrame(cut, "", "05/11/2026 10:11:12", kNow);
    EXPECT_EQ(second.reportTime, QDateTime(QDate(2026, 11, 5), QTime(10, 11, 12)));

    const FrameDecode unreadable = decodeFrame(cut, "yesterday", "", kNow);
    EXPECT_EQ(unreadable.rule, ReportTimeRule::Host);
    EXPECT_EQ(unreadable.reportTime, kNow);

    const FrameDecode timeOnly = decodeFrame(cut, "09:10", "", kNow);
    EXPECT_EQ(timeOnly.reportTime, QDateTime(kNow.date(), QTime(9, 10)));
}

TEST(FrameDecoder, WeatherCutByFirstCharacterAndSymbol)
{
    const struct {
        const char *payload;
        const char *weather;
        ReportTimeRule rule;
    } cases[] = {
        {"=5130.00N/00007.50W_090/005g010t050", "_090/005g010t050", ReportTimeRule::Now},
        {"_10090556c220s004g005t077", "_10090556c220s004g005t077", ReportTimeRule::Now},
        {"@071200z5130.00N/00007.50W_090/005", "_090/005", ReportTimeRule::Stamp},
        {"!5130.00N/00007.50W_090/005g010t050", "", ReportTimeRule::None},
        {"/071200z5130.00N/00007.50W_090/005", "", ReportTimeRule::None},
        {"=5130.00N/00007.50W-no weather", "", ReportTimeRule::None},
        // Only the position's symbol "_" makes a weather station; any other "_" is no weather part.
        {"=5130.  N\\00007.  W_090/005", "_090/005", ReportTimeRule::Now},
        {"=/5L!!<*e7_7P[g005t077", "_088/042g005t077", ReportTimeRule::Now},
        {"@071200z/5L!!<*e7_7P[g005t077", "_088/042g005t077", ReportTimeRule::Stamp},
        {"=5130.00N/00007.50W-My_home", "", ReportTimeRule::None},
        {"@071200z5130.00N/00007.50W-My_home", "", ReportTimeRule::None},
        {"=/49z1N+cH#  _Witney", "", ReportTimeRule::None},
        {"=/4M<<N7_ir  !Reading", "", ReportTimeRule::None},
        {"=/4M<<N7_i_  !Reading", "_.../...Reading", ReportTimeRule::Now},
        {"@071200z/_M<<N7ir#  !", "", ReportTimeRule::None},
        {"=5130.00N/00007.50X_090/005", "", ReportTimeRule::None},
        {"=Not a position_090/005g010", "", ReportTimeRule::None},
        {"=5130.00N/00007.50W", "", ReportTimeRule::None},
        {"=_", "", ReportTimeRule::None},
    };
    for (const auto &c : cases) {
        const FrameDecode f = decodeFrame(frame("N0CALL>APRS:", QString::fromLatin1(c.payload)), kNow);
        EXPECT_EQ(f.weather, QString::fromLatin1(c.weather)) << c.payload;
        EXPECT_EQ(f.rule, c.rule) << c.payload;
        const bool stored = !f.weather.isEmpty();
        EXPECT_EQ(f.events.size(), stored ? 2 : 1) << c.payload;
    }
}

TEST(FrameDecoder, PhgAfterTheCutIsIgnoredNotStored)
{
    const FrameDecode bare = decodeFrame(frame("N0CALL>APRS:", "_PHG5132"), kNow);
    EXPECT_TRUE(bare.weather.isEmpty());
    EXPECT_TRUE(bare.phgIgnored);
    EXPECT_EQ(texts(bare.events),
              QStringList({"2 PHG ignored from N0CALL", "1 Added Beacon from N0CALL"}));

    const FrameDecode positioned =
        decodeFrame(frame("N0CALL>APRS:", "=5130.00N/00007.50W_PHG5132/home"), kNow);
    EXPECT_TRUE(positioned.weather.isEmpty());
    EXPECT_EQ(positioned.events.first().type, FrameEvent::Ignored);
}

TEST(FrameDecoder, TildeClasses)
{
    const QString queryAll = QStringLiteral("~") + QChar(0xFD) + QStringLiteral("~");
    const struct {
        QString payload;
        const char *entry;
    } cases[] = {
        {"~a123", "Message Ack from N0CALL"},
        {"~a 12 ", "Message Ack from N0CALL"},
        {"~a-1.5e3", "Message Ack from N0CALL"},
        {queryAll, "Query all stations from N0CALL"},
        {queryAll + "ALL", "Query all stations from N0CALL"},
        {"~" + QString(QChar(0xFD)) + "x", "Message from N0CALL"},
        {"~hello", "Message from N0CALL"},
        {"~a", "Message from N0CALL"},
        {"~a12x", "Message from N0CALL"},
        {"", "Added Beacon from N0CALL"},
        {">status", "Added Beacon from N0CALL"},
    };
    for (const auto &c : cases) {
        const FrameDecode f = decodeFrame(frame("N0CALL>APRS:", c.payload), kNow);
        ASSERT_EQ(f.events.size(), 1) << c.payload.toStdString();
        EXPECT_EQ(f.events.first().text, QString::fromLatin1(c.entry)) << c.payload.toStdString();
        EXPECT_EQ(f.events.first().type, FrameEvent::Information);
    }
}

TEST(FrameDecoder, IsNumeric)
{
    for (const char *yes : {"0", "12", "-3", "+4.5", ".5", "1e3", " 7 ", "2.E-2"})
        EXPECT_TRUE(FrameText::isNumeric(QString::fromLatin1(yes))) << yes;
    for (const char *no : {"", " ", "-", ".", "1.2.3", "1e", "12a", "0x1F", "1 2"})
        EXPECT_FALSE(FrameText::isNumeric(QString::fromLatin1(no))) << no;
}

TEST(FrameDecoder, RuleNames)
{
    EXPECT_EQ(reportTimeRuleName(ReportTimeRule::None), "none");
    EXPECT_EQ(reportTimeRuleName(ReportTimeRule::Host), "host");
    EXPECT_EQ(reportTimeRuleName(ReportTimeRule::Stamp), "stamp");
    EXPECT_EQ(reportTimeRuleName(ReportTimeRule::Now), "now");
}

TEST(FrameDecoder, OnlyAGreaterThanBeforeTheMonitorTextNamesASource)
{
    EXPECT_TRUE(cutFrame("N0CALL>\r\n!x\r\n").dropped);
    EXPECT_EQ(cutFrame("N0CALL>:\r\n!x\r\n").source, "N0CALL");
    EXPECT_TRUE(cutFrame("junk Port=1 <UI C Len=56>:\r\n!x\r\n").dropped);
    EXPECT_FALSE(cutFrame("N0CALL>APRS Port=1 <UI C Len=56>:\r\n!x\r\n").dropped);
}
