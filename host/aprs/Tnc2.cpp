#include "host/aprs/Tnc2.h"

namespace {

constexpr int MaxPathElements = 8;

bool isAddressChar(QChar c)
{
    const ushort u = c.unicode();
    return u > 0x20 && u < 0x7f && c != u'>' && c != u':' && c != u',';
}

bool validAddress(QStringView text, int maxLength)
{
    if (text.isEmpty() || text.size() > maxLength)
        return false;
    for (QChar c : text)
        if (!isAddressChar(c))
            return false;
    return true;
}

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

int twoDigits(QStringView s, int at) { return (s[at].unicode() - '0') * 10 + (s[at + 1].unicode() - '0'); }

// "HH:MM:SS" at the start of s.
int clockSeconds(QStringView s)
{
    if (s.size() < 8 || s[2] != u':' || s[5] != u':')
        return -1;
    for (int i : {0, 1, 3, 4, 6, 7})
        if (!isDigit(s[i]))
            return -1;
    const int h = twoDigits(s, 0), m = twoDigits(s, 3), sec = twoDigits(s, 6);
    if (h > 23 || m > 59 || sec > 60)
        return -1;
    return h * 3600 + m * 60 + sec;
}

} // namespace

void Tnc2Frame::rebuildText()
{
    QString address = source + u'>' + destination;
    for (const QString &hop : path)
        address += u',' + hop;
    payloadAt = int(address.size() + 1);
    text = address + u':' + payload;
}

QString Tnc2Frame::addressText() const
{
    return text.left(payloadAt - 1);
}

QString Tnc2Frame::monitorHeader() const
{
    return addressText() + QStringLiteral(" Port=1 <UI C Len=") + QString::number(payload.size())
           + QStringLiteral(">:");
}

QString Tnc2Frame::monitorText() const
{
    const QString text = monitorHeader() + QStringLiteral("\r\n") + payload + QStringLiteral("\r\n");
    return source.startsWith(u'0') || source.startsWith(u'1') ? u'0' + text : text;
}

bool Tnc2Frame::heardDirect() const
{
    for (const QString &hop : path) {
        if (hop.endsWith(u'*'))
            return false;
        // APRS-IS q-constructs and TCPIP mean the frame came over the internet.
        if (hop.startsWith(QLatin1String("TCPIP")) || (hop.size() == 3 && hop.startsWith(u'q')))
            return false;
    }
    return true;
}

StampedLine splitTimeStamp(QStringView line)
{
    StampedLine result;
    result.text = line;
    QStringView rest = line;
    if (rest.size() >= 11 && rest[4] == u'-' && rest[7] == u'-' && (rest[10] == u' ' || rest[10] == u'T')
        && isDigit(rest[0]) && isDigit(rest[3]) && isDigit(rest[5]) && isDigit(rest[9]))
        rest = rest.mid(11);
    const int seconds = clockSeconds(rest);
    if (seconds < 0 || rest.size() < 9 || rest[8] != u' ')
        return result;
    result.secondsOfDay = seconds;
    result.text = rest.mid(9).trimmed();
    return result;
}

namespace {

bool parseInto(QStringView line, Tnc2Frame *frame, const QString *owner)
{
    const qsizetype gt = line.indexOf(QChar(u'>'));
    if (gt <= 0)
        return false;
    const qsizetype colon = line.indexOf(QChar(u':'), gt);
    if (colon < 0)
        return false;
    const QStringView source = line.left(gt);
    // A "}" before the ">" is a third-party wrapper left on, never a callsign.
    if (!validAddress(source, 9) || source.contains(u'}'))
        return false;
    QStringView addresses = line.mid(gt + 1, colon - gt - 1);
    QStringView payload = line.mid(colon + 1);
    while (!payload.isEmpty() && (payload.back() == u'\r' || payload.back() == u'\n'))
        payload.chop(1);

    Tnc2Frame parsed;
    int index = 0;
    // Split at commas by hand: the tokenizer's general search costs more
    // than the rest of the frame's parsing.
    for (qsizetype from = 0; from <= addresses.size();) {
        qsizetype comma = addresses.indexOf(QChar(u','), from);
        if (comma < 0)
            comma = addresses.size();
        const QStringView part = addresses.sliced(from, comma - from);
        from = comma + 1;
        if (!validAddress(part, 10))
            return false;
        if (index == 0)
            parsed.destination = part.toString();
        else if (index > MaxPathElements)
            return false;
        else
            parsed.path.append(part.toString());
        ++index;
    }
    if (index == 0)
        return false;
    parsed.source = source.toString();
    parsed.payload = payload.toString();
    const qsizetype end = colon + 1 + payload.size();
    parsed.text = owner && end == owner->size() ? *owner : line.left(end).toString();
    parsed.payloadAt = int(colon + 1);
    *frame = std::move(parsed);
    return true;
}

} // namespace

bool parseTnc2(QStringView line, Tnc2Frame *frame)
{
    return parseInto(line, frame, nullptr);
}

bool parseTnc2(const QString &line, Tnc2Frame *frame)
{
    return parseInto(line, frame, &line);
}
