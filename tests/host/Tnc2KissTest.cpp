#include "host/aprs/Kiss.h"
#include "host/aprs/Tnc2.h"

#include <gtest/gtest.h>

namespace {

TEST(Tnc2, ParsesAddressesAndPayload)
{
    Tnc2Frame f;
    ASSERT_TRUE(parseTnc2(u"N0CALL-9>APRS,WIDE1-1,N0GATE*,WIDE2-1:!4903.50N/07201.75W-\r\n", &f));
    EXPECT_EQ(f.source, QStringLiteral("N0CALL-9"));
    EXPECT_EQ(f.destination, QStringLiteral("APRS"));
    EXPECT_EQ(f.path, (QStringList{"WIDE1-1", "N0GATE*", "WIDE2-1"}));
    EXPECT_EQ(f.payload, QStringLiteral("!4903.50N/07201.75W-"));
    EXPECT_FALSE(f.heardDirect());
    // A payload may itself hold ":" and ">".
    ASSERT_TRUE(parseTnc2(u"A>B::N0CALL   :a>b:c", &f));
    EXPECT_EQ(f.payload, QStringLiteral(":N0CALL   :a>b:c"));
    EXPECT_TRUE(f.heardDirect());
}

TEST(Tnc2, MonitorFormCarriesPayloadLength)
{
    Tnc2Frame f;
    ASSERT_TRUE(parseTnc2(u"N0CALL>APZ031,CLRMRE*,WIDE3-2:>Hello", &f));
    EXPECT_EQ(f.monitorHeader(), QStringLiteral("N0CALL>APZ031,CLRMRE*,WIDE3-2 Port=1 <UI C Len=6>:"));
    EXPECT_EQ(f.monitorText(),
              QStringLiteral("N0CALL>APZ031,CLRMRE*,WIDE3-2 Port=1 <UI C Len=6>:\r\n>Hello\r\n"));
}

TEST(Tnc2, InternetPathsAreNotHeardDirect)
{
    Tnc2Frame f;
    ASSERT_TRUE(parseTnc2(u"N0CALL>APRS,TCPIP*,qAC,T2TEST:>x", &f));
    EXPECT_FALSE(f.heardDirect());
    ASSERT_TRUE(parseTnc2(u"N0CALL>APRS,qAR,N0GATE:>x", &f));
    EXPECT_FALSE(f.heardDirect());
    ASSERT_TRUE(parseTnc2(u"N0CALL>APRS,WIDE2-2:>x", &f));
    EXPECT_TRUE(f.heardDirect());
}

TEST(Tnc2, RejectsWhatIsNotAFrame)
{
    Tnc2Frame f;
    for (const char16_t *bad : {u"", u"no frame here", u">APRS:x", u"N0CALL>:x", u"N0CALL>APRS",
                                u"N0 CALL>APRS:x", u"TOOLONGCALL>APRS:x", u"A>B,C,,D:x",
                                u"A>B,1,2,3,4,5,6,7,8,9:x"})
        EXPECT_FALSE(parseTnc2(bad, &f)) << QString::fromUtf16(bad).toStdString();
}

TEST(Tnc2, SplitsLeadingTimeStamps)
{
    StampedLine s = splitTimeStamp(u"12:34:56 A>B:x");
    EXPECT_EQ(s.secondsOfDay, 12 * 3600 + 34 * 60 + 56);
    EXPECT_EQ(s.text, QStringLiteral("A>B:x"));
    s = splitTimeStamp(u"2026-12-07 00:00:10 A>B:x");
    EXPECT_EQ(s.secondsOfDay, 10);
    EXPECT_EQ(s.text, QStringLiteral("A>B:x"));
    s = splitTimeStamp(u"A>B:12:34:56 x");
    EXPECT_EQ(s.secondsOfDay, -1);
    s = splitTimeStamp(u"25:00:00 A>B:x");
    EXPECT_EQ(s.secondsOfDay, -1);
}

QByteArray frameFor(const char *line)
{
    QByteArray ax25;
    EXPECT_TRUE(tnc2ToAx25(QString::fromLatin1(line), &ax25)) << line;
    return ax25;
}

TEST(Ax25, DecodesAddressesWithRepeatedMark)
{
    // Only the last digipeater whose has-been-repeated bit is set gets "*".
    const QByteArray ax25 = frameFor("N0CALL-9>APRS-1,RELAY*,WIDE2*,WIDE2-1:!4903.50N/07201.75W>");
    QString line;
    ASSERT_TRUE(ax25ToTnc2(ax25, &line));
    EXPECT_EQ(line, QStringLiteral("N0CALL-9>APRS-1,RELAY,WIDE2*,WIDE2-1:!4903.50N/07201.75W>"));

    ASSERT_TRUE(ax25ToTnc2(frameFor("A1B>APRS:>hi"), &line));
    EXPECT_EQ(line, QStringLiteral("A1B>APRS:>hi"));
}

TEST(Ax25, AddressBytesByHand)
{
    // "TEST" shifted left, SSID 0; "N0CALL" SSID 15, last address; UI, PID F0.
    QByteArray raw;
    for (char c : QByteArray("TEST  "))
        raw.append(char(c << 1));
    raw.append(char(0xE0));
    for (char c : QByteArray("N0CALL"))
        raw.append(char(c << 1));
    raw.append(char(0x60 | (15 << 1) | 1));
    raw.append(char(0x03));
    raw.append(char(0xF0));
    raw.append("=x");
    QString line;
    ASSERT_TRUE(ax25ToTnc2(raw, &line));
    EXPECT_EQ(line, QStringLiteral("N0CALL-15>TEST:=x"));

    QByteArray notUi = raw;
    notUi[14] = char(0x00);  // an I frame
    EXPECT_FALSE(ax25ToTnc2(notUi, &line));
    QByteArray lowercase = raw;
    lowercase[0] = char('t' << 1);
    EXPECT_FALSE(ax25ToTnc2(lowercase, &line));
    EXPECT_FALSE(ax25ToTnc2(raw.left(10), &line));
    QByteArray noEnd = raw;
    noEnd[13] = char(0x60);  // no address ends the list
    EXPECT_FALSE(ax25ToTnc2(noEnd, &line));
}

// An address is sent only when it comes back as it was written.
TEST(Ax25, EncodesOnlyWhatComesBackAsWritten)
{
    QByteArray ax25;
    for (const char *line : {"G4ABC-9>APRS:>x", "G4ABC-15>APRS:>x", "G4ABC>APRS-0:>x"})
        EXPECT_TRUE(tnc2ToAx25(QString::fromLatin1(line), &ax25)) << line;
    for (const char *line : {"G4ABC-+9>APRS:>x", "G4ABC- 9>APRS:>x", "G4ABC-16>APRS:>x", "G4ABC-04>APRS:>x", "G4ABC-009>APRS:>x",
                             "G4ABC->APRS:>x", "G4ABC-9>APRS,WIDE1-+1:>x"})
        EXPECT_FALSE(tnc2ToAx25(QString::fromLatin1(line), &ax25)) << line;
    // Nor is a frame too long for KISS to carry.
    EXPECT_FALSE(tnc2ToAx25(QStringLiteral("G4ABC>APRS:>") + QString(KissDeframer::MaxFrame, u'x'), &ax25));
}

TEST(Ax25, InformationEndsAtItsFirstLineEnd)
{
    QString line;
    for (const char *info : {">hi\r", ">hi\n", ">hi\r\nmore"}) {
        QByteArray ax25 = frameFor("N0CALL>APRS:x");
        ax25.chop(1);
        ax25.append(info);
        ASSERT_TRUE(ax25ToTnc2(ax25, &line));
        EXPECT_EQ(line, QStringLiteral("N0CALL>APRS:>hi"));
    }
}

TEST(Kiss, SplitAtEveryByteBoundaryGivesTheSameFrames)
{
    // Payload bytes that need escaping: FEND and FESC inside the frame.
    QByteArray first = frameFor("N0CALL>APRS,WIDE1-1:>status");
    QByteArray second = frameFor("N1CALL-7>APRS:!4903.50N/07201.75W-");
    first.append(char(0xC0));
    first.append(char(0xDB));
    const QByteArray stream = kissEncode(first) + kissEncode(second);

    for (int cut = 0; cut <= stream.size(); ++cut) {
        KissDeframer deframer;
        QList<QByteArray> frames = deframer.feed(stream.left(cut));
        frames += deframer.feed(stream.mid(cut));
        ASSERT_EQ(frames.size(), 2) << "cut at " << cut;
        EXPECT_EQ(frames[0], first);
        EXPECT_EQ(frames[1], second);
    }
    // Byte by byte, too.
    KissDeframer deframer;
    QList<QByteArray> frames;
    for (char byte : stream)
        frames += deframer.feed(QByteArray(1, byte));
    EXPECT_EQ(frames.size(), 2);
}

TEST(Kiss, SkipsNonDataCommandsEmptyAndOversizeFrames)
{
    KissDeframer deframer;
    QByteArray stream;
    stream += "\xC0\xC0";                      // empty frames
    stream += QByteArray("\xC0\x01\x32\xC0");  // TX delay command
    stream += QByteArray(1, char(0xC0)) + QByteArray(1, char(0)) + QByteArray(5000, 'x') + QByteArray(1, char(0xC0));
    stream += QByteArray("\xC0\x00ok\xC0", 5);
    stream += "trailing garbage without a frame end";
    const QList<QByteArray> frames = deframer.feed(stream);
    ASSERT_EQ(frames.size(), 1);
    EXPECT_EQ(frames[0], QByteArray("ok"));
}

} // namespace
