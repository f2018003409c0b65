#pragma once

#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <cmath>

// The units Kestrel shows distances, speeds and heights in: all follow the
// one distance choice of the options (miles, else kilometres), whatever
// unit the host reports in.
namespace Units {

inline constexpr double KmPerMile = 1.609344;
inline constexpr double KmPerNauticalMile = 1.852;
inline constexpr double MetresPerFoot = 0.3048;

// A distance in one unit, in the other (or the same).
constexpr double convertDistance(double value, bool fromMiles, bool toMiles)
{
    if (fromMiles == toMiles)
        return value;
    return fromMiles ? value * KmPerMile : value / KmPerMile;
}

// A whole distance in the other unit, as the host's 16-bit distances are held.
inline qint16 convertWholeDistance(qint16 value, bool fromMiles, bool toMiles)
{
    const double converted = std::round(convertDistance(value, fromMiles, toMiles));
    return qint16(std::clamp(converted, -32768.0, 32767.0));
}

// Knots (as stations report them) in miles or kilometres an hour.
constexpr double speedFromKnots(double knots, bool miles)
{
    return knots * KmPerNauticalMile / (miles ? KmPerMile : 1.0);
}

// Feet (as stations report them) in feet or metres.
constexpr double heightFromFeet(double feet, bool miles)
{
    return miles ? feet : feet * MetresPerFoot;
}

inline QString distanceName(bool miles) { return miles ? QStringLiteral("miles") : QStringLiteral("kilometres"); }
inline QString distanceSymbol(bool miles) { return miles ? QStringLiteral("mi") : QStringLiteral("km"); }
inline QString speedSymbol(bool miles) { return miles ? QStringLiteral("mph") : QStringLiteral("km/h"); }
inline QString heightSymbol(bool miles) { return miles ? QStringLiteral("ft") : QStringLiteral("m"); }

} // namespace Units
