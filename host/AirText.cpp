#include "host/AirText.h"

#include <QStringDecoder>

#include <cstring>

QString textFromAir(QByteArrayView bytes)
{
    // Eight bytes at a time: nearly every frame is plain ASCII.
    bool ascii = true;
    qsizetype i = 0;
    for (; ascii && i + 8 <= bytes.size(); i += 8) {
        quint64 word;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        ascii = (word & 0x8080808080808080ULL) == 0;
    }
    for (; ascii && i < bytes.size(); ++i)
        ascii = static_cast<unsigned char>(bytes[i]) < 0x80;
    if (ascii)
        return QString::fromLatin1(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        return QString::fromLatin1(bytes);
    return text;
}

QByteArray textToAir(const QString &text)
{
    for (QChar c : text)
        if (c.unicode() > 0xFF)
            return text.toUtf8();
    return text.toLatin1();
}
