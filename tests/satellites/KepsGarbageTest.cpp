// Element files from outside are hostile: whatever they hold, reading them
// ends, keeps only sets whose lines carry good check digits, and the model
// refuses what it cannot use without crashing.
#include "orbiter/ElementLine.h"
#include "orbiter/ElementSet.h"
#include "orbiter/Sgp4.h"
#include "satellites/KepsFile.h"

#include "TestOrbits.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

QByteArray garbage(QRandomGenerator &random, int size)
{
    // Mostly what element lines are made of, so many items get far.
    static const char alphabet[] = "0123456789 . .-+\r\n\n,\"12 UABC";
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes += random.bounded(5) == 0 ? char(random.bounded(256)) : alphabet[random.bounded(int(sizeof alphabet - 1))];
    return bytes;
}

// A real set with one character changed: still line-shaped, often still
// passing its check digit.
QByteArray mutated(QRandomGenerator &random)
{
    const auto [l1, l2] = testorbits::lines(random.bounded(2) ? testorbits::kMolniya : testorbits::kStation);
    QByteArray text = "SAT\n" + QByteArray::fromStdString(l1) + "\n" + QByteArray::fromStdString(l2) + "\n";
    for (int k = 0; k < 1 + int(random.bounded(3)); ++k)
        text[int(random.bounded(text.size()))] = "0123456789-+. E"[random.bounded(15)];
    return text;
}

// Good sets without name lines, or named in bytes of any encoding, with a
// byte-order mark now and then.
QByteArray twoLineOrMixedNames(QRandomGenerator &random, int sets, QList<QByteArray> *names)
{
    const testorbits::Elements kinds[] = {testorbits::kStation, testorbits::kWeather, testorbits::kMolniya,
                                          testorbits::kGeostationary};
    QByteArray text = random.bounded(4) == 0 ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    for (int i = 0; i < sets; ++i) {
        testorbits::Elements e = kinds[random.bounded(4)];
        e.catalogue = 10000 + i;
        QByteArray name;
        if (random.bounded(3) != 0)
            for (int k = 1 + int(random.bounded(12)); k > 0; --k)
                name += random.bounded(3) == 0 ? char(0x80 + random.bounded(128)) : char('A' + random.bounded(26));
        // A name is an item: it cannot begin with a blank or hold a comma or a line end.
        names->append(name);
        const auto [l1, l2] = testorbits::lines(e);
        text += (name.isEmpty() ? QByteArray() : name + "\r\n") + QByteArray::fromStdString(l1) + "\n"
                + QByteArray::fromStdString(l2) + "\r\n";
    }
    return text;
}

} // namespace

TEST(KepsGarbage, TwoLineFilesAndNamesInAnyEncodingLoseOnlyWhatIsDamaged)
{
    QRandomGenerator random(2026);
    for (int round = 0; round < 200; ++round) {
        QList<QByteArray> names;
        const int count = 1 + int(random.bounded(20));
        QByteArray text = twoLineOrMixedNames(random, count, &names);
        const KepsReadResult whole = readKeps(text);
        ASSERT_EQ(whole.sets.size(), count) << text.toStdString();
        EXPECT_TRUE(whole.rejected.isEmpty());
        for (int i = 0; i < count; ++i) {
            const QString name = whole.sets[i].name;
            if (names[i].isEmpty())
                EXPECT_EQ(name, QString::number(10000 + i));
            else
                EXPECT_TRUE(name == QString::fromUtf8(names[i]) || name == QString::fromLatin1(names[i]))
                    << names[i].toHex().toStdString();
        }

        // Without one of its element lines a set is named as rejected and
        // none of the others is lost.
        QList<QByteArray> lines = text.split('\n');
        QList<int> elementLines;
        for (int i = 0; i < lines.size(); ++i)
            if (lines[i].startsWith("1 ") || lines[i].startsWith("2 "))
                elementLines << i;
        lines.removeAt(elementLines[int(random.bounded(elementLines.size()))]);
        const KepsReadResult cut = readKeps(lines.join('\n'));
        EXPECT_EQ(cut.sets.size(), count - 1);
        EXPECT_EQ(cut.rejected.size(), 1);
    }
}

TEST(KepsGarbage, RandomAndDamagedFilesNeitherCrashNorHangNorLetBadLinesThrough)
{
    QRandomGenerator random(1957);
    QElapsedTimer clock;
    clock.start();
    for (int round = 0; round < 400; ++round) {
        const QByteArray bytes = round % 2 ? garbage(random, int(random.bounded(4000))) : mutated(random);
        const KepsReadResult read = readKeps(bytes);
        EXPECT_LE(read.sets.size(), ElementTable::Capacity);
        for (const KepsElementSet &set : read.sets) {
            EXPECT_FALSE(set.name.isEmpty() || set.name.contains(u'\n') || set.name.contains(u'\r'));
            EXPECT_TRUE(ElementLine::checked(set.line1.toStdString()));
            EXPECT_TRUE(ElementLine::checked(set.line2.toStdString()));
            orbiter::ElementSet elements;
            if (orbiter::parseElementSet(set.line1.toLatin1().toStdString(), set.line2.toLatin1().toStdString(),
                                         elements)) {
                orbiter::Sgp4 model;
                model.init(elements);
                orbiter::Vec3 r, v;
                for (double t : {0.0, 90.0, 1440.0, -3000.0})
                    (void)model.propagate(t, r, v);
            }
        }
        (void)kepsDated(QString::fromLatin1(bytes.left(40)));
    }
    // A long file of commas and quotes is one pass, not a crawl.
    const QByteArray commas(2'000'000, ',');
    EXPECT_TRUE(readKeps(commas + "\"" + commas).sets.isEmpty());
    EXPECT_LT(clock.elapsed(), 20000);
}
