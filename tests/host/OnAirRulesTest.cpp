// The rules of what the station sends, without sockets: message fields read
// and written, the per-feed rate limit and the moving beacon's timing.
#include "host/aprs/AprsMessage.h"
#include "host/aprs/Beacon.h"
#include "host/aprs/SmartBeacon.h"
#include "host/feeds/SendQueue.h"

#include <gtest/gtest.h>

namespace {

using Kind = AprsMessage::Kind;

TEST(AprsMessage, ReadsEveryFormTheAirCarries)
{
    struct Case
    {
        const char *payload;
        bool ok;
        Kind kind;
        const char *addressee, *text, *number, *replyAck;
        bool replyAckForm;
    };
    const Case cases[] = {
        {":G0HOM    :Hello there{12", true, Kind::Message, "G0HOM", "Hello there", "12", "", false},
        {":G0HOM-7  :no number", true, Kind::Message, "G0HOM-7", "no number", "", "", false},
        {":G0HOM    :reply-ack{MM}AA", true, Kind::Message, "G0HOM", "reply-ack", "MM", "AA", true},
        {":G0HOM    :first of a reply-ack talk{MM}", true, Kind::Message, "G0HOM", "first of a reply-ack talk", "MM", "",
         true},
        {":G0HOM    :ack12", true, Kind::Ack, "G0HOM", "", "12", "", false},
        {":G0HOM    :ackMM}AA", true, Kind::Ack, "G0HOM", "", "MM", "", false},
        {":G0HOM    :rej7", true, Kind::Reject, "G0HOM", "", "7", "", false},
        {":G0HOM    :acknowledged, thanks", true, Kind::Message, "G0HOM", "acknowledged, thanks", "", "", false},
        {":BLN1     :Net tonight 2000", true, Kind::Bulletin, "BLN1", "Net tonight 2000", "", "", false},
        {":G0HOM    :braces {in} text{toolong", true, Kind::Message, "G0HOM", "braces {in} text{toolong", "", "", false},
        {":G0HOM    :line end{3\r\n", true, Kind::Message, "G0HOM", "line end", "3", "", false},
        {":G0HOM:short", false, Kind::Message, "", "", "", "", false},
        {":         :nobody", false, Kind::Message, "", "", "", "", false},
        {"!5130.00N/00007.50W-", false, Kind::Message, "", "", "", "", false},
    };
    for (const Case &c : cases) {
        AprsMessage m;
        ASSERT_EQ(aprsmsg::parse(QString::fromLatin1(c.payload), &m), c.ok) << c.payload;
        if (!c.ok)
            continue;
        EXPECT_EQ(m.kind, c.kind) << c.payload;
        EXPECT_EQ(m.addressee, QLatin1String(c.addressee)) << c.payload;
        EXPECT_EQ(m.text, QLatin1String(c.text)) << c.payload;
        EXPECT_EQ(m.number, QLatin1String(c.number)) << c.payload;
        EXPECT_EQ(m.replyAck, QLatin1String(c.replyAck)) << c.payload;
        EXPECT_EQ(m.replyAckForm, c.replyAckForm) << c.payload;
    }
    AprsMessage announcement, bulletin;
    aprsmsg::parse(u":BLNA     :Hamfest on Sunday", &announcement);
    aprsmsg::parse(u":BLN3     :Repeater down", &bulletin);
    EXPECT_TRUE(announcement.isAnnouncement());
    EXPECT_FALSE(bulletin.isAnnouncement());
}

TEST(AprsMessage, WritesWhatOthersRead)
{
    EXPECT_EQ(aprsmsg::messagePayload("g4abc", "Hello", "01"), ":G4ABC    :Hello{01");
    EXPECT_EQ(aprsmsg::messagePayload("G4ABC-9", "Hi", "02", true, "MM"), ":G4ABC-9  :Hi{02}MM");
    EXPECT_EQ(aprsmsg::messagePayload("G4ABC", "Hi", "03", true), ":G4ABC    :Hi{03}");
    EXPECT_EQ(aprsmsg::ackPayload("G4ABC", "12"), ":G4ABC    :ack12");
    EXPECT_EQ(aprsmsg::rejectPayload("G4ABC", "12"), ":G4ABC    :rej12");
    // Characters that would end or fake a field are left out, and the text is cut.
    EXPECT_EQ(aprsmsg::cleanText("a|b~c{d\r\ne"), "abcde");
    EXPECT_EQ(aprsmsg::cleanText(QString(100, u'x')).size(), aprsmsg::MaxText);
    // What is written reads back as the same message.
    AprsMessage back;
    ASSERT_TRUE(aprsmsg::parse(aprsmsg::messagePayload("G4ABC", "Round {trip} }", "7Z", true, "AB"), &back));
    EXPECT_EQ(back.text, "Round trip} }");
    EXPECT_EQ(back.number, "7Z");
    EXPECT_EQ(back.replyAck, "AB");
}

TEST(SendQueue, LetsTenAMinuteGoInOrderAndHoldsTheRest)
{
    SendQueue queue;
    for (int i = 0; i < 14; ++i)
        ASSERT_TRUE(queue.push(QStringLiteral("frame %1").arg(i)));
    EXPECT_TRUE(queue.push(QStringLiteral("frame 3"))) << "a frame already waiting is taken, not doubled";
    const QList<QString> first = queue.take(1000);
    ASSERT_EQ(first.size(), SendQueue::Limit);
    EXPECT_EQ(first.front(), "frame 0");
    EXPECT_EQ(first.back(), "frame 9");
    EXPECT_EQ(queue.waiting(), 4);
    EXPECT_TRUE(queue.take(30000).isEmpty());
    EXPECT_EQ(queue.waitMs(30000), 31000);
    const QList<QString> later = queue.take(61000);
    ASSERT_EQ(later.size(), 4);
    EXPECT_EQ(later.front(), "frame 10");
    EXPECT_EQ(queue.waitMs(61000), -1);

    SendQueue full;
    for (int i = 0; i < SendQueue::MaxWaiting; ++i)
        full.push(QString::number(i));
    EXPECT_FALSE(full.push(QStringLiteral("one more")));
    EXPECT_EQ(full.refused(), 1);
}

TEST(SmartBeacon, SlowFastAndTurns)
{
    SmartBeacon rule;
    rule.slowIntervalMs = 30 * 60000;
    struct Case
    {
        qint64 sinceMs;
        double lastCourse, course, speed;
        bool due;
    };
    const Case cases[] = {
        {29 * 60000, 0, 0, 0, false},    // parked: the interval
        {30 * 60000, 0, 0, 0, true},
        {80000, 90, 90, 100, false},     // fast: every ninety seconds
        {90000, 90, 90, 100, true},
        {150000, 90, 90, 45, false},     // half the speed: twice the time
        {180000, 90, 90, 45, true},
        {20000, 0, 40, 100, true},       // a turn at speed goes at once
        {20000, 350, 20, 100, false},    // 30 degrees across north is not enough
        {10000, 0, 90, 100, false},      // but never within 15 s
        {20000, 0, 90, 3, false},        // turning while standing is noise
        {20000, 0, 40, 10, false},       // slowly, a turn must be sharper
        {20000, 0, 70, 10, true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(rule.due(c.sinceMs, c.lastCourse, c.course, c.speed), c.due)
            << c.sinceMs << " ms " << c.lastCourse << "->" << c.course << " at " << c.speed;
    EXPECT_DOUBLE_EQ(courseChange(350, 10), 20);
    EXPECT_DOUBLE_EQ(courseChange(10, 350), 20);
}

TEST(Beacon, AMovingStationCarriesCourseAndSpeed)
{
    EXPECT_EQ(beaconPayload(51.5, -0.125, "/>", "car", 45, 30.4), "=5130.00N/00007.50W>045/030car");
    EXPECT_EQ(beaconPayload(51.5, -0.125, "/>", "", 0, 0), "=5130.00N/00007.50W>360/000") << "north is 360";
    EXPECT_EQ(beaconPayload(51.5, -0.125, "/>", "", 359, 2000), "=5130.00N/00007.50W>359/999");
}

} // namespace
