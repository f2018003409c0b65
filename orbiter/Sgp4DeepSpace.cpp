// The deep-space part of the model: lunar and solar perturbations and the
// resonances of one-day and half-day orbits. Variable names follow the
// published equations so each line can be checked against them.
#include "orbiter/Sgp4.h"

#include <cmath>
#include <numbers>

namespace orbiter {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kTwoThirds = 2.0 / 3.0;

// Solar and lunar constants of the theory.
constexpr double zes = 0.01675;
constexpr double zel = 0.05490;
constexpr double zns = 1.19459e-5;
constexpr double znl = 1.5835218e-4;
// Earth's rotation, radians per minute.
constexpr double rptim = 4.37526908801129966e-3;

// The lunar-solar geometry at the epoch, shared by the periodic and the
// secular set-up.
struct LunarSolar
{
    double sinim, cosim, emsq;
    double s1, s2, s3, s4, s5, s6, s7;
    double ss1, ss2, ss3, ss4, ss5, ss6, ss7;
    double sz1, sz2, sz3, sz11, sz12, sz13, sz21, sz22, sz23, sz31, sz32, sz33;
    double z1, z2, z3, z11, z12, z13, z21, z22, z23, z31, z32, z33;
};

LunarSolar lunarSolarTerms(double epoch, double ep, double argpp, double tc, double inclp, double nodep,
                           double np, DeepSpace &ds)
{
    constexpr double c1ss = 2.9864797e-6;
    constexpr double c1l = 4.7968065e-7;
    constexpr double zsinis = 0.39785416;
    constexpr double zcosis = 0.91744867;
    constexpr double zcosgs = 0.1945905;
    constexpr double zsings = -0.98088458;

    LunarSolar g{};
    const double nm = np;
    const double em = ep;
    const double snodm = std::sin(nodep);
    const double cnodm = std::cos(nodep);
    const double sinomm = std::sin(argpp);
    const double cosomm = std::cos(argpp);
    g.sinim = std::sin(inclp);
    g.cosim = std::cos(inclp);
    g.emsq = em * em;
    const double betasq = 1.0 - g.emsq;
    const double rtemsq = std::sqrt(betasq);

    ds.peo = 0.0;
    ds.pinco = 0.0;
    ds.plo = 0.0;
    ds.pgho = 0.0;
    ds.pho = 0.0;
    const double day = epoch + 18261.5 + tc / 1440.0;
    const double xnodce = std::fmod(4.5236020 - 9.2422029e-4 * day, kTwoPi);
    const double stem = std::sin(xnodce);
    const double ctem = std::cos(xnodce);
    const double zcosil = 0.91375164 - 0.03568096 * ctem;
    const double zsinil = std::sqrt(1.0 - zcosil * zcosil);
    const double zsinhl = 0.089683511 * stem / zsinil;
    const double zcoshl = std::sqrt(1.0 - zsinhl * zsinhl);
    const double gam = 5.8351514 + 0.0019443680 * day;
    double zx = 0.39785416 * stem / zsinil;
    const double zy = zcoshl * ctem + 0.91744867 * zsinhl * stem;
    zx = std::atan2(zx, zy);
    zx = gam + zx - xnodce;
    const double zcosgl = std::cos(zx);
    const double zsingl = std::sin(zx);

    // First the sun, then the moon.
    double zcosg = zcosgs;
    double zsing = zsings;
    double zcosi = zcosis;
    double zsini = zsinis;
    double zcosh = cnodm;
    double zsinh = snodm;
    double cc = c1ss;
    const double xnoi = 1.0 / nm;

    for (int body = 1; body <= 2; ++body) {
        const double a1 = zcosg * zcosh + zsing * zcosi * zsinh;
        const double a3 = -zsing * zcosh + zcosg * zcosi * zsinh;
        const double a7 = -zcosg * zsinh + zsing * zcosi * zcosh;
        const double a8 = zsing * zsini;
        const double a9 = zsing * zsinh + zcosg * zcosi * zcosh;
        const double a10 = zcosg * zsini;
        const double a2 = g.cosim * a7 + g.sinim * a8;
        const double a4 = g.cosim * a9 + g.sinim * a10;
        const double a5 = -g.sinim * a7 + g.cosim * a8;
        const double a6 = -g.sinim * a9 + g.cosim * a10;

        const double x1 = a1 * cosomm + a2 * sinomm;
        const double x2 = a3 * cosomm + a4 * sinomm;
        const double x3 = -a1 * sinomm + a2 * cosomm;
        const double x4 = -a3 * sinomm + a4 * cosomm;
        const double x5 = a5 * sinomm;
        const double x6 = a6 * sinomm;
        const double x7 = a5 * cosomm;
        const double x8 = a6 * cosomm;

        g.z31 = 12.0 * x1 * x1 - 3.0 * x3 * x3;
        g.z32 = 24.0 * x1 * x2 - 6.0 * x3 * x4;
        g.z33 = 12.0 * x2 * x2 - 3.0 * x4 * x4;
        g.z1 = 3.0 * (a1 * a1 + a2 * a2) + g.z31 * g.emsq;
        g.z2 = 6.0 * (a1 * a3 + a2 * a4) + g.z32 * g.emsq;
        g.z3 = 3.0 * (a3 * a3 + a4 * a4) + g.z33 * g.emsq;
        g.z11 = -6.0 * a1 * a5 + g.emsq * (-24.0 * x1 * x7 - 6.0 * x3 * x5);
        g.z12 = -6.0 * (a1 * a6 + a3 * a5) + g.emsq * (-24.0 * (x2 * x7 + x1 * x8) - 6.0 * (x3 * x6 + x4 * x5));
        g.z13 = -6.0 * a3 * a6 + g.emsq * (-24.0 * x2 * x8 - 6.0 * x4 * x6);
        g.z21 = 6.0 * a2 * a5 + g.emsq * (24.0 * x1 * x5 - 6.0 * x3 * x7);
        g.z22 = 6.0 * (a4 * a5 + a2 * a6) + g.emsq * (24.0 * (x2 * x5 + x1 * x6) - 6.0 * (x4 * x7 + x3 * x8));
        g.z23 = 6.0 * a4 * a6 + g.emsq * (24.0 * x2 * x6 - 6.0 * x4 * x8);
        g.z1 = g.z1 + g.z1 + betasq * g.z31;
        g.z2 = g.z2 + g.z2 + betasq * g.z32;
        g.z3 = g.z3 + g.z3 + betasq * g.z33;
        g.s3 = cc * xnoi;
        g.s2 = -0.5 * g.s3 / rtemsq;
        g.s4 = g.s3 * rtemsq;
        g.s1 = -15.0 * em * g.s4;
        g.s5 = x1 * x3 + x2 * x4;
        g.s6 = x2 * x3 + x1 * x4;
        g.s7 = x2 * x4 - x1 * x3;

        if (body == 1) {
            g.ss1 = g.s1;
            g.ss2 = g.s2;
            g.ss3 = g.s3;
            g.ss4 = g.s4;
            g.ss5 = g.s5;
            g.ss6 = g.s6;
            g.ss7 = g.s7;
            g.sz1 = g.z1;
            g.sz2 = g.z2;
            g.sz3 = g.z3;
            g.sz11 = g.z11;
            g.sz12 = g.z12;
            g.sz13 = g.z13;
            g.sz21 = g.z21;
            g.sz22 = g.z22;
            g.sz23 = g.z23;
            g.sz31 = g.z31;
            g.sz32 = g.z32;
            g.sz33 = g.z33;
            zcosg = zcosgl;
            zsing = zsingl;
            zcosi = zcosil;
            zsini = zsinil;
            zcosh = zcoshl * cnodm + zsinhl * snodm;
            zsinh = snodm * zcoshl - cnodm * zsinhl;
            cc = c1l;
        }
    }

    ds.zmol = std::fmod(4.7199672 + 0.22997150 * day - gam, kTwoPi);
    ds.zmos = std::fmod(6.2565837 + 0.017201977 * day, kTwoPi);

    // Solar coefficients.
    ds.se2 = 2.0 * g.ss1 * g.ss6;
    ds.se3 = 2.0 * g.ss1 * g.ss7;
    ds.si2 = 2.0 * g.ss2 * g.sz12;
    ds.si3 = 2.0 * g.ss2 * (g.sz13 - g.sz11);
    ds.sl2 = -2.0 * g.ss3 * g.sz2;
    ds.sl3 = -2.0 * g.ss3 * (g.sz3 - g.sz1);
    ds.sl4 = -2.0 * g.ss3 * (-21.0 - 9.0 * g.emsq) * zes;
    ds.sgh2 = 2.0 * g.ss4 * g.sz32;
    ds.sgh3 = 2.0 * g.ss4 * (g.sz33 - g.sz31);
    ds.sgh4 = -18.0 * g.ss4 * zes;
    ds.sh2 = -2.0 * g.ss2 * g.sz22;
    ds.sh3 = -2.0 * g.ss2 * (g.sz23 - g.sz21);

    // Lunar coefficients.
    ds.ee2 = 2.0 * g.s1 * g.s6;
    ds.e3 = 2.0 * g.s1 * g.s7;
    ds.xi2 = 2.0 * g.s2 * g.z12;
    ds.xi3 = 2.0 * g.s2 * (g.z13 - g.z11);
    ds.xl2 = -2.0 * g.s3 * g.z2;
    ds.xl3 = -2.0 * g.s3 * (g.z3 - g.z1);
    ds.xl4 = -2.0 * g.s3 * (-21.0 - 9.0 * g.emsq) * zel;
    ds.xgh2 = 2.0 * g.s4 * g.z32;
    ds.xgh3 = 2.0 * g.s4 * (g.z33 - g.z31);
    ds.xgh4 = -18.0 * g.s4 * zel;
    ds.xh2 = -2.0 * g.s2 * g.z22;
    ds.xh3 = -2.0 * g.s2 * (g.z23 - g.z21);
    return g;
}

} // namespace

void Sgp4::initDeepSpace(double tc, double xpidot, double eccsq)
{
    using namespace wgs72;
    DeepSpace &ds = m_ds;
    const LunarSolar g = lunarSolarTerms(m_elements.epoch1950, m_ecco, m_argpo, tc, m_inclo, m_nodeo, m_no, ds);

    constexpr double q22 = 1.7891679e-6;
    constexpr double q31 = 2.1460748e-6;
    constexpr double q33 = 2.2123015e-7;
    constexpr double root22 = 1.7891679e-6;
    constexpr double root44 = 7.3636953e-9;
    constexpr double root54 = 2.1765803e-9;
    constexpr double root32 = 3.7393792e-7;
    constexpr double root52 = 1.1428639e-7;

    double em = m_ecco;
    double emsq = g.emsq;
    const double nm = m_no;
    const double inclm = m_inclo;
    const double sinim = g.sinim;
    const double cosim = g.cosim;

    ds.irez = 0;
    if (nm < 0.0052359877 && nm > 0.0034906585)
        ds.irez = 1;
    if (nm >= 8.26e-3 && nm <= 9.24e-3 && em >= 0.5)
        ds.irez = 2;

    // Solar secular rates.
    const double ses = g.ss1 * zns * g.ss5;
    const double sis = g.ss2 * zns * (g.sz11 + g.sz13);
    const double sls = -zns * g.ss3 * (g.sz1 + g.sz3 - 14.0 - 6.0 * emsq);
    const double sghs = g.ss4 * zns * (g.sz31 + g.sz33 - 6.0);
    double shs = -zns * g.ss2 * (g.sz21 + g.sz23);
    // The node is undefined for equatorial orbits.
    const bool nearEquatorial = inclm < 5.2359877e-2 || inclm > kPi - 5.2359877e-2;
    if (nearEquatorial)
        shs = 0.0;
    if (sinim != 0.0)
        shs = shs / sinim;
    const double sgs = sghs - cosim * shs;

    // Lunar secular rates.
    ds.dedt = ses + g.s1 * znl * g.s5;
    ds.didt = sis + g.s2 * znl * (g.z11 + g.z13);
    ds.dmdt = sls - znl * g.s3 * (g.z1 + g.z3 - 14.0 - 6.0 * emsq);
    const double sghl = g.s4 * znl * (g.z31 + g.z33 - 6.0);
    double shll = -znl * g.s2 * (g.z21 + g.z23);
    if (nearEquatorial)
        shll = 0.0;
    ds.domdt = sgs + sghl;
    ds.dnodt = shs;
    if (sinim != 0.0) {
        ds.domdt = ds.domdt - cosim / sinim * shll;
        ds.dnodt = ds.dnodt + shll / sinim;
    }

    // Resonance terms.
    const double theta = std::fmod(m_gsto + tc * rptim, kTwoPi);
    if (ds.irez != 0) {
        const double aonv = std::pow(nm / xke, kTwoThirds);

        if (ds.irez == 2) {
            // Half-day orbits (Molniya and the like).
            const double cosisq = cosim * cosim;
            const double emo = em;
            em = m_ecco;
            const double emsqo = emsq;
            emsq = eccsq;
            const double eoc = em * emsq;
            const double g201 = -0.306 - (em - 0.64) * 0.440;
            double g211, g310, g322, g410, g422, g520, g521, g532, g533;

            if (em <= 0.65) {
                g211 = 3.616 - 13.2470 * em + 16.2900 * emsq;
                g310 = -19.302 + 117.3900 * em - 228.4190 * emsq + 156.5910 * eoc;
                g322 = -18.9068 + 109.7927 * em - 214.6334 * emsq + 146.5816 * eoc;
                g410 = -41.122 + 242.6940 * em - 471.0940 * emsq + 313.9530 * eoc;
                g422 = -146.407 + 841.8800 * em - 1629.014 * emsq + 1083.4350 * eoc;
                g520 = -532.114 + 3017.977 * em - 5740.032 * emsq + 3708.2760 * eoc;
            } else {
                g211 = -72.099 + 331.819 * em - 508.738 * emsq + 266.724 * eoc;
                g310 = -346.844 + 1582.851 * em - 2415.925 * emsq + 1246.113 * eoc;
                g322 = -342.585 + 1554.908 * em - 2366.899 * emsq + 1215.972 * eoc;
                g410 = -1052.797 + 4758.686 * em - 7193.992 * emsq + 3651.957 * eoc;
                g422 = -3581.690 + 16178.110 * em - 24462.770 * emsq + 12422.520 * eoc;
                if (em > 0.715)
                    g520 = -5149.66 + 29936.92 * em - 54087.36 * emsq + 31324.56 * eoc;
                else
                    g520 = 1464.74 - 4664.75 * em + 3763.64 * emsq;
            }
            if (em < 0.7) {
                g533 = -919.22770 + 4988.6100 * em - 9064.7700 * emsq + 5542.21 * eoc;
                g521 = -822.71072 + 4568.6173 * em - 8491.4146 * emsq + 5337.524 * eoc;
                g532 = -853.66600 + 4690.2500 * em - 8624.7700 * emsq + 5341.4 * eoc;
            } else {
                g533 = -37995.780 + 161616.52 * em - 229838.20 * emsq + 109377.94 * eoc;
                g521 = -51752.104 + 218913.95 * em - 309468.16 * emsq + 146349.42 * eoc;
                g532 = -40023.880 + 170470.89 * em - 242699.48 * emsq + 115605.82 * eoc;
            }

            const double sini2 = sinim * sinim;
            const double f220 = 0.75 * (1.0 + 2.0 * cosim + cosisq);
            const double f221 = 1.5 * sini2;
            const double f321 = 1.875 * sinim * (1.0 - 2.0 * cosim - 3.0 * cosisq);
            const double f322 = -1.875 * sinim * (1.0 + 2.0 * cosim - 3.0 * cosisq);
            const double f441 = 35.0 * sini2 * f220;
            const double f442 = 39.3750 * sini2 * sini2;
            const double f522 = 9.84375 * sinim
                                * (sini2 * (1.0 - 2.0 * cosim - 5.0 * cosisq)
                                   + 0.33333333 * (-2.0 + 4.0 * cosim + 6.0 * cosisq));
            const double f523 = sinim
                                * (4.92187512 * sini2 * (-2.0 - 4.0 * cosim + 10.0 * cosisq)
                                   + 6.56250012 * (1.0 + 2.0 * cosim - 3.0 * cosisq));
            const double f542 = 29.53125 * sinim * (2.0 - 8.0 * cosim + cosisq * (-12.0 + 8.0 * cosim + 10.0 * cosisq));
            const double f543 = 29.53125 * sinim * (-2.0 - 8.0 * cosim + cosisq * (12.0 + 8.0 * cosim - 10.0 * cosisq));
            const double xno2 = nm * nm;
            const double ainv2 = aonv * aonv;
            double temp1 = 3.0 * xno2 * ainv2;
            double temp = temp1 * root22;
            ds.d2201 = temp * f220 * g201;
            ds.d2211 = temp * f221 * g211;
            temp1 = temp1 * aonv;
            temp = temp1 * root32;
            ds.d3210 = temp * f321 * g310;
            ds.d3222 = temp * f322 * g322;
            temp1 = temp1 * aonv;
            temp = 2.0 * temp1 * root44;
            ds.d4410 = temp * f441 * g410;
            ds.d4422 = temp * f442 * g422;
            temp1 = temp1 * aonv;
            temp = temp1 * root52;
            ds.d5220 = temp * f522 * g520;
            ds.d5232 = temp * f523 * g532;
            temp = 2.0 * temp1 * root54;
            ds.d5421 = temp * f542 * g521;
            ds.d5433 = temp * f543 * g533;
            ds.xlamo = std::fmod(m_mo + m_nodeo + m_nodeo - theta - theta, kTwoPi);
            ds.xfact = m_mdot + ds.dmdt + 2.0 * (m_nodedot + ds.dnodt - rptim) - m_no;
            em = emo;
            emsq = emsqo;
        }

        if (ds.irez == 1) {
            // One-day orbits (geostationary and the like).
            const double g200 = 1.0 + emsq * (-2.5 + 0.8125 * emsq);
            const double g310 = 1.0 + 2.0 * emsq;
            const double g300 = 1.0 + emsq * (-6.0 + 6.60937 * emsq);
            const double f220 = 0.75 * (1.0 + cosim) * (1.0 + cosim);
            const double f311 = 0.9375 * sinim * sinim * (1.0 + 3.0 * cosim) - 0.75 * (1.0 + cosim);
            double f330 = 1.0 + cosim;
            f330 = 1.875 * f330 * f330 * f330;
            ds.del1 = 3.0 * nm * nm * aonv * aonv;
            ds.del2 = 2.0 * ds.del1 * f220 * g200 * q22;
            ds.del3 = 3.0 * ds.del1 * f330 * g300 * q33 * aonv;
            ds.del1 = ds.del1 * f311 * g310 * q31 * aonv;
            ds.xlamo = std::fmod(m_mo + m_nodeo + m_argpo - theta, kTwoPi);
            ds.xfact = m_mdot + xpidot - rptim + ds.dmdt + ds.domdt + ds.dnodt - m_no;
        }

        ds.xli = ds.xlamo;
        ds.xni = m_no;
        ds.atime = 0.0;
        ds.ratesKnown = false;
    }
}

void Sgp4::deepSpaceSecular(double t, double &em, double &argpm, double &inclm, double &mm, double &nodem,
                            double &nm)
{
    DeepSpace &ds = m_ds;
    constexpr double fasx2 = 0.13130908;
    constexpr double fasx4 = 2.8843198;
    constexpr double fasx6 = 0.37448087;
    constexpr double g22 = 5.7686396;
    constexpr double g32 = 0.95240898;
    constexpr double g44 = 1.8014998;
    constexpr double g52 = 1.0508330;
    constexpr double g54 = 4.4108898;
    constexpr double stepp = 720.0;
    constexpr double stepn = -720.0;
    constexpr double step2 = 259200.0;

    const double theta = std::fmod(m_gsto + t * rptim, kTwoPi);
    em = em + ds.dedt * t;
    inclm = inclm + ds.didt * t;
    argpm = argpm + ds.domdt * t;
    nodem = nodem + ds.dnodt * t;
    mm = mm + ds.dmdt * t;

    if (ds.irez == 0)
        return;

    // Resonances: Euler-Maclaurin integration in half-day steps from the
    // epoch, or from where the last call stopped when that lies between.
    if (ds.atime == 0.0 || t * ds.atime <= 0.0 || std::fabs(t) < std::fabs(ds.atime)) {
        if (ds.atime != 0.0)
            ds.ratesKnown = false;
        ds.atime = 0.0;
        ds.xni = m_no;
        ds.xli = ds.xlamo;
    }
    const double delt = t > 0.0 ? stepp : stepn;

    double &xndt = ds.xndt, &xldot = ds.xldot, &xnddt = ds.xnddt;
    double ft;
    for (;;) {
        if (ds.ratesKnown) {
            // The rates at this step are the ones computed last time.
        } else if (ds.irez != 2) {
            // Near-synchronous terms.
            xndt = ds.del1 * std::sin(ds.xli - fasx2) + ds.del2 * std::sin(2.0 * (ds.xli - fasx4))
                   + ds.del3 * std::sin(3.0 * (ds.xli - fasx6));
            xldot = ds.xni + ds.xfact;
            xnddt = ds.del1 * std::cos(ds.xli - fasx2) + 2.0 * ds.del2 * std::cos(2.0 * (ds.xli - fasx4))
                    + 3.0 * ds.del3 * std::cos(3.0 * (ds.xli - fasx6));
            xnddt = xnddt * xldot;
        } else {
            // Near-half-day terms.
            const double xomi = m_argpo + m_argpdot * ds.atime;
            const double x2omi = xomi + xomi;
            const double x2li = ds.xli + ds.xli;
            xndt = ds.d2201 * std::sin(x2omi + ds.xli - g22) + ds.d2211 * std::sin(ds.xli - g22)
                   + ds.d3210 * std::sin(xomi + ds.xli - g32) + ds.d3222 * std::sin(-xomi + ds.xli - g32)
                   + ds.d4410 * std::sin(x2omi + x2li - g44) + ds.d4422 * std::sin(x2li - g44)
                   + ds.d5220 * std::sin(xomi + ds.xli - g52) + ds.d5232 * std::sin(-xomi + ds.xli - g52)
                   + ds.d5421 * std::sin(xomi + x2li - g54) + ds.d5433 * std::sin(-xomi + x2li - g54);
            xldot = ds.xni + ds.xfact;
            xnddt = ds.d2201 * std::cos(x2omi + ds.xli - g22) + ds.d2211 * std::cos(ds.xli - g22)
                    + ds.d3210 * std::cos(xomi + ds.xli - g32) + ds.d3222 * std::cos(-xomi + ds.xli - g32)
                    + ds.d5220 * std::cos(xomi + ds.xli - g52) + ds.d5232 * std::cos(-xomi + ds.xli - g52)
                    + 2.0 * (ds.d4410 * std::cos(x2omi + x2li - g44) + ds.d4422 * std::cos(x2li - g44)
                             + ds.d5421 * std::cos(xomi + x2li - g54) + ds.d5433 * std::cos(-xomi + x2li - g54));
            xnddt = xnddt * xldot;
        }
        ds.ratesKnown = true;

        if (std::fabs(t - ds.atime) < stepp) {
            ft = t - ds.atime;
            break;
        }
        ds.xli = ds.xli + xldot * delt + xndt * step2;
        ds.xni = ds.xni + xndt * delt + xnddt * step2;
        ds.atime = ds.atime + delt;
        ds.ratesKnown = false;
    }

    nm = ds.xni + xndt * ft + xnddt * ft * ft * 0.5;
    const double xl = ds.xli + xldot * ft + xndt * ft * ft * 0.5;
    if (ds.irez != 1)
        mm = xl - 2.0 * nodem + 2.0 * theta;
    else
        mm = xl - nodem - argpm + theta;
    const double dndt = nm - m_no;
    nm = m_no + dndt;
}

void Sgp4::deepSpacePeriodics(double t, double &ep, double &inclp, double &nodep, double &argpp,
                              double &mp) const
{
    const DeepSpace &ds = m_ds;

    double zm = ds.zmos + zns * t;
    double zf = zm + 2.0 * zes * std::sin(zm);
    double sinzf = std::sin(zf);
    double f2 = 0.5 * sinzf * sinzf - 0.25;
    double f3 = -0.5 * sinzf * std::cos(zf);
    const double ses = ds.se2 * f2 + ds.se3 * f3;
    const double sis = ds.si2 * f2 + ds.si3 * f3;
    const double sls = ds.sl2 * f2 + ds.sl3 * f3 + ds.sl4 * sinzf;
    const double sghs = ds.sgh2 * f2 + ds.sgh3 * f3 + ds.sgh4 * sinzf;
    const double shs = ds.sh2 * f2 + ds.sh3 * f3;
    zm = ds.zmol + znl * t;
    zf = zm + 2.0 * zel * std::sin(zm);
    sinzf = std::sin(zf);
    f2 = 0.5 * sinzf * sinzf - 0.25;
    f3 = -0.5 * sinzf * std::cos(zf);
    const double sel = ds.ee2 * f2 + ds.e3 * f3;
    const double sil = ds.xi2 * f2 + ds.xi3 * f3;
    const double sll = ds.xl2 * f2 + ds.xl3 * f3 + ds.xl4 * sinzf;
    const double sghl = ds.xgh2 * f2 + ds.xgh3 * f3 + ds.xgh4 * sinzf;
    const double shll = ds.xh2 * f2 + ds.xh3 * f3;

    const double pe = ses + sel - ds.peo;
    const double pinc = sis + sil - ds.pinco;
    const double pl = sls + sll - ds.plo;
    double pgh = sghs + sghl - ds.pgho;
    double ph = shs + shll - ds.pho;
    inclp = inclp + pinc;
    ep = ep + pe;
    const double sinip = std::sin(inclp);
    const double cosip = std::cos(inclp);

    // Above about 11.5 degrees of (perturbed) inclination the periodics are
    // applied directly; below, with Lyddane's change, which stays finite as
    // the inclination goes to zero.
    if (inclp >= 0.2) {
        ph = ph / sinip;
        pgh = pgh - cosip * ph;
        argpp = argpp + pgh;
        nodep = nodep + ph;
        mp = mp + pl;
    } else {
        const double sinop = std::sin(nodep);
        const double cosop = std::cos(nodep);
        double alfdp = sinip * sinop;
        double betdp = sinip * cosop;
        const double dalf = ph * cosop + pinc * cosip * sinop;
        const double dbet = -ph * sinop + pinc * cosip * cosop;
        alfdp = alfdp + dalf;
        betdp = betdp + dbet;
        nodep = std::fmod(nodep, kTwoPi);
        // The publisher's software keeps the node in 0..2 pi here.
        const bool publisher = m_mode == Sgp4Mode::Afspc;
        if (nodep < 0.0 && publisher)
            nodep = nodep + kTwoPi;
        double xls = mp + argpp + cosip * nodep;
        const double dls = pl + pgh - pinc * nodep * sinip;
        xls = xls + dls;
        const double xnoh = nodep;
        nodep = std::atan2(alfdp, betdp);
        if (nodep < 0.0 && publisher)
            nodep = nodep + kTwoPi;
        if (std::fabs(xnoh - nodep) > kPi) {
            if (nodep < xnoh)
                nodep = nodep + kTwoPi;
            else
                nodep = nodep - kTwoPi;
        }
        mp = mp + pl;
        argpp = xls - mp - cosip * nodep;
    }
}

} // namespace orbiter
