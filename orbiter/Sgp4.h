#pragma once

#include "orbiter/ElementSet.h"
#include "orbiter/Vec3.h"

namespace orbiter {

// Why the model gives no state at a time. The numbers are the model's own
// error codes, which other implementations and published tests use too.
enum class Sgp4Error : int {
    None = 0,
    MeanEccentricity = 1,       // the mean eccentricity left 0 <= e < 1
    MeanMotion = 2,             // the mean motion fell to zero or below
    PerturbedEccentricity = 3,  // lunar-solar terms pushed the eccentricity out of range
    SemiLatusRectum = 4,        // the orbit is no longer an ellipse
    Decayed = 6,                // the satellite is below the Earth's surface
};

const char *sgp4ErrorText(Sgp4Error error);

// The gravity model the published element sets are fitted with (WGS-72).
namespace wgs72 {
inline constexpr double mu = 398600.8;             // km^3/s^2
inline constexpr double radiusKm = 6378.135;
inline const double xke = 60.0 / std::sqrt(radiusKm * radiusKm * radiusKm / mu);  // sqrt(mu) in Earth radii^1.5 per minute
inline constexpr double j2 = 0.001082616;
inline constexpr double j3 = -0.00000253881;
inline constexpr double j4 = -0.00000165597;
} // namespace wgs72

// Lunar-solar and resonance terms for orbits of 225 minutes or longer.
struct DeepSpace
{
    // Long-period lunar-solar coefficients.
    double e3, ee2, peo, pgho, pho, pinco, plo, se2, se3, sgh2, sgh3, sgh4, sh2, sh3, si2, si3,
        sl2, sl3, sl4, xgh2, xgh3, xgh4, xh2, xh3, xi2, xi3, xl2, xl3, xl4, zmol, zmos;
    // Secular rates.
    double dedt, didt, dmdt, dnodt, domdt;
    // Resonance: 0 none, 1 one-day (synchronous), 2 half-day.
    int irez;
    double d2201, d2211, d3210, d3222, d4410, d4422, d5220, d5232, d5421, d5433;
    double del1, del2, del3, xfact, xlamo;
    // Integrator state: where the last integration stopped. Integrating from
    // any stored step gives the same numbers as from the epoch, so keeping it
    // only saves time; so does keeping the rates at that step.
    double atime, xli, xni;
    bool ratesKnown;
    double xndt, xldot, xnddt;
};

// The two ways the revised model may run. Afspc reproduces the element sets'
// publisher (its sidereal time at the epoch, its handling of the node in the
// low-inclination lunar-solar terms); Improved uses the modern sidereal time
// and leaves the node as computed. They differ only for deep-space orbits.
enum class Sgp4Mode { Afspc, Improved };

// The SGP4/SDP4 orbit model (Spacetrack Report No. 3 as revised in 2006)
// with WGS-72 constants. Positions in km and velocities in km/s in the TEME
// frame.
class Sgp4
{
public:
    // Prepares the model and computes the state at the epoch; the answer is
    // the epoch's error (None for a usable set).
    Sgp4Error init(const ElementSet &elements, Sgp4Mode mode = Sgp4Mode::Afspc);
    Sgp4Error propagate(double minutesSinceEpoch, Vec3 &position, Vec3 &velocity);

    const ElementSet &elements() const { return m_elements; }
    bool isDeepSpace() const { return m_deepSpace; }
    Sgp4Mode mode() const { return m_mode; }
    // Mean motion after removing the published (Kozai) convention, rad/min.
    double meanMotion() const { return m_no; }
    // Of the mean orbit at the epoch.
    double perigeeKm() const;
    double apogeeKm() const;
    double semiMajorAxisKm() const { return m_ao * wgs72::radiusKm; }

private:
    void initDeepSpace(double tc, double xpidot, double eccsq);
    void deepSpaceSecular(double t, double &em, double &argpm, double &inclm, double &mm,
                          double &nodem, double &nm);
    void deepSpacePeriodics(double t, double &ep, double &inclp, double &nodep, double &argpp,
                            double &mp) const;

    ElementSet m_elements;
    Sgp4Mode m_mode = Sgp4Mode::Afspc;
    bool m_deepSpace = false;
    bool m_simple = false;  // drop the higher-order drag terms

    double m_ecco = 0, m_inclo = 0, m_nodeo = 0, m_argpo = 0, m_mo = 0, m_no = 0, m_bstar = 0;
    double m_ao = 0, m_gsto = 0;
    double m_sinio = 0, m_cosio = 1;
    double m_con41 = 0, m_x1mth2 = 0, m_x7thm1 = 0;
    double m_cc1 = 0, m_cc4 = 0, m_cc5 = 0, m_d2 = 0, m_d3 = 0, m_d4 = 0;
    double m_t2cof = 0, m_t3cof = 0, m_t4cof = 0, m_t5cof = 0;
    double m_mdot = 0, m_argpdot = 0, m_nodedot = 0, m_nodecf = 0;
    double m_omgcof = 0, m_xmcof = 0, m_eta = 0, m_delmo = 0, m_sinmao = 0;
    double m_xlcof = 0, m_aycof = 0;
    double m_amNear = 0;  // (xke / no)^(2/3), which near-Earth orbits use every time
    DeepSpace m_ds{};
};

} // namespace orbiter
