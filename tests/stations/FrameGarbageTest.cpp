#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "FakeHost.h"
#include "ScriptedPorts.h"
#include "core/WindowRegistry.h"
#include "stations/FrameIntake.h"
#include "stations/WeatherStorePort.h"
#include "stations/frmIncoming.h"
#include "stations/subFunctions.h"

namespace {

// Bytes as the link delivers them, read as Latin-1.
QString randomText(QRandomGenerator &random, int maxLength, const QByteArray &alphabet = {})
{
    const int length = int(random.bounded(maxLength + 1));
    QByteArray bytes(length, '\0');
    for (char &b : bytes)
        b = alphabet.isEmpty() ? char(random.bounded(256))
                               : alphabet.at(int(random.bounded(int(alphabet.size()))));
    return QString::fromLatin1(bytes);
}

} // namespace

// Whatever arrives, the intake and the terminal neither crash nor hang, and a
// frame that is not dropped always names a source and logs at least one entry.
TEST(FrameGarbage, RandomAndMangledTextsAreHandledOrDropped)
{
    QRandomGenerator random(20261207);
    FixedClock clock(QDateTime(QDate(2026, 12, 7), QTime(23, 59)));
    FakeHostApplication host;
    RecordingWeatherStore store(10);
    frmIncoming terminal;
    FrameIntake intake(host);
    intake.setTerminal(&terminal);
    intake.setWeatherStore(&store);

    const QByteArray aprsy = QByteArrayLiteral("N0CALL>:,_@=~!/<UI 0123456789\r\n\0\xFD");
    const QString sample = QStringLiteral(
        "N0CALL>APZ031,CLRMRE*,WIDE3-2:\r\n@291229z3614.79N/09549.68W_91/000g000t056\r\n");

    qsizetype lastShown = 0;
    for (int i = 0; i < 20000; ++i) {
        QString text;
        switch (i % 3) {
        case 0: text = randomText(random, 300); break;
        case 1: text = randomText(random, 80, aprsy); break;
        default: {
            text = sample;
            const int cuts = int(random.bounded(4));
            for (int c = 0; c < cuts && !text.isEmpty(); ++c)
                text.remove(int(random.bounded(int(text.size()))), int(random.bounded(10)));
            text.insert(int(random.bounded(int(text.size()) + 1)), randomText(random, 6, aprsy));
        }
        }
        intake.receive(text);
        const FrameDecode &f = intake.lastFrame();
        if (!f.dropped) {
            lastShown = f.received.size();
            ASSERT_FALSE(f.source.isEmpty()) << text.toStdString();
            ASSERT_FALSE(f.events.isEmpty());
            ASSERT_TRUE(f.canonical.endsWith("\r\n"));
            ASSERT_EQ(f.rule == ReportTimeRule::None, !f.reportTime.isValid());
        } else {
            ASSERT_FALSE(f.dropReason.isEmpty());
        }
        GetPathFromHeader(text);
        GetDxCallsign(text);
        ASSERT_LE(terminal.text().size(), frmIncoming::MaxCharacters + lastShown);
    }
    EXPECT_GT(intake.framesDropped(), 0u);
    EXPECT_LT(intake.framesDropped(), intake.framesReceived());
}
