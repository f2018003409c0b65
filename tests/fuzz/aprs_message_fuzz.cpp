// Message fields from the air, and what the station writes and keeps of
// them: a field reads or is refused; what is written for any text is one
// line the protocol reads back with its number; and whatever text came in
// comes back out of the message file unchanged.
#include "FuzzSupport.h"

#include "host/aprs/AprsMessage.h"
#include "host/messages/MessageStore.h"

#include <QRegularExpression>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString payload = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    AprsMessage m;
    if (aprsmsg::parse(payload, &m)) {
        fuzz::require(!m.addressee.isEmpty() && m.addressee.size() <= 9, "an addressee of one to nine", payload);
        fuzz::require(m.number.size() <= aprsmsg::MaxNumber && m.replyAck.size() <= aprsmsg::MaxNumber,
                      "numbers of at most five", payload);
    }

    // The station writes to a callsign only (one typed in, or the sender of
    // what it acknowledges): the input's first characters when they are one.
    static const QRegularExpression callsign(QStringLiteral("^[A-Z0-9]{1,6}(-[A-Z0-9]{1,2})?$"));
    const QString head = payload.left(9).trimmed();
    const QString to = callsign.match(head).hasMatch() ? head : QStringLiteral("G4ABC");
    const QString written = aprsmsg::messagePayload(to, payload, QStringLiteral("A1"), true, "B2");
    for (QChar c : written)
        fuzz::require(c.unicode() >= 0x20 && c != u'|' && c != u'~', "one line of allowed characters", written);
    AprsMessage back;
    fuzz::require(aprsmsg::parse(written, &back), "what is written reads", written);
    if (back.kind == AprsMessage::Kind::Message)
        fuzz::require(back.number == QLatin1String("A1") && back.replyAck == QLatin1String("B2"),
                      "the number comes back", written);
    fuzz::require(aprsmsg::cleanText(payload).size() <= aprsmsg::MaxText, "at most 67 characters", written);

    const QString path = dir.filePath(QStringLiteral("Messages.txt"));
    MessageStore store(path);
    StoredMessage message;
    message.correspondent = QStringLiteral("G4ABC");
    message.text = payload.left(256);
    store.add(message);
    StoredBulletin bulletin;
    bulletin.source = QStringLiteral("G4NET");
    bulletin.addressee = QStringLiteral("BLN1");
    bulletin.text = payload.left(256);
    store.addBulletin(bulletin);
    fuzz::require(store.save(), "the store saves");
    MessageStore again(path);
    fuzz::require(again.load() && again.messages().size() == 1 && again.bulletins().size() == 1,
                  "the store reads back", payload);
    fuzz::require(again.messages()[0].text == message.text && again.bulletins()[0].text == bulletin.text,
                  "the text comes back unchanged", payload);
    return 0;
}
