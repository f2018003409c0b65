#pragma once

#include <QByteArrayView>
#include <QString>

// Lines of a profile (.ini) file read straight from its bytes, as the shared
// profile reader would read them: a weather day file may hold years of
// reports, and reading it as text first would cost a copy of every byte.
namespace ProfileBytes {

// Blanks as the shared profile reader trims them (Latin-1 white space).
inline bool isSpace(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u == ' ' || u == '\t' || u == '\v' || u == '\f' || u == 0x85 || u == 0xA0;
}

inline bool isLineEnd(char c) { return c == '\r' || c == '\n' || c == '\0'; }

inline QByteArrayView trimmed(QByteArrayView text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isSpace(text[begin]))
        ++begin;
    while (end > begin && isSpace(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

// One line of a profile file, read the way the profile calls read it.
struct ProfileLine
{
    enum Kind { Other, Section, Key } kind = Other;
    QByteArrayView name;   // section or key name
    QByteArrayView value;  // key value, one pair of double quotes dropped
};

inline ProfileLine parseLine(QByteArrayView raw)
{
    ProfileLine line;
    const QByteArrayView text = trimmed(raw);
    if (text.startsWith('[')) {
        const qsizetype close = text.indexOf(']');
        if (close > 0) {
            line.kind = ProfileLine::Section;
            line.name = trimmed(text.sliced(1, close - 1));
        }
        return line;
    }
    if (text.startsWith(';'))
        return line;
    const qsizetype eq = text.indexOf('=');
    if (eq > 0) {
        line.kind = ProfileLine::Key;
        line.name = trimmed(text.first(eq));
        QByteArrayView value = trimmed(text.sliced(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.sliced(1, value.size() - 2);
        line.value = value;
    }
    return line;
}

// Calls visit(line, offset of the line) for each line; a false return stops.
template<typename Visit>
void forEachLine(QByteArrayView bytes, Visit visit)
{
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && !isLineEnd(bytes[end]))
            ++end;
        if (!visit(bytes.sliced(start, end - start), start))
            return;
        if (end < size && bytes[end] == '\r' && end + 1 < size && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
}

inline bool sameName(QByteArrayView a, const QString &b)
{
    return QString::fromLatin1(a).compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace ProfileBytes
