#include "core/LineText.h"

#include <QIODevice>
#include <QStringDecoder>

#include <cstring>

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

bool isAscii(QByteArrayView bytes)
{
    // Eight bytes at a time: nearly every frame and line is plain ASCII.
    qsizetype i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        quint64 word;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        if (word & 0x8080808080808080ULL)
            return false;
    }
    for (; i < bytes.size(); ++i)
        if (static_cast<unsigned char>(bytes[i]) >= 0x80)
            return false;
    return true;
}

} // namespace

QString decodeLine(QByteArrayView bytes)
{
    if (bytes.startsWith(QByteArrayView(kByteOrderMark, 3)))
        bytes = bytes.sliced(3);
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        return QString::fromLatin1(bytes);
    return text;
}

QByteArray encodeLine(const QString &text)
{
    for (QChar c : text)
        if (c.unicode() > 0xFF)
            return text.toUtf8();
    QByteArray latin1 = text.toLatin1();
    // Latin-1 that happens to be valid UTF-8 ("Ã©") would read back as
    // something else ("é"), and Latin-1 starting "ï»¿" as a byte-order mark:
    // such a line goes out as UTF-8 too.
    if (!isAscii(latin1)) {
        if (latin1.startsWith(QByteArrayView(kByteOrderMark, 3)))
            return text.toUtf8();
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString asUtf8 = utf8(latin1);  // decoding happens on conversion
        if (!utf8.hasError())
            return text.toUtf8();
    }
    return latin1;
}

QStringList decodeLines(QByteArrayView bytes)
{
    QStringList lines;
    const qsizetype size = bytes.size();
    qsizetype start = 0;
    while (start < size) {
        qsizetype end = start;
        while (end < size && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        lines << decodeLine(bytes.sliced(start, end - start));
        if (end < size && bytes[end] == '\r' && end + 1 < size && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

bool LineReader::atEnd() const
{
    return m_pos >= m_buffer.size() && m_device.atEnd();
}

bool LineReader::fill()
{
    constexpr qint64 kChunk = 64 * 1024;
    if (m_pos > 0) {
        m_buffer.remove(0, m_pos);
        m_scan -= m_pos;
        m_pos = 0;
    }
    const QByteArray more = m_device.read(kChunk);
    if (more.isEmpty())
        return false;
    m_buffer += more;
    return true;
}

QString LineReader::next()
{
    for (;;) {
        while (m_scan < m_buffer.size() && m_buffer[m_scan] != '\r' && m_buffer[m_scan] != '\n')
            ++m_scan;
        const bool found = m_scan < m_buffer.size();
        // A CR at the end of what was read may have its LF still to come.
        if (found && !(m_buffer[m_scan] == '\r' && m_scan + 1 == m_buffer.size() && !m_device.atEnd())) {
            qsizetype end = m_scan + 1;
            if (m_buffer[m_scan] == '\r' && end < m_buffer.size() && m_buffer[end] == '\n')
                ++end;
            const QString line = decodeLine(QByteArrayView(m_buffer).sliced(m_pos, m_scan - m_pos));
            m_consumed += end - m_pos;
            m_pos = m_scan = end;
            return line;
        }
        if (!fill()) {
            const QString line = decodeLine(QByteArrayView(m_buffer).sliced(m_pos));
            m_consumed += m_buffer.size() - m_pos;
            m_pos = m_scan = m_buffer.size();
            return line;
        }
    }
}
