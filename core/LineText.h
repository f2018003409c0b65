#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Text from the air, the net and files comes as bytes in no declared
// encoding: the Windows program and older stations wrote Latin-1, newer ones
// UTF-8. A line that is valid UTF-8 is read as UTF-8 and any other as
// Latin-1, so neither arrives as "GrÃ¼ÃŸe"; a leading byte-order mark is
// dropped.
QString decodeLine(QByteArrayView bytes);

// The other way: Latin-1 when every character fits, so that files stay
// readable by the Windows program, else UTF-8, so that nothing typed or
// heard turns into "?". decodeLine reads back what was written (but for a
// leading U+FEFF, which it takes for a byte-order mark).
QByteArray encodeLine(const QString &text);

// The lines of a text file, each decoded on its own (a file may mix both
// encodings). CR LF, a lone CR and a lone LF each end a line; a line end at
// the very end starts no further line.
QStringList decodeLines(QByteArrayView bytes);

class QIODevice;

// The same, a line at a time from a device, for files read with progress shown.
class LineReader
{
public:
    explicit LineReader(QIODevice &device) : m_device(device) {}

    bool atEnd() const;
    QString next();
    // Bytes taken from the device so far, line ends included.
    qint64 position() const { return m_consumed; }

private:
    bool fill();

    QIODevice &m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;   // start of the next line in the buffer
    qsizetype m_scan = 0;  // where the search for its end goes on
    qint64 m_consumed = 0;
};
