#include "options/NumberText.h"

#include "dx/LeadingNumber.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace NumberText {

double leadingNumber(QStringView text)
{
    // The same reader as the band table's edges.
    return ::leadingNumber(text.toString());
}

double roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5)
        return floor + 1;
    if (fraction < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

namespace {

template<typename T>
bool toInteger(double value, T *out)
{
    const double rounded = roundHalfEven(value);
    if (!std::isfinite(rounded) || rounded < double(std::numeric_limits<T>::min())
        || rounded > double(std::numeric_limits<T>::max()))
        return false;
    *out = T(rounded);
    return true;
}

} // namespace

bool toInt16(double value, qint16 *out) { return toInteger(value, out); }
bool toInt32(double value, qint32 *out) { return toInteger(value, out); }

bool strictNumber(const QString &text, double *out)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    bool ok = false;
    const double value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return false;
    *out = value;
    return true;
}

} // namespace NumberText
