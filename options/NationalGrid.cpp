#include "options/NationalGrid.h"

#include <cmath>

namespace {

// The grid's constants as the Ordnance Survey publishes them.
constexpr double kPi = 3.14159265358979;
constexpr double kAF0 = 6375020.481;       // semi-major axis x scale factor
constexpr double kBF0 = 6353722.49;        // semi-minor axis x scale factor
constexpr double kE2 = 0.006670539762;     // eccentricity squared
constexpr double kLat0 = 49.0 * kPi / 180.0;
constexpr double kLon0 = -2.0 * kPi / 180.0;
constexpr double kE0 = 400000.0;
constexpr double kN0 = -100000.0;
// Meridional arc series in n = (a - b) / (a + b).
constexpr double kArcA = 1.00167672568807863;
constexpr double kArcB = 0.005028072044716894;
constexpr double kArcC = 5.258157117867904e-6;
constexpr double kArcD = (35.0 / 24.0) * 4.684457852819439e-9;

double meridionalArc(double lat)
{
    const double d = lat - kLat0;
    const double s = lat + kLat0;
    return kBF0 * (kArcA * d - kArcB * std::sin(d) * std::cos(s) + kArcC * std::sin(2 * d) * std::cos(2 * s)
                   - kArcD * std::sin(3 * d) * std::cos(3 * s));
}

// Index in the 25-letter grid alphabet (no "I"), or -1.
int gridLetter(QChar c)
{
    const char16_t u = c.toUpper().unicode();
    if (u < u'A' || u > u'Z' || u == u'I')
        return -1;
    const int index = u - u'A';
    return index > 8 ? index - 1 : index;
}

} // namespace

bool ParseGridReference(QString &text, double *northing, double *easting)
{
    QString reference = text;
    reference.remove(u' ');
    if (reference.size() == 6)
        reference = reference.left(4) + u'5' + reference.right(2) + u'5';
    if (reference.size() != 8)
        return false;
    const int l1 = gridLetter(reference[0]);
    const int l2 = gridLetter(reference[1]);
    if (l1 < 0 || l2 < 0)
        return false;
    QString digits;
    for (int i = 2; i < 8; ++i)
        if (reference[i] >= u'0' && reference[i] <= u'9')
            digits.append(reference[i]);
    if (digits.size() != 6)
        return false;

    const int e = 5 * ((l1 % 5) - 2) + (l2 % 5);
    const int n = 19 - 5 * (l1 / 5) - (l2 / 5);
    // Letters off the grid ("XX", "ZZ") would give a place in the sea.
    if (e < 0 || e >= 7 || n < 0 || n >= 13)
        return false;
    *easting = (e * 1000.0 + digits.left(3).toInt()) * 100.0;
    *northing = (n * 1000.0 + digits.right(3).toInt()) * 100.0;
    text = reference;
    return true;
}

void GridToLatLon(double easting, double northing, double *latitude, double *longitude)
{
    double lat = kLat0;
    double arc = 0;
    // Converges in a handful of rounds on the grid; the cap only guards
    // numbers so large that a millimetre is below their precision.
    int rounds = 0;
    do {
        lat += (northing - kN0 - arc) / kAF0;
        arc = meridionalArc(lat);
    } while (std::fabs(northing - kN0 - arc) >= 0.001 && ++rounds < 1000);

    const double sinLat = std::sin(lat);
    const double nu = kAF0 / std::sqrt(1 - kE2 * sinLat * sinLat);
    const double rho = nu * (1 - kE2) / (1 - kE2 * sinLat * sinLat);
    const double eta2 = nu / rho - 1;
    const double t = std::tan(lat);
    const double t2 = t * t, t4 = t2 * t2, t6 = t4 * t2;
    const double sec = 1 / std::cos(lat);
    const double nu3 = nu * nu * nu, nu5 = nu3 * nu * nu, nu7 = nu5 * nu * nu;

    const double vii = t / (2 * rho * nu);
    const double viii = t / (24 * rho * nu3) * (5 + 3 * t2 + eta2 - 9 * t2 * eta2);
    const double ix = t / (720 * rho * nu5) * (61 + 90 * t2 + 45 * t4);
    const double x = sec / nu;
    const double xi = sec / (6 * nu3) * (nu / rho + 2 * t2);
    const double xii = sec / (120 * nu5) * (5 + 28 * t2 + 24 * t4);
    const double xiia = sec / (5040 * nu7) * (61 + 662 * t2 + 1320 * t4 + 720 * t6);

    const double de = easting - kE0;
    const double de2 = de * de, de3 = de2 * de, de4 = de3 * de, de5 = de4 * de, de6 = de5 * de, de7 = de6 * de;
    const double phi = lat - vii * de2 + viii * de4 - ix * de6;
    const double lambda = kLon0 + x * de - xi * de3 + xii * de5 - xiia * de7;
    *latitude = phi * 180.0 / kPi;
    *longitude = lambda * 180.0 / kPi;
}
