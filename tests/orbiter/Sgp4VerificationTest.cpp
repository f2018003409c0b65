// The propagator against the published verification cases: every row of the
// reference output within 1 m and 1 mm/s, and the model's error where the
// reference run stopped early.
#include "orbiter/Sgp4.h"

#include <QFile>
#include <QMap>
#include <QStringList>
#include <QTextStream>

#include <gtest/gtest.h>

#include <cmath>

using namespace orbiter;

namespace {

struct Row
{
    double minutes;
    Vec3 r;
    Vec3 v;
};

struct Case
{
    QString line1;
    QString line2;
    double start = 0, stop = 0, step = 0;
    QList<Row> rows;
};

QString verificationFolder()
{
    const QString overridden = qEnvironmentVariable("KESTREL_SGP4_VERIFICATION");
    return overridden.isEmpty() ? QStringLiteral(KESTREL_SGP4_VERIFICATION_DIR) : overridden;
}

bool readCases(QList<Case> *cases, QString *why)
{
    const QString folder = verificationFolder();
    QFile tle(folder + QStringLiteral("/SGP4-VER.TLE"));
    QFile out(folder + QStringLiteral("/tcppver.out"));
    if (folder.isEmpty() || !tle.open(QIODevice::ReadOnly) || !out.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("the SGP4 verification set is not here (looked in \"%1\"; "
                              "set KESTREL_SGP4_VERIFICATION to its folder)").arg(folder);
        return false;
    }
    QStringList lines;
    for (const QString &line : QString::fromLatin1(tle.readAll()).split(u'\n'))
        if (!line.startsWith(u'#') && !line.trimmed().isEmpty())
            lines << QString(line).remove(u'\r');
    for (qsizetype i = 0; i + 1 < lines.size(); i += 2) {
        Case c;
        c.line1 = lines[i];
        c.line2 = lines[i + 1].left(69);
        const QStringList range = lines[i + 1].mid(69).split(u' ', Qt::SkipEmptyParts);
        if (range.size() != 3)
            continue;
        c.start = range[0].toDouble();
        c.stop = range[1].toDouble();
        c.step = range[2].toDouble();
        cases->append(c);
    }
    qsizetype index = -1;
    for (const QString &line : QString::fromLatin1(out.readAll()).split(u'\n')) {
        const QStringList f = line.split(u' ', Qt::SkipEmptyParts);
        if (f.size() == 2 && f[1] == QLatin1String("xx")) {
            ++index;
        } else if (f.size() >= 7 && index >= 0 && index < cases->size()) {
            (*cases)[index].rows.append({f[0].toDouble(),
                                         {f[1].toDouble(), f[2].toDouble(), f[3].toDouble()},
                                         {f[4].toDouble(), f[5].toDouble(), f[6].toDouble()}});
        }
    }
    if (index + 1 != cases->size()) {
        *why = QStringLiteral("the element file and the reference output list different cases");
        return false;
    }
    return true;
}

// The times the reference run asked for after the epoch row: start, then
// steps, with the last one moved onto the stop time.
QList<double> runTimes(const Case &c)
{
    QList<double> times;
    for (double t = c.start;; t += c.step) {
        if (t >= c.stop - 1e-9) {
            times << c.stop;
            break;
        }
        times << t;
    }
    return times;
}

// What the model reports where the reference run stopped early.
const QMap<long, Sgp4Error> kStoppedBy = {
    {22312, Sgp4Error::MeanEccentricity}, {28350, Sgp4Error::MeanEccentricity},
    {28872, Sgp4Error::Decayed},          {29141, Sgp4Error::Decayed},
    {33333, Sgp4Error::SemiLatusRectum},  {33334, Sgp4Error::PerturbedEccentricity},
    {20413, Sgp4Error::Decayed},
};

// The low-inclination case whose node crosses zero: the one case where the
// publisher's mode and the improved mode part (by up to a kilometre).
constexpr long kModeSensitive = 23599;

struct Outcome
{
    int rows = 0;
    int errors = 0;
    double worstPosition = 0;
    double worstVelocity = 0;
};

Outcome runCases(const QList<Case> &cases, Sgp4Mode mode)
{
    Outcome o;
    for (const Case &c : cases) {
        ElementSet elements;
        std::string error;
        EXPECT_TRUE(parseElementSet(c.line1.toStdString(), c.line2.toStdString(), elements, &error))
            << c.line1.toStdString() << ": " << error;
        SCOPED_TRACE(elements.catalogueNumber);
        if (mode == Sgp4Mode::Afspc && elements.catalogueNumber == kModeSensitive)
            continue;
        Sgp4 model;
        const Sgp4Error atEpoch = model.init(elements, mode);
        EXPECT_FALSE(c.rows.isEmpty());

        if (atEpoch != Sgp4Error::None) {
            // The reference prints a leftover state when the epoch fails.
            EXPECT_EQ(atEpoch, kStoppedBy.value(elements.catalogueNumber, Sgp4Error::None));
            ++o.errors;
            continue;
        }
        for (const Row &row : c.rows) {
            Vec3 r, v;
            const Sgp4Error e = model.propagate(row.minutes, r, v);
            EXPECT_EQ(e, Sgp4Error::None) << "at " << row.minutes << " min";
            const double dr = (r - row.r).norm();
            const double dv = (v - row.v).norm();
            o.worstPosition = std::max(o.worstPosition, dr);
            o.worstVelocity = std::max(o.worstVelocity, dv);
            EXPECT_LT(dr, 1e-3) << "position at " << row.minutes << " min";
            EXPECT_LT(dv, 1e-6) << "velocity at " << row.minutes << " min";
            ++o.rows;
        }
        const double last = c.rows.last().minutes;
        if (std::fabs(last - c.stop) > 1e-6) {
            // The first time of the run past the last printed row must fail.
            const QList<double> times = runTimes(c);
            const auto next = std::find_if(times.begin(), times.end(), [last](double t) { return t > last + 1e-6; });
            EXPECT_NE(next, times.end());
            if (next == times.end())
                continue;
            Vec3 r, v;
            EXPECT_EQ(model.propagate(*next, r, v), kStoppedBy.value(elements.catalogueNumber, Sgp4Error::None))
                << "at " << *next << " min";
            ++o.errors;
        }
    }
    return o;
}

} // namespace

// The reference output was made in the improved mode: every case, every row.
TEST(Sgp4Verification, ImprovedModeMatchesEveryReferenceRowWithinOneMetreAndOneMillimetrePerSecond)
{
    QList<Case> cases;
    QString why;
    if (!readCases(&cases, &why))
        GTEST_SKIP() << why.toStdString();
    ASSERT_EQ(cases.size(), 33);
    const Outcome o = runCases(cases, Sgp4Mode::Improved);
    EXPECT_EQ(o.errors, 7);
    EXPECT_GT(o.rows, 500);
    std::printf("checked %d rows: worst position %.3g mm, worst velocity %.3g mm/s\n", o.rows,
                o.worstPosition * 1e6, o.worstVelocity * 1e6);
}

// The mode the tracker runs in agrees with the same rows for every case but
// the one built to show where the modes part; that one is held to states of
// the publisher's mode below.
TEST(Sgp4Verification, PublisherModeMatchesTheReferenceWhereTheModesAgree)
{
    QList<Case> cases;
    QString why;
    if (!readCases(&cases, &why))
        GTEST_SKIP() << why.toStdString();
    const Outcome o = runCases(cases, Sgp4Mode::Afspc);
    EXPECT_EQ(o.errors, 7);
    EXPECT_GT(o.rows, 480);
}

TEST(Sgp4Verification, PublisherModeKeepsTheNodeInRangeForLowInclinations)
{
    ElementSet elements;
    ASSERT_TRUE(parseElementSet("1 23599U 95029B   06171.76535463  .00085586  12891-6  12956-2 0  2905",
                                "2 23599   6.9327   0.2849 5782022 274.4436  25.2425  4.47796565123555",
                                elements));
    Sgp4 model;
    ASSERT_EQ(model.init(elements, Sgp4Mode::Afspc), Sgp4Error::None);
    const Row expected[] = {
        {0.0, {9892.63794341, 35.76144969, -1.08228838}, {3.556643237, 6.456009375, 0.783610890}},
        {280.0, {-8672.55867753, -2827.56823315, -342.59644716}, {5.515079852, -5.551222962, -0.676360044}},
        {300.0, {1153.31498060, -6411.98692060, -779.87288941}, {9.689818102, 1.388598425, 0.167868798}},
        {420.0, {4083.18551180, 22910.88306802, 2786.35642660}, {-2.536610941, 1.383768875, 0.168165414}},
        {720.0, {7141.24742526, 20538.97115158, 2501.18059966}, {-2.293079623, 2.333598993, 0.282727441}},
    };
    for (const Row &row : expected) {
        Vec3 r, v;
        ASSERT_EQ(model.propagate(row.minutes, r, v), Sgp4Error::None);
        EXPECT_LT((r - row.r).norm(), 1e-3) << row.minutes;
        EXPECT_LT((v - row.v).norm(), 1e-6) << row.minutes;
    }
}

TEST(Sgp4Verification, DeepSpaceResultsDoNotDependOnTheOrderOfCalls)
{
    // The resonance integrator keeps where it stopped; asking for times out
    // of order must give the same state as asking for each one fresh.
    ElementSet elements;
    ASSERT_TRUE(parseElementSet("1 08195U 75081A   06176.33215444  .00000099  00000-0  11873-3 0   813",
                                "2 08195  64.1586 279.0717 6877146 264.7651  20.2257  2.00491383225656",
                                elements));
    Sgp4 walker;
    ASSERT_EQ(walker.init(elements), Sgp4Error::None);
    for (double t : {2880.0, -1500.0, 700.0, 10000.0, 5.0, -20000.0, 2880.0}) {
        Sgp4 fresh;
        fresh.init(elements);
        Vec3 r1, v1, r2, v2;
        ASSERT_EQ(walker.propagate(t, r1, v1), Sgp4Error::None);
        ASSERT_EQ(fresh.propagate(t, r2, v2), Sgp4Error::None);
        EXPECT_EQ(r1.x, r2.x) << t;
        EXPECT_EQ(r1.y, r2.y) << t;
        EXPECT_EQ(v1.z, v2.z) << t;
    }
}
