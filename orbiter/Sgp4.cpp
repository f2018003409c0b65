// The near-Earth part of the model and its set-up. Variable names follow the
// published equations so each line can be checked against them.
#include "orbiter/Sgp4.h"

#include <cmath>
#include <numbers>

namespace orbiter {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kTwoThirds = 2.0 / 3.0;
// Guards the divisions by (1 + cos i) for an inclination of exactly 180 degrees.
constexpr double kTinyDivisor = 1.5e-12;

// Greenwich sidereal angle at the epoch the way the publisher's own software
// computes it (days from 1970 January 0).
double publisherSiderealAtEpoch(double epoch1950)
{
    const double ts70 = epoch1950 - 7305.0;
    const double ds70 = std::floor(ts70 + 1.0e-8);
    const double tfrac = ts70 - ds70;
    constexpr double c1 = 1.72027916940703639e-2;
    constexpr double thgr70 = 1.7321343856509374;
    constexpr double fk5r = 5.07551419432269442e-15;
    const double c1p2p = c1 + kTwoPi;
    double gsto = std::fmod(thgr70 + c1 * ds70 + c1p2p * tfrac + ts70 * ts70 * fk5r, kTwoPi);
    if (gsto < 0.0)
        gsto += kTwoPi;
    return gsto;
}

// The IAU 1982 sidereal angle.
double siderealAtEpoch(double epoch1950)
{
    const double tut1 = (epoch1950 + 2433281.5 - 2451545.0) / 36525.0;
    const double seconds = -6.2e-6 * tut1 * tut1 * tut1 + 0.093104 * tut1 * tut1
                     + (876600.0 * 3600.0 + 8640184.812866) * tut1 + 67310.54841;
    double angle = std::fmod(seconds * (kPi / 180.0) / 240.0, kTwoPi);
    if (angle < 0.0)
        angle += kTwoPi;
    return angle;
}

// sin and cos of a small angle (the short-period corrections are of the
// order of J2, about 1e-3) by their series, exact to the last bit below 0.01;
// larger ones by the library.
inline void smallAngle(double a, double &s, double &c)
{
    if (std::fabs(a) < 0.01) {
        const double a2 = a * a;
        s = a * (1.0 - a2 / 6.0 * (1.0 - a2 / 20.0 * (1.0 - a2 / 42.0)));
        c = 1.0 - a2 / 2.0 * (1.0 - a2 / 12.0 * (1.0 - a2 / 30.0 * (1.0 - a2 / 56.0)));
    } else {
        s = std::sin(a);
        c = std::cos(a);
    }
}

} // namespace

const char *sgp4ErrorText(Sgp4Error error)
{
    switch (error) {
    case Sgp4Error::None:
        return "no error";
    case Sgp4Error::MeanEccentricity:
        return "mean eccentricity out of range";
    case Sgp4Error::MeanMotion:
        return "mean motion below zero";
    case Sgp4Error::PerturbedEccentricity:
        return "perturbed eccentricity out of range";
    case Sgp4Error::SemiLatusRectum:
        return "semi-latus rectum below zero";
    case Sgp4Error::Decayed:
        return "satellite has decayed";
    }
    return "unknown error";
}

double Sgp4::perigeeKm() const
{
    return (m_ao * (1.0 - m_ecco) - 1.0) * wgs72::radiusKm;
}

double Sgp4::apogeeKm() const
{
    return (m_ao * (1.0 + m_ecco) - 1.0) * wgs72::radiusKm;
}

Sgp4Error Sgp4::init(const ElementSet &elements, Sgp4Mode mode)
{
    using namespace wgs72;
    const double j3oj2 = j3 / j2;

    m_elements = elements;
    m_mode = mode;
    m_ds = DeepSpace{};
    m_deepSpace = false;
    m_simple = false;
    m_bstar = elements.bstar;
    m_ecco = elements.eccentricity;
    m_argpo = elements.argPerigee;
    m_inclo = elements.inclination;
    m_mo = elements.meanAnomaly;
    m_nodeo = elements.raan;
    m_no = elements.meanMotion;

    const double ss = 78.0 / radiusKm + 1.0;
    const double qzms2tBase = (120.0 - 78.0) / radiusKm;
    const double qzms2t = qzms2tBase * qzms2tBase * qzms2tBase * qzms2tBase;

    // Epoch quantities, and the mean motion recovered from the published
    // (Kozai) value.
    const double eccsq = m_ecco * m_ecco;
    const double omeosq = 1.0 - eccsq;
    const double rteosq = std::sqrt(omeosq);
    const double cosio = std::cos(m_inclo);
    const double cosio2 = cosio * cosio;
    const double ak = std::pow(xke / m_no, kTwoThirds);
    const double d1 = 0.75 * j2 * (3.0 * cosio2 - 1.0) / (rteosq * omeosq);
    double del = d1 / (ak * ak);
    const double adel = ak * (1.0 - del * del - del * (1.0 / 3.0 + 134.0 * del * del / 81.0));
    del = d1 / (adel * adel);
    m_no = m_no / (1.0 + del);

    const double ao = std::pow(xke / m_no, kTwoThirds);
    m_ao = ao;
    const double sinio = std::sin(m_inclo);
    m_sinio = sinio;
    m_cosio = cosio;
    const double po = ao * omeosq;
    const double con42 = 1.0 - 5.0 * cosio2;
    m_con41 = -con42 - cosio2 - cosio2;
    const double posq = po * po;
    const double rp = ao * (1.0 - m_ecco);
    m_gsto = mode == Sgp4Mode::Afspc ? publisherSiderealAtEpoch(elements.epoch1950)
                                     : siderealAtEpoch(elements.epoch1950);

    if (omeosq >= 0.0 || m_no >= 0.0) {
        m_simple = rp < (220.0 / radiusKm + 1.0);
        double sfour = ss;
        double qzms24 = qzms2t;
        const double perige = (rp - 1.0) * radiusKm;

        // Perigees below 156 km get a lower atmosphere boundary.
        if (perige < 156.0) {
            sfour = perige - 78.0;
            if (perige < 98.0)
                sfour = 20.0;
            const double base = (120.0 - sfour) / radiusKm;
            qzms24 = base * base * base * base;
            sfour = sfour / radiusKm + 1.0;
        }
        const double pinvsq = 1.0 / posq;

        const double tsi = 1.0 / (ao - sfour);
        m_eta = ao * m_ecco * tsi;
        const double etasq = m_eta * m_eta;
        const double eeta = m_ecco * m_eta;
        const double psisq = std::fabs(1.0 - etasq);
        const double coef = qzms24 * std::pow(tsi, 4.0);
        const double coef1 = coef / std::pow(psisq, 3.5);
        const double cc2 = coef1 * m_no
                           * (ao * (1.0 + 1.5 * etasq + eeta * (4.0 + etasq))
                              + 0.375 * j2 * tsi / psisq * m_con41 * (8.0 + 3.0 * etasq * (8.0 + etasq)));
        m_cc1 = m_bstar * cc2;
        double cc3 = 0.0;
        if (m_ecco > 1.0e-4)
            cc3 = -2.0 * coef * tsi * j3oj2 * m_no * sinio / m_ecco;
        m_x1mth2 = 1.0 - cosio2;
        m_cc4 = 2.0 * m_no * coef1 * ao * omeosq
                * (m_eta * (2.0 + 0.5 * etasq) + m_ecco * (0.5 + 2.0 * etasq)
                   - j2 * tsi / (ao * psisq)
                         * (-3.0 * m_con41 * (1.0 - 2.0 * eeta + etasq * (1.5 - 0.5 * eeta))
                            + 0.75 * m_x1mth2 * (2.0 * etasq - eeta * (1.0 + etasq)) * std::cos(2.0 * m_argpo)));
        m_cc5 = 2.0 * coef1 * ao * omeosq * (1.0 + 2.75 * (etasq + eeta) + eeta * etasq);
        const double cosio4 = cosio2 * cosio2;
        const double temp1 = 1.5 * j2 * pinvsq * m_no;
        const double temp2 = 0.5 * temp1 * j2 * pinvsq;
        const double temp3 = -0.46875 * j4 * pinvsq * pinvsq * m_no;
        m_mdot = m_no + 0.5 * temp1 * rteosq * m_con41
                 + 0.0625 * temp2 * rteosq * (13.0 - 78.0 * cosio2 + 137.0 * cosio4);
        m_argpdot = -0.5 * temp1 * con42 + 0.0625 * temp2 * (7.0 - 114.0 * cosio2 + 395.0 * cosio4)
                    + temp3 * (3.0 - 36.0 * cosio2 + 49.0 * cosio4);
        const double xhdot1 = -temp1 * cosio;
        m_nodedot = xhdot1 + (0.5 * temp2 * (4.0 - 19.0 * cosio2) + 2.0 * temp3 * (3.0 - 7.0 * cosio2)) * cosio;
        const double xpidot = m_argpdot + m_nodedot;
        m_omgcof = m_bstar * cc3 * std::cos(m_argpo);
        m_xmcof = 0.0;
        if (m_ecco > 1.0e-4)
            m_xmcof = -kTwoThirds * coef * m_bstar / eeta;
        m_nodecf = 3.5 * omeosq * xhdot1 * m_cc1;
        m_t2cof = 1.5 * m_cc1;
        if (std::fabs(cosio + 1.0) > kTinyDivisor)
            m_xlcof = -0.25 * j3oj2 * sinio * (3.0 + 5.0 * cosio) / (1.0 + cosio);
        else
            m_xlcof = -0.25 * j3oj2 * sinio * (3.0 + 5.0 * cosio) / kTinyDivisor;
        m_aycof = -0.5 * j3oj2 * sinio;
        const double delmotemp = 1.0 + m_eta * std::cos(m_mo);
        m_delmo = delmotemp * delmotemp * delmotemp;
        m_sinmao = std::sin(m_mo);
        m_x7thm1 = 7.0 * cosio2 - 1.0;

        if (kTwoPi / m_no >= 225.0) {
            m_deepSpace = true;
            m_simple = true;
            initDeepSpace(0.0, xpidot, eccsq);
        }

        if (!m_simple) {
            const double cc1sq = m_cc1 * m_cc1;
            m_d2 = 4.0 * ao * tsi * cc1sq;
            const double temp = m_d2 * tsi * m_cc1 / 3.0;
            m_d3 = (17.0 * ao + sfour) * temp;
            m_d4 = 0.5 * temp * ao * tsi * (221.0 * ao + 31.0 * sfour) * m_cc1;
            m_t3cof = m_d2 + 2.0 * cc1sq;
            m_t4cof = 0.25 * (3.0 * m_d3 + m_cc1 * (12.0 * m_d2 + 10.0 * cc1sq));
            m_t5cof = 0.2 * (3.0 * m_d4 + 12.0 * m_cc1 * m_d3 + 6.0 * m_d2 * m_d2 + 15.0 * cc1sq * (2.0 * m_d2 + cc1sq));
        }
    }
    m_amNear = std::pow(xke / m_no, kTwoThirds);

    Vec3 r, v;
    return propagate(0.0, r, v);
}

Sgp4Error Sgp4::propagate(double t, Vec3 &position, Vec3 &velocity)
{
    using namespace wgs72;
    const double j3oj2 = j3 / j2;
    const double vkmpersec = radiusKm * xke / 60.0;

    // Secular gravity and atmospheric drag.
    const double xmdf = m_mo + m_mdot * t;
    const double argpdf = m_argpo + m_argpdot * t;
    const double nodedf = m_nodeo + m_nodedot * t;
    double argpm = argpdf;
    double mm = xmdf;
    const double t2 = t * t;
    double nodem = nodedf + m_nodecf * t2;
    double tempa = 1.0 - m_cc1 * t;
    double tempe = m_bstar * m_cc4 * t;
    double templ = m_t2cof * t2;

    if (!m_simple) {
        const double delomg = m_omgcof * t;
        const double delmtemp = 1.0 + m_eta * std::cos(xmdf);
        const double delm = m_xmcof * (delmtemp * delmtemp * delmtemp - m_delmo);
        const double temp = delomg + delm;
        mm = xmdf + temp;
        argpm = argpdf - temp;
        const double t3 = t2 * t;
        const double t4 = t3 * t;
        tempa = tempa - m_d2 * t2 - m_d3 * t3 - m_d4 * t4;
        tempe = tempe + m_bstar * m_cc5 * (std::sin(mm) - m_sinmao);
        templ = templ + m_t3cof * t3 + t4 * (m_t4cof + t * m_t5cof);
    }

    double nm = m_no;
    double em = m_ecco;
    double inclm = m_inclo;
    double am;
    if (m_deepSpace) {
        deepSpaceSecular(t, em, argpm, inclm, mm, nodem, nm);
        if (nm <= 0.0)
            return Sgp4Error::MeanMotion;
        am = std::pow(xke / nm, kTwoThirds) * tempa * tempa;
    } else {
        am = m_amNear * tempa * tempa;
    }
    nm = xke / (am * std::sqrt(am));
    em = em - tempe;

    if (em >= 1.0 || em < -0.001)
        return Sgp4Error::MeanEccentricity;
    // Keeps the divisions below finite for a circular orbit.
    if (em < 1.0e-6)
        em = 1.0e-6;
    mm = mm + m_no * templ;
    double xlm = mm + argpm + nodem;

    nodem = std::fmod(nodem, kTwoPi);
    argpm = std::fmod(argpm, kTwoPi);
    xlm = std::fmod(xlm, kTwoPi);
    mm = std::fmod(xlm - argpm - nodem, kTwoPi);

    // Lunar-solar periodics.
    double ep = em;
    double xincp = inclm;
    double argpp = argpm;
    double nodep = nodem;
    double mp = mm;
    double sinip, cosip;
    double xlcof = m_xlcof, aycof = m_aycof;
    double con41 = m_con41, x1mth2 = m_x1mth2, x7thm1 = m_x7thm1;
    if (m_deepSpace) {
        deepSpacePeriodics(t, ep, xincp, nodep, argpp, mp);
        if (xincp < 0.0) {
            xincp = -xincp;
            nodep = nodep + kPi;
            argpp = argpp - kPi;
        }
        if (ep < 0.0 || ep > 1.0)
            return Sgp4Error::PerturbedEccentricity;
        sinip = std::sin(xincp);
        cosip = std::cos(xincp);
        aycof = -0.5 * j3oj2 * sinip;
        if (std::fabs(cosip + 1.0) > kTinyDivisor)
            xlcof = -0.25 * j3oj2 * sinip * (3.0 + 5.0 * cosip) / (1.0 + cosip);
        else
            xlcof = -0.25 * j3oj2 * sinip * (3.0 + 5.0 * cosip) / kTinyDivisor;
        const double cosisq = cosip * cosip;
        con41 = 3.0 * cosisq - 1.0;
        x1mth2 = 1.0 - cosisq;
        x7thm1 = 7.0 * cosisq - 1.0;
    } else {
        sinip = m_sinio;
        cosip = m_cosio;
    }

    // Long-period periodics.
    const double sinArgp = std::sin(argpp);
    const double cosArgp = std::cos(argpp);
    const double axnl = ep * cosArgp;
    double temp = 1.0 / (am * (1.0 - ep * ep));
    const double aynl = ep * sinArgp + temp * aycof;
    const double xl = mp + argpp + nodep + temp * xlcof * axnl;

    // Kepler's equation, with each correction limited so a poor start
    // cannot throw the iteration off.
    const double u = std::fmod(xl - nodep, kTwoPi);
    double eo1 = u;
    double tem5 = 9999.9;
    double sineo1 = 0, coseo1 = 0;
    for (int ktr = 1; std::fabs(tem5) >= 1.0e-12 && ktr <= 10; ++ktr) {
        sineo1 = std::sin(eo1);
        coseo1 = std::cos(eo1);
        tem5 = 1.0 - coseo1 * axnl - sineo1 * aynl;
        tem5 = (u - aynl * coseo1 + axnl * sineo1 - eo1) / tem5;
        if (std::fabs(tem5) >= 0.95)
            tem5 = tem5 > 0.0 ? 0.95 : -0.95;
        eo1 = eo1 + tem5;
    }

    // Short-period preliminary quantities.
    const double ecose = axnl * coseo1 + aynl * sineo1;
    const double esine = axnl * sineo1 - aynl * coseo1;
    const double el2 = axnl * axnl + aynl * aynl;
    const double pl = am * (1.0 - el2);
    if (pl < 0.0)
        return Sgp4Error::SemiLatusRectum;

    const double rl = am * (1.0 - ecose);
    const double rdotl = std::sqrt(am) * esine / rl;
    const double rvdotl = std::sqrt(pl) / rl;
    const double betal = std::sqrt(1.0 - el2);
    temp = esine / (1.0 + betal);
    const double sinu = am / rl * (sineo1 - aynl - axnl * temp);
    const double cosu = am / rl * (coseo1 - axnl + aynl * temp);
    const double sin2u = (cosu + cosu) * sinu;
    const double cos2u = 1.0 - 2.0 * sinu * sinu;
    temp = 1.0 / pl;
    const double temp1 = 0.5 * j2 * temp;
    const double temp2 = temp1 * temp;

    // Short-period periodics. The argument of latitude and the inclination
    // move by small corrections, applied to their sines and cosines by
    // rotation rather than by new calls to the trigonometric functions.
    const double mrt = rl * (1.0 - 1.5 * temp2 * betal * con41) + 0.5 * temp1 * x1mth2 * cos2u;
    const double dsu = -0.25 * temp2 * x7thm1 * sin2u;
    const double xnode = nodep + 1.5 * temp2 * cosip * sin2u;
    const double dinc = 1.5 * temp2 * cosip * sinip * cos2u;
    const double mvt = rdotl - nm * temp1 * x1mth2 * sin2u / xke;
    const double rvdot = rvdotl + nm * temp1 * (x1mth2 * cos2u + 1.5 * con41) / xke;

    // Orientation vectors.
    const double unit = 1.0 / std::sqrt(sinu * sinu + cosu * cosu);
    const double sinu0 = sinu * unit;
    const double cosu0 = cosu * unit;
    double sdsu, cdsu, sdinc, cdinc;
    smallAngle(dsu, sdsu, cdsu);
    smallAngle(dinc, sdinc, cdinc);
    const double sinsu = sinu0 * cdsu + cosu0 * sdsu;
    const double cossu = cosu0 * cdsu - sinu0 * sdsu;
    const double snod = std::sin(xnode);
    const double cnod = std::cos(xnode);
    const double sini = sinip * cdinc + cosip * sdinc;
    const double cosi = cosip * cdinc - sinip * sdinc;
    const double xmx = -snod * cosi;
    const double xmy = cnod * cosi;
    const double ux = xmx * sinsu + cnod * cossu;
    const double uy = xmy * sinsu + snod * cossu;
    const double uz = sini * sinsu;
    const double vx = xmx * cossu - cnod * sinsu;
    const double vy = xmy * cossu - snod * sinsu;
    const double vz = sini * cossu;

    position = {mrt * ux * radiusKm, mrt * uy * radiusKm, mrt * uz * radiusKm};
    velocity = {(mvt * ux + rvdot * vx) * vkmpersec, (mvt * uy + rvdot * vy) * vkmpersec,
                (mvt * uz + rvdot * vz) * vkmpersec};

    if (mrt < 1.0)
        return Sgp4Error::Decayed;
    return Sgp4Error::None;
}

} // namespace orbiter
