#include "orbiter/ElementSetWriter.h"

#include "orbiter/ElementLine.h"

#include <cmath>
#include <cstdio>

namespace orbiter {

namespace {

double wrapDegrees(double angle)
{
    angle = std::fmod(angle, 360.0);
    return angle < 0 ? angle + 360.0 : angle;
}

// The drag term's "assumed decimal point" form: sign, five digits of
// mantissa, the exponent's sign and digit (-0.00012 is "-12000-3").
std::string exponentField(double value)
{
    char text[32];
    if (value == 0 || !std::isfinite(value))
        return " 00000-0";
    const char sign = value < 0 ? '-' : ' ';
    const double magnitude = std::fabs(value);
    int exponent = int(std::floor(std::log10(magnitude))) + 1;
    int mantissa = int(std::lround(magnitude / std::pow(10.0, exponent) * 1e5));
    if (mantissa >= 100000) {
        mantissa /= 10;
        ++exponent;
    }
    if (exponent < -9)
        return " 00000-0";
    exponent = exponent > 9 ? 9 : exponent;
    std::snprintf(text, sizeof text, "%c%05d%c%d", sign, mantissa, exponent < 0 ? '-' : '+', std::abs(exponent));
    return text;
}

std::string withCheckDigit(std::string line)
{
    line.resize(ElementLine::kCheckColumn, ' ');
    return line + char('0' + ElementLine::checkDigit(line));
}

} // namespace

std::pair<std::string, std::string> elementLines(const PublishedElements &e)
{
    char line1[96];
    char line2[96];
    std::string catalogue = e.catalogue.substr(0, 5);
    catalogue.insert(0, 5 - catalogue.size(), '0');
    std::snprintf(line1, sizeof line1, "1 %5.5sU %-8.8s %02d%012.8f  .00000000  00000-0 %s 0 %4d", catalogue.c_str(),
                  e.designator.c_str(), e.epochYear % 100, e.epochDay, exponentField(e.bstar).c_str(),
                  e.elementNumber % 10000);
    std::snprintf(line2, sizeof line2, "2 %5.5s %8.4f %8.4f %07ld %8.4f %8.4f %11.8f%5d", catalogue.c_str(),
                  wrapDegrees(e.inclination), wrapDegrees(e.raan), std::lround(e.eccentricity * 1e7) % 10000000,
                  wrapDegrees(e.argPerigee), wrapDegrees(e.meanAnomaly), e.revsPerDay, e.revolution % 100000);
    return {withCheckDigit(line1), withCheckDigit(line2)};
}

} // namespace orbiter
