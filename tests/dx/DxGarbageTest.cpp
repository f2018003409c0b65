// Random and hostile text through every DX parser and the window's intake:
// nothing may crash or hang, and what the program writes reads back whole.
#include "DxWindowFixture.h"

#include "dx/DxListFile.h"
#include "dx/DxSpotText.h"

#include <QRandomGenerator>

namespace {

QString randomText(QRandomGenerator &random, int maxLength, const QString &alphabet = {})
{
    const int length = int(random.bounded(maxLength + 1));
    QString text;
    text.reserve(length);
    for (int i = 0; i < length; ++i)
        text += alphabet.isEmpty() ? QChar(ushort(random.bounded(256))) : alphabet[random.bounded(alphabet.size())];
    return text;
}

const QString Structural = QStringLiteral("0123456789 .:;,|-'>A0ZSEGKMde\r\n\t");

} // namespace

TEST(DxGarbage, BandAndPrefixFilesAndDxLists)
{
    QRandomGenerator random(7);
    BandTable bands;
    for (int i = 0; i < 3000; ++i) {
        const QString text = randomText(random, 200, i % 2 ? Structural : QString());
        QStringList problems;
        const QList<BandDetail> parsed = BandTable::parse(text.toLatin1(), &problems);
        EXPECT_LE(parsed.size(), BandTable::Capacity);
        EXPECT_EQ(BandTable::parse(BandTable::format(parsed)).size(), parsed.size());
        bands.setBands(parsed);
        bands.GetBand(text);

        DxMonitor monitor(bands);
        monitor.addPrefixText(text, i % 3 == 0);
        monitor.notifyingCountry(text.left(10));
        EXPECT_LE(monitor.prefixIndex().size(), PrefixIndex::Capacity);

        int skipped = 0;
        DxListFile::parse(text.toLatin1(), &skipped);
    }
    // A range over every character code is not expanded.
    BandTable none;
    DxMonitor monitor(none);
    monitor.addPrefixText(QString(QChar(1)) + u'-' + QChar(0xFF) + QStringLiteral(":X:a:b:c:d:e:f"), true);
    EXPECT_EQ(monitor.prefixIndex().size(), 1);
}

TEST_F(DxWindowTest, HostileSpotsAreFiledOrIgnoredAndTheListStillSavesWhole)
{
    config().dxAllCalls = true;
    config().dxNotify = true;
    open();
    bandTable().setBands({{-2147483647 - 1, 2147483647, "All"}});
    tabs().setCurrentIndex(tab("Notified DX"));
    QRandomGenerator random(11);
    for (int i = 0; i < 3000; ++i) {
        const QString text = randomText(random, 120, i % 2 ? Structural : QString());
        const QString call = randomText(random, 14, i % 3 ? QStringLiteral("AEGKZS0123/|") : QString());
        dx->AddDxSpot(text, call, randomText(random, 10, Structural), qint16(random.bounded(-32768, 32768)),
                      qint16(random.bounded(-32768, 32768)), qint16(random.bounded(-32768, 32768)),
                      qint16(random.bounded(-32768, 32768)));
        if (i % 500 == 0)
            settle();
    }
    EXPECT_GT(dx->monitor().spots().count(), 100);
    EXPECT_TRUE(prompts.shown.isEmpty());

    prompts.fileAnswers.enqueue(dirs.data() + "/garbage.ked");
    dx->SaveDxList();
    QList<QStringList> rows;
    int skipped = -1;
    ASSERT_TRUE(DxListFile::read(dirs.data() + "/garbage.ked", &rows, &skipped, nullptr));
    EXPECT_EQ(skipped, 0);
    EXPECT_EQ(rows.size(), dx->monitor().spots().count());

    clock.time = clock.time.addDays(1);
    dx->Timer1_Timer();
    EXPECT_EQ(dx->monitor().spots().count(), 0);
}
