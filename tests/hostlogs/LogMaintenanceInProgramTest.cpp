// Log maintenance from the real main window's toolbar, on the logs the
// embedded host and the station list wrote while hearing demo traffic.
#include "DemoProgram.h"

#include "hostlogs/frmLogDetails.h"
#include "hostlogs/frmLogMaintenance.h"

#include <QTest>
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QListWidget>
#include <QPushButton>

namespace {

class LogMaintenanceInProgram : public DemoProgramTest
{
protected:
    void SetUp() override
    {
        // The station list logs this station by itself.
        store.values[MemorySettingsStore::id("Kestrel", "AutoLog", "AutoLog1")] = QStringLiteral("G4KDA");
        DemoProgramTest::SetUp();
    }
    static QStringList lines(QListWidget *list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
};

} // namespace

TEST_F(LogMaintenanceInProgram, BothLogsAreListedSummarisedAndMoved)
{
    const int heard = 150;
    ASSERT_EQ(play(heard), heard);
    // What the summary must say: each source callsign, in order of first appearance.
    QStringList order;
    QHash<QString, int> counts;
    const QStringList frames = demoTraffic().mid(0, heard);
    for (const QString &frame : frames) {
        const QString call = frame.section(u'>', 0, 0);
        if (!counts.contains(call))
            order << call;
        ++counts[call];
    }

    main->tool("ID_LogMaintenance")->trigger();
    auto *dialog = main->findChild<frmLogMaintenance *>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->isModal());

    // The host's own monitor log, in the destination list.
    const QString today = QDate::currentDate().toString("yyyyMMdd");
    ASSERT_EQ(lines(dialog->flDest), QStringList({today + ".log"}));
    dialog->flDest->setCurrentRow(0);
    dialog->findChild<QPushButton *>("cmdDestDetails")->click();
    auto *details = dialog->findChild<frmLogDetails *>();
    ASSERT_NE(details, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !details->reading(); }));
    ASSERT_TRUE(prompts.shown.isEmpty()) << prompts.texts().join(u'\n').toStdString();
    const QStringList tally = details->stationLines();
    ASSERT_EQ(tally.size(), order.size() + 1);
    for (int i = 0; i < order.size(); ++i) {
        EXPECT_EQ(tally[i + 1].left(13).trimmed(), order[i]) << i;
        EXPECT_EQ(tally[i + 1].mid(13).trimmed().toInt(), counts[order[i]]) << order[i].toStdString();
    }
    details->cmdOK->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // The station list's auto log, in the source list: also a valid log.
    const QString autoLog = clock.time.toString("yyyyMMdd") + "G4KDA.txt";  // named by Kestrel's own clock
    ASSERT_EQ(lines(dialog->flSource), QStringList({autoLog}));
    dialog->flSource->setCurrentRow(0);
    dialog->findChild<QPushButton *>("cmdSourceDetails")->click();
    details = dialog->findChild<frmLogDetails *>();
    ASSERT_NE(details, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !details->reading(); }));
    ASSERT_TRUE(prompts.shown.isEmpty()) << prompts.texts().join(u'\n').toStdString();
    EXPECT_EQ(details->stationLines().mid(1), QStringList({QStringLiteral("G4KDA").leftJustified(13)
                                                              + QString::number(counts["G4KDA"]).rightJustified(4)}));
    details->cmdOK->click();

    // Moved across: only at the destination afterwards.
    dialog->chkMoveFiles->setChecked(true);
    dialog->cmdMove[1]->click();
    EXPECT_TRUE(lines(dialog->flSource).isEmpty());
    EXPECT_EQ(lines(dialog->flDest), QStringList({autoLog, today + ".log"}));
    EXPECT_TRUE(QFile::exists(hostFolder + "/Logs/" + autoLog));
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.texts().join(u'\n').toStdString();
    dialog->cmdOK->click();
    EXPECT_FALSE(dialog->isVisible());
}
