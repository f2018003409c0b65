#pragma once

#include <QStringView>
#include <charconv>
#include <cmath>

// A plain decimal number ("-12.5", ".53", "+3") from text off the air, without
// the locale machinery of QString::toDouble, which costs more than decoding
// the rest of a frame. False for anything else, infinities and NaN included.
inline bool parseDecimal(QStringView text, double *value)
{
    char bytes[32];
    if (text.isEmpty() || text.size() >= qsizetype(sizeof bytes))
        return false;
    qsizetype n = 0;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= '0' && u <= '9') || u == '.' || u == '-' || u == '+' || u == 'e' || u == 'E'))
            return false;
        bytes[n++] = char(u);
    }
    const char *begin = bytes;
    if (*begin == '+')
        ++begin;  // from_chars takes no plus sign
    double parsed = 0;
    const auto result = std::from_chars(begin, bytes + n, parsed);
    if (result.ec != std::errc() || result.ptr != bytes + n || !std::isfinite(parsed))
        return false;
    *value = parsed;
    return true;
}
