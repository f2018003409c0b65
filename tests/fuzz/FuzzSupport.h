#pragma once

// What the fuzz targets share: a failed property stops the run with what
// went wrong, and the input bytes are cut into the pieces a target needs.

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

// Control characters and what is past Latin-1 as \xNN, so that the detail
// shows what differs.
inline QByteArray visible(const QString &text)
{
    QByteArray out;
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c.unicode() > 0xff)
            out += "\\x" + QByteArray::number(c.unicode(), 16);
        else
            out += char(c.unicode());
    }
    return out;
}

[[noreturn]] inline void fail(const char *property, const QString &detail = {})
{
    std::fprintf(stderr, "property failed: %s\n%s\n", property, visible(detail).constData());
    std::abort();
}

inline void require(bool holds, const char *property, const QString &detail = {})
{
    if (!holds)
        fail(property, detail);
}

// Reads numbers and texts off the front of the input; past the end it gives
// zeros and empty texts, so every input is usable.
class Input
{
public:
    Input(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}

    uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    uint32_t u32()
    {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = (v << 8) | byte();
        return v;
    }
    // A text of up to max bytes, ended early by a 0 byte.
    QByteArray bytes(size_t max)
    {
        QByteArray out;
        while (m_at < m_size && size_t(out.size()) < max) {
            const char c = char(m_data[m_at++]);
            if (c == 0)
                break;
            out.append(c);
        }
        return out;
    }
    QString latin1(size_t max) { return QString::fromLatin1(bytes(max)); }
    QByteArray rest()
    {
        const QByteArray out(reinterpret_cast<const char *>(m_data + m_at), qsizetype(m_size - m_at));
        m_at = m_size;
        return out;
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_at = 0;
};

// The input cut into pieces at positions the input chooses: how a socket
// may deliver the same bytes in several reads.
inline QList<QByteArray> pieces(const QByteArray &bytes, uint32_t seed)
{
    QList<QByteArray> out;
    qsizetype at = 0;
    while (at < bytes.size()) {
        seed = seed * 1103515245u + 12345u;
        const qsizetype n = 1 + qsizetype((seed >> 16) % 64);
        out.append(bytes.mid(at, n));
        at += n;
    }
    return out;
}

// Targets whose code draws (icons, map pictures, knobs) need a Qt
// application, offscreen: made on the first input and kept for the rest.
template<class Application>
void startApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static Application *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new Application(argc, argv);
    }();
    (void)app;
}

} // namespace fuzz
