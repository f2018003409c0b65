#include "dx/LeadingNumber.h"

#include <cmath>
#include <limits>

double leadingNumber(const QString &text)
{
    QByteArray number;
    bool signSeen = false;
    bool digitSeen = false;
    bool pointSeen = false;
    for (const QChar c : text) {
        if (c == u' ' || c == u'\t')
            continue;
        if ((c == u'+' || c == u'-') && !signSeen && !digitSeen && !pointSeen) {
            signSeen = true;
            number += char(c.unicode());
        } else if (c >= u'0' && c <= u'9') {
            digitSeen = true;
            number += char(c.unicode());
        } else if (c == u'.' && !pointSeen) {
            pointSeen = true;
            number += '.';
        } else {
            break;
        }
    }
    if (!digitSeen)
        return 0;
    // QByteArray's reader ignores the locale, unlike strtod.
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (ok && std::isfinite(value))
        return value;
    return number.startsWith('-') ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
}

qint32 leadingInteger(const QString &text)
{
    // nearbyint follows the default rounding mode, which rounds halves to even.
    const double rounded = std::nearbyint(leadingNumber(text));
    if (rounded <= double(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    if (rounded >= double(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    return qint32(rounded);
}
