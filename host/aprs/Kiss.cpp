#include "host/aprs/Kiss.h"

#include "core/LineText.h"
#include "host/aprs/Tnc2.h"

#include <algorithm>

QList<QByteArray> KissDeframer::feed(const QByteArray &bytes)
{
    QList<QByteArray> frames;
    for (char byte : bytes) {
        if (byte == Fend) {
            if (m_inFrame && !m_overflow && m_frame.size() > 1 && (m_frame[0] & 0x0F) == 0)
                frames.append(m_frame.mid(1));
            m_frame.clear();
            m_inFrame = true;
            m_escape = false;
            m_overflow = false;
            continue;
        }
        if (!m_inFrame || m_overflow)
            continue;
        if (m_escape) {
            m_escape = false;
            if (byte == Tfend)
                byte = Fend;
            else if (byte == Tfesc)
                byte = Fesc;
            // Any other byte after FESC is a protocol error; keep it as sent.
        } else if (byte == Fesc) {
            m_escape = true;
            continue;
        }
        if (m_frame.size() >= MaxFrame + 1) {
            m_overflow = true;
            m_frame.clear();
            continue;
        }
        m_frame.append(byte);
    }
    return frames;
}

void KissDeframer::reset()
{
    m_frame.clear();
    m_inFrame = false;
    m_escape = false;
    m_overflow = false;
}

QByteArray kissEncode(const QByteArray &ax25)
{
    QByteArray out;
    out.reserve(ax25.size() + 4);
    out.append(KissDeframer::Fend);
    out.append(char(0x00));
    for (char byte : ax25) {
        if (byte == KissDeframer::Fend) {
            out.append(KissDeframer::Fesc);
            out.append(KissDeframer::Tfend);
        } else if (byte == KissDeframer::Fesc) {
            out.append(KissDeframer::Fesc);
            out.append(KissDeframer::Tfesc);
        } else {
            out.append(byte);
        }
    }
    out.append(KissDeframer::Fend);
    return out;
}

namespace {

constexpr int AddressLength = 7;
constexpr int MaxAddresses = 10;

bool decodeAddress(const char *bytes, QString *text, bool *repeated)
{
    QString call;
    bool blank = false;
    for (int i = 0; i < 6; ++i) {
        const unsigned char raw = static_cast<unsigned char>(bytes[i]);
        if (raw & 0x01)
            return false;  // the extension bit belongs to the SSID byte only
        const char c = char(raw >> 1);
        if (c == ' ') {
            blank = true;
            continue;
        }
        if (blank || !((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
        call += QLatin1Char(c);
    }
    if (call.isEmpty())
        return false;
    const unsigned char ssidByte = static_cast<unsigned char>(bytes[6]);
    const int ssid = (ssidByte >> 1) & 0x0F;
    if (ssid)
        call += u'-' + QString::number(ssid);
    *text = call;
    *repeated = ssidByte & 0x80;
    return true;
}

bool encodeAddress(const QString &text, bool last, bool repeated, QByteArray *out)
{
    QString call = text;
    int ssid = 0;
    const qsizetype dash = call.indexOf(u'-');
    if (dash >= 0) {
        // 0 to 15 written plainly: toInt would also take "+9", " 9" or "04",
        // which no address carries back as written.
        const QString digits = call.mid(dash + 1);
        bool ok = (digits.size() == 1 || (digits.size() == 2 && digits[0] == u'1'))
                  && std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        ssid = ok ? digits.toInt(&ok) : 0;
        if (!ok || ssid > 15)
            return false;
        call = call.left(dash);
    }
    if (call.isEmpty() || call.size() > 6)
        return false;
    for (int i = 0; i < 6; ++i) {
        const char c = i < call.size() ? call[i].toUpper().toLatin1() : ' ';
        if (!(c == ' ' || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
        out->append(char(c << 1));
    }
    out->append(char(0x60 | (ssid << 1) | (repeated ? 0x80 : 0) | (last ? 1 : 0)));
    return true;
}

} // namespace

bool ax25ToTnc2(const QByteArray &frame, QString *line)
{
    int count = 0;
    int end = -1;
    for (int offset = 0; offset + AddressLength <= frame.size() && count < MaxAddresses; offset += AddressLength) {
        ++count;
        if (frame[offset + 6] & 0x01) {
            end = offset + AddressLength;
            break;
        }
    }
    if (end < 0 || count < 2 || end + 2 > frame.size())
        return false;
    const unsigned char control = static_cast<unsigned char>(frame[end]);
    const unsigned char pid = static_cast<unsigned char>(frame[end + 1]);
    if ((control & ~0x10) != 0x03 || pid != 0xF0)
        return false;

    QString dest, source;
    bool repeated = false;
    if (!decodeAddress(frame.constData(), &dest, &repeated)
        || !decodeAddress(frame.constData() + AddressLength, &source, &repeated))
        return false;
    QStringList digis;
    int lastRepeated = -1;
    for (int i = 2; i < count; ++i) {
        QString digi;
        if (!decodeAddress(frame.constData() + i * AddressLength, &digi, &repeated))
            return false;
        if (repeated)
            lastRepeated = int(digis.size());
        digis.append(digi);
    }
    QString text = source + u'>' + dest;
    for (int i = 0; i < digis.size(); ++i) {
        text += u',' + digis[i];
        if (i == lastRepeated)
            text += u'*';
    }
    text += u':';
    // A TNC2 line is one line: the information ends at its first line end,
    // as gateways to the internet cut it (trackers often end it with CR).
    QByteArrayView info = QByteArrayView(frame).sliced(end + 2);
    for (qsizetype i = 0; i < info.size(); ++i)
        if (info[i] == '\r' || info[i] == '\n') {
            info = info.first(i);
            break;
        }
    text += decodeLine(info);
    *line = text;
    return true;
}

bool tnc2ToAx25(const QString &line, QByteArray *frame)
{
    Tnc2Frame parsed;
    if (!parseTnc2(line, &parsed))
        return false;
    QByteArray out;
    const bool noDigis = parsed.path.isEmpty();
    if (!encodeAddress(parsed.destination, false, false, &out) || !encodeAddress(parsed.source, noDigis, false, &out))
        return false;
    int lastRepeated = -1;
    for (int i = 0; i < parsed.path.size(); ++i)
        if (parsed.path[i].endsWith(u'*'))
            lastRepeated = i;
    for (int i = 0; i < parsed.path.size(); ++i) {
        QString hop = parsed.path[i];
        if (hop.endsWith(u'*'))
            hop.chop(1);
        if (!encodeAddress(hop, i == parsed.path.size() - 1, i <= lastRepeated, &out))
            return false;
    }
    out.append(char(0x03));
    out.append(char(0xF0));
    out.append(encodeLine(parsed.payload));
    // A frame longer than a KISS reader takes (ours included) is lost on the way.
    if (out.size() > KissDeframer::MaxFrame)
        return false;
    *frame = out;
    return true;
}
