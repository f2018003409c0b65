// Messaging on a fake clock with a sender that records what would go out.
#include "host/aprs/Tnc2.h"
#include "host/messages/Messenger.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct Sent
{
    QString payload;
    QObject *via;
};

class MessengerTest : public ::testing::Test
{
protected:
    void SetUp() override { make(); }

    void make()
    {
        messenger = std::make_unique<Messenger>(dir.filePath("Messages.txt"));
        messenger->setOwnCalls("G0HOM", {"G0HOM-*", "M0XYZ"});
        messenger->setClock([this] { return now; });
        messenger->setSender([this](const QString &payload, QObject *via) {
            sent.append({payload, via});
            return true;
        });
    }

    bool hear(const QString &line, QObject *via = nullptr)
    {
        Tnc2Frame frame;
        EXPECT_TRUE(parseTnc2(line, &frame)) << line.toStdString();
        return messenger->hear(frame, via);
    }

    QStringList payloads() const
    {
        QStringList out;
        for (const Sent &s : sent)
            out.append(s.payload);
        return out;
    }

    QTemporaryDir dir;
    qint64 now = 1'700'000'000'000;
    QList<Sent> sent;
    std::unique_ptr<Messenger> messenger;
};

TEST_F(MessengerTest, AMessageToUsIsAckedOnItsFeedEveryTimeAndKeptOnce)
{
    QObject feed;
    QSignalSpy arrived(messenger.get(), &Messenger::messageArrived);
    EXPECT_TRUE(hear("G4ABC-9>APRS,WIDE1-1:=5130.00N/00007.50W-", &feed) == false);
    ASSERT_TRUE(hear("G4ABC-9>APRS,WIDE1-1::G0HOM    :Hello{42", &feed));
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0].payload, ":G4ABC-9  :ack42");
    EXPECT_EQ(sent[0].via, &feed);
    now += 30000;
    ASSERT_TRUE(hear("G4ABC-9>APRS,WIDE1-1::G0HOM    :Hello{42", &feed));
    EXPECT_EQ(sent.size(), 2) << "a repeat is acked again";
    EXPECT_EQ(arrived.count(), 1) << "and shown once";
    EXPECT_EQ(messenger->store().conversation("G4ABC-9").size(), 1);
    EXPECT_EQ(messenger->unread(), 1);
    messenger->markRead("g4abc-9");
    EXPECT_EQ(messenger->unread(), 0);
}

TEST_F(MessengerTest, OnlyTheCallsAnsweredForAreTaken)
{
    struct Case
    {
        const char *line;
        bool taken;
    };
    const Case cases[] = {
        {"G4ABC>APRS::G0HOM-7  :any ssid{1", true},
        {"G4ABC>APRS::M0XYZ    :listed{2", true},
        {"G4ABC>APRS::M0XYZ-1  :not that ssid{3", false},
        {"G4ABC>APRS::G0HOMX   :longer call{4", false},
        {"G0HOM-5>APRS::G0HOM    :our own, heard back{5", false},
    };
    for (const Case &c : cases) {
        sent.clear();
        EXPECT_EQ(hear(c.line), c.taken) << c.line;
        EXPECT_EQ(sent.size(), c.taken ? 1 : 0) << c.line;
    }
}

TEST_F(MessengerTest, SendingRetriesDoublingUntilAckedRefusedOrGivenUp)
{
    ASSERT_TRUE(messenger->send("g4abc", "Are you there?"));
    ASSERT_EQ(sent.size(), 1);
    const QString first = sent[0].payload;
    EXPECT_TRUE(first.startsWith(":G4ABC    :Are you there?{")) << first.toStdString();
    EXPECT_EQ(sent[0].via, nullptr) << "a new message goes on every transmitting feed";
    const QString number = first.mid(first.indexOf(u'{') + 1);

    // 30, 60, 120, 240 s between tries, then as long again before giving up.
    const qint64 waits[] = {30000, 60000, 120000, 240000};
    for (qint64 wait : waits) {
        now += wait - 1;
        messenger->retryDue();
        const int before = sent.size();
        now += 1;
        messenger->retryDue();
        EXPECT_EQ(sent.size(), before + 1) << "after " << wait;
    }
    EXPECT_EQ(sent.size(), Messenger::Tries);
    now += 480000;
    messenger->retryDue();
    EXPECT_EQ(sent.size(), Messenger::Tries);
    EXPECT_EQ(messenger->store().messages().last().state, StoredMessage::State::NotAcknowledged);

    // A late ack still counts; a rej refuses the next one.
    hear("G4ABC>APRS::G0HOM    :ack" + number);
    EXPECT_EQ(messenger->store().messages().last().state, StoredMessage::State::Delivered);
    ASSERT_TRUE(messenger->send("G4ABC", "Second"));
    const QString second = sent.last().payload.mid(sent.last().payload.indexOf(u'{') + 1);
    EXPECT_NE(second, number);
    hear("G4ABC>APRS::G0HOM    :rej" + second);
    EXPECT_EQ(messenger->store().messages().last().state, StoredMessage::State::Refused);
    now += 3600000;
    const int before = sent.size();
    messenger->retryDue();
    EXPECT_EQ(sent.size(), before) << "nothing is retried once answered";
}

TEST_F(MessengerTest, ReplyAcksAreReadAndWritten)
{
    ASSERT_TRUE(messenger->send("G4ABC", "Ping"));
    const QString number = sent.last().payload.mid(sent.last().payload.indexOf(u'{') + 1);
    // The answer carries its own number and acknowledges ours.
    ASSERT_TRUE(hear("G4ABC>APRS::G0HOM    :Pong{MM}" + number));
    EXPECT_EQ(messenger->store().conversation("G4ABC").first().state, StoredMessage::State::Delivered);
    EXPECT_EQ(sent.last().payload, ":G4ABC    :ackMM");
    ASSERT_TRUE(messenger->send("G4ABC", "Again"));
    EXPECT_TRUE(sent.last().payload.endsWith("}MM")) << sent.last().payload.toStdString();
}

TEST_F(MessengerTest, RefusesWhatCannotBeSent)
{
    QString error;
    EXPECT_FALSE(messenger->send("not a call", "x", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(messenger->send("G4ABC", " \r\n|~", &error));
    EXPECT_TRUE(sent.isEmpty());
}

TEST_F(MessengerTest, ConversationsAndBulletinsOutliveARestart)
{
    hear("G4ABC>APRS::G0HOM    :Tab\there %s %n <b>x</b>{7");
    // An empty text and one ending in blanks are records like any other.
    hear("G4ABC>APRS::G0HOM    :{8");
    hear("G4ABC>APRS::G0HOM    :Blanks after  {9");
    hear("G4NET>APRS::BLN1     :Net at 2000");
    hear("G4NET>APRS::BLN1     :Net at 2000");
    ASSERT_TRUE(messenger->send("G4ABC", "Reply"));
    messenger.reset();
    make();
    const MessageStore &store = messenger->store();
    ASSERT_EQ(store.messages().size(), 4);
    EXPECT_EQ(store.messages()[0].text, "Tab\there %s %n <b>x</b>");
    EXPECT_TRUE(store.messages()[0].unread);
    EXPECT_EQ(store.messages()[1].text, "");
    EXPECT_EQ(store.messages()[2].text, "Blanks after  ");
    EXPECT_EQ(store.messages()[3].state, StoredMessage::State::Sending);
    ASSERT_EQ(store.bulletins().size(), 1) << "a bulletin heard twice is listed once";
    EXPECT_EQ(store.bulletins()[0].addressee, "BLN1");
    // The message being sent when it ended goes on, with a number of its own.
    sent.clear();
    messenger->retryDue();
    ASSERT_EQ(sent.size(), 1);
    ASSERT_TRUE(messenger->send("G4ABC", "After"));
    EXPECT_NE(sent[0].payload.section(u'{', 1), sent[1].payload.section(u'{', 1));
}

TEST_F(MessengerTest, AFileNotOursIsKeptAsideNotOverwritten)
{
    messenger.reset();
    {
        QFile file(dir.filePath("Messages.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("something else entirely\n");
    }
    make();
    EXPECT_TRUE(QFile::exists(dir.filePath("Messages.txt.unreadable")));
    EXPECT_TRUE(messenger->store().messages().isEmpty());
}

} // namespace
