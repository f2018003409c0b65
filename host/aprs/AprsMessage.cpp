#include "host/aprs/AprsMessage.h"

namespace {

bool isNumberChar(QChar c)
{
    return c.unicode() < 0x80 && c.isLetterOrNumber();
}

bool isNumber(QStringView text)
{
    if (text.isEmpty() || text.size() > aprsmsg::MaxNumber)
        return false;
    for (QChar c : text)
        if (!isNumberChar(c))
            return false;
    return true;
}

// The number an ack or rej answers; a reply-ack sender may write "ackMM}AA".
QString answeredNumber(QStringView rest)
{
    const qsizetype brace = rest.indexOf(u'}');
    QStringView number = brace >= 0 ? rest.left(brace) : rest;
    number = number.trimmed();
    return isNumber(number) ? number.toString() : QString();
}

} // namespace

bool AprsMessage::isAnnouncement() const
{
    return addressee.size() >= 4 && addressee[3].isLetter() && addressee[3].unicode() < 0x80;
}

bool aprsmsg::parse(QStringView payload, AprsMessage *message)
{
    if (payload.size() < 11 || payload[0] != u':' || payload[10] != u':')
        return false;
    AprsMessage m;
    m.addressee = payload.mid(1, 9).trimmed().toString();
    if (m.addressee.isEmpty())
        return false;
    QStringView text = payload.mid(11);
    // Some senders pad or end with a line end: not part of the message.
    while (!text.isEmpty() && (text.back() == u'\r' || text.back() == u'\n'))
        text.chop(1);
    if (m.addressee.startsWith(QLatin1String("BLN"), Qt::CaseInsensitive)) {
        m.kind = AprsMessage::Kind::Bulletin;
        m.text = text.toString();
        *message = m;
        return true;
    }
    const bool isAck = text.startsWith(QLatin1String("ack"), Qt::CaseInsensitive);
    const bool isRej = text.startsWith(QLatin1String("rej"), Qt::CaseInsensitive);
    if (isAck || isRej) {
        const QString number = answeredNumber(text.mid(3));
        if (!number.isEmpty()) {
            m.kind = isAck ? AprsMessage::Kind::Ack : AprsMessage::Kind::Reject;
            m.number = number;
            *message = m;
            return true;
        }
    }
    const qsizetype brace = text.lastIndexOf(u'{');
    if (brace >= 0) {
        QStringView tail = text.mid(brace + 1);
        const qsizetype close = tail.indexOf(u'}');
        QStringView number = close >= 0 ? tail.left(close) : tail;
        QStringView replyAck = close >= 0 ? tail.mid(close + 1) : QStringView();
        number = number.trimmed();
        replyAck = replyAck.trimmed();
        if (isNumber(number) && (replyAck.isEmpty() || isNumber(replyAck))) {
            m.number = number.toString();
            m.replyAck = replyAck.toString();
            m.replyAckForm = close >= 0;
            text = text.left(brace);
        }
    }
    m.text = text.toString();
    *message = m;
    return true;
}

QString aprsmsg::cleanText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c == u'|' || c == u'~' || c == u'{')
            continue;
        out.append(c);
    }
    return out.trimmed().left(MaxText);
}

QString aprsmsg::paddedAddressee(const QString &callsign)
{
    return callsign.trimmed().toUpper().left(9).leftJustified(9, u' ');
}

QString aprsmsg::messagePayload(const QString &addressee, const QString &text, const QString &number,
                                bool replyAckForm, const QString &replyAck)
{
    QString payload = u':' + paddedAddressee(addressee) + u':' + cleanText(text);
    if (!number.isEmpty()) {
        payload += u'{' + number;
        if (replyAckForm || !replyAck.isEmpty())
            payload += u'}' + replyAck;
    }
    return payload;
}

QString aprsmsg::ackPayload(const QString &addressee, const QString &number)
{
    return u':' + paddedAddressee(addressee) + QStringLiteral(":ack") + number;
}

QString aprsmsg::rejectPayload(const QString &addressee, const QString &number)
{
    return u':' + paddedAddressee(addressee) + QStringLiteral(":rej") + number;
}
