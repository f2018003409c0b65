#pragma once

#include <QString>
#include <QStringView>

// A message, ack, reject or bulletin as it travels in an information field:
// ":ADDRESSEE:text{NN" or, with reply-acks, ":ADDRESSEE:text{MM}AA", where AA
// acknowledges the last message the other side received from us.
struct AprsMessage
{
    enum class Kind { Message, Ack, Reject, Bulletin };
    Kind kind = Kind::Message;
    QString addressee;  // trimmed, as sent (letter case kept)
    QString text;       // Message and Bulletin
    QString number;     // the message's own number, or what an ack/rej answers
    QString replyAck;   // the number acknowledged along with a message
    bool replyAckForm = false;  // the sender writes "{MM}" and understands reply-acks

    // "BLNA".."BLNZ" announce; "BLN0".."BLN9" and group bulletins are bulletins.
    bool isAnnouncement() const;
};

namespace aprsmsg {
// The protocol's limit on the text of one message.
constexpr int MaxText = 67;
constexpr int MaxNumber = 5;

// False for a field that is not a well-formed message (":" then nine
// addressee characters then ":").
bool parse(QStringView payload, AprsMessage *message);

// ":ADDRESSEE:text{NN" or ":ADDRESSEE:text{NN}AA" when replyAck is given or
// the correspondent uses reply-acks. Characters the protocol forbids in the
// text ("|", "~", "{", control characters) are left out and the text is
// cut to MaxText.
QString messagePayload(const QString &addressee, const QString &text, const QString &number,
                       bool replyAckForm = false, const QString &replyAck = QString());
QString ackPayload(const QString &addressee, const QString &number);
QString rejectPayload(const QString &addressee, const QString &number);

// What the text of a message to send becomes on the air.
QString cleanText(const QString &text);
// The addressee padded to nine characters, upper case.
QString paddedAddressee(const QString &callsign);
} // namespace aprsmsg
