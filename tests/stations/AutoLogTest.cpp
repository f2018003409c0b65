#include "StationListFixture.h"

#include "ProcessZone.h"

#include "core/LoadingDialog.h"
#include "stations/AutoLog.h"
#include "stations/StationListModel.h"

#include <QFile>
#include <QPushButton>

using Col = StationListModel::Column;

namespace {
QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}
} // namespace

TEST(AutoLogName, DateThenCallsign)
{
    EXPECT_EQ(AutoLog::defaultName(QDate(2026, 12, 6), QStringLiteral("N0CALL")), "20261206N0CALL.txt");
    EXPECT_EQ(AutoLog::defaultName(QDate(2026, 12, 6), QStringLiteral("N0CALL-9")), "20261206N0CALL-9.txt");
    // A callsign is text from the air: it can name no other folder.
    EXPECT_EQ(AutoLog::defaultName(QDate(2026, 12, 6), QStringLiteral("../../.bashrc")), "20261206_______bashrc.txt");
    EXPECT_EQ(AutoLog::defaultName(QDate(2026, 12, 6), QStringLiteral("A/B\\C D")), "20261206A_B_C_D.txt");
}

TEST_F(StationListTest, OnlyALogTheProgramStartedIsEverAppendedTo)
{
    HostStationRecord record = known(QStringLiteral("N0CALL"));
    const QString stranger = dirs.data() + QStringLiteral("/stranger.txt");
    EXPECT_FALSE(AutoLog::UpdateLogFile(record, stranger));
    EXPECT_FALSE(QFile::exists(stranger));
    const QString started = dirs.data() + QStringLiteral("/LogFiles/started.txt");
    ASSERT_TRUE(AutoLog::start(started, clock.time));
    EXPECT_TRUE(AutoLog::UpdateLogFile(record, started));
    EXPECT_TRUE(readAll(started).contains(QStringLiteral("N0CALL>")));
}

TEST_F(StationListTest, CheckingARowProposesTheDefaultLogAndWritesTheFirstLine)
{
    known(QStringLiteral("N0CALL")).information = QStringLiteral(">hello");
    makeList();
    hear(QStringLiteral("N0CALL"));
    const QString path = dirs.data() + QStringLiteral("/LogFiles/chosen.txt");
    prompts.fileAnswers.enqueue(path);
    list->model().setData(list->model().index(0, 0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(prompts.fileTitles, QStringList{"Select Log File"});
    EXPECT_EQ(cell(0, Col::LogFile), path);
    EXPECT_EQ(readAll(path), "2026-12-06 12:29:00 START LOCAL TIME\r\n");

    hear(QStringLiteral("N0CALL"));
    EXPECT_EQ(readAll(path), "2026-12-06 12:29:00 START LOCAL TIME\r\n"
                             "2026-12-06 12:29:00 N0CALL>APRS,N0GATE*,WIDE2-1 Port=1 <UI C Len=56>:\r\n"
                             ">hello\r\n");

    // Unchecking stops it; checking again appends without a second first line.
    list->model().setData(list->model().index(0, 0), Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_EQ(cell(0, Col::LogFile), "");
    prompts.fileAnswers.enqueue(path);
    list->model().setData(list->model().index(0, 0), Qt::Checked, Qt::CheckStateRole);
    hear(QStringLiteral("N0CALL"));
    EXPECT_EQ(readAll(path).count(QStringLiteral("START LOCAL TIME")), 1);
    EXPECT_EQ(readAll(path).count(QStringLiteral(">hello")), 2);
}

// The host's time is a wall-clock reading: in the hour a spring-forward skips
// it is still written as a stamp, not as the host's own text.
TEST_F(StationListTest, HostTimeInTheHourClocksSkipIsWrittenAsAStamp)
{
    ProcessZone london("Europe/London");
    HostStationRecord &station = known(QStringLiteral("N0CALL"));
    station.timeHeard = QStringLiteral("29/03/2026 01:30:00");
    const QString path = dirs.data() + QStringLiteral("/LogFiles/spring.txt");
    ASSERT_TRUE(AutoLog::start(path, clock.time));
    ASSERT_TRUE(AutoLog::UpdateLogFile(station, path));
    EXPECT_TRUE(readAll(path).contains(QStringLiteral("\r\n2026-03-29 01:30:00 N0CALL>"))) << readAll(path).toStdString();
}

TEST_F(StationListTest, EntryBeyondLatin1IsLoggedInUtf8)
{
    HostStationRecord &station = known(QStringLiteral("N0CALL"));
    station.information = QStringLiteral(">\u041F\u0440\u0438\u0432\u0435\u0442");
    const QString path = dirs.data() + QStringLiteral("/LogFiles/utf8.txt");
    ASSERT_TRUE(AutoLog::start(path, clock.time));
    ASSERT_TRUE(AutoLog::UpdateLogFile(station, path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().endsWith("\r\n" + station.information.toUtf8() + "\r\n"));
}

TEST_F(StationListTest, CancelledLogDialogUnchecksTheRow)
{
    known(QStringLiteral("N0CALL"));
    makeList();
    hear(QStringLiteral("N0CALL"));
    list->model().setData(list->model().index(0, 0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_FALSE(list->model().row(0).checked);
    EXPECT_EQ(cell(0, Col::LogFile), "");
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(StationListTest, NoHostTimeWritesNoEntry)
{
    known(QStringLiteral("N0CALL")).timeHeard.clear();
    makeList();
    hear(QStringLiteral("N0CALL"));
    const QString path = dirs.data() + QStringLiteral("/LogFiles/n.txt");
    prompts.fileAnswers.enqueue(path);
    list->model().setData(list->model().index(0, 0), Qt::Checked, Qt::CheckStateRole);
    hear(QStringLiteral("N0CALL"));
    EXPECT_EQ(readAll(path), "2026-12-06 12:29:00 START LOCAL TIME\r\n");
}

TEST_F(StationListTest, AutoRecordStartsTheDefaultLogWithoutADialogOnlyWhenRecording)
{
    known(QStringLiteral("N0AUTO"));
    known(QStringLiteral("N0IDLE"));
    shared().autoRecords.add(cAutoRecord{QStringLiteral("N0AUTO"), true});
    shared().autoRecords.add(cAutoRecord{QStringLiteral("N0IDLE"), false});
    makeList();
    hear(QStringLiteral("N0AUTO"));
    hear(QStringLiteral("N0IDLE"));
    const QString expected = dirs.data() + QStringLiteral("/LogFiles/20261206N0AUTO.txt");
    EXPECT_EQ(cell(0, Col::LogFile), expected);
    EXPECT_TRUE(list->model().row(0).checked);
    EXPECT_TRUE(readAll(expected).startsWith("2026-12-06 12:29:00 START LOCAL TIME\r\n2026-12-06 12:29:00 N0AUTO>"));
    EXPECT_EQ(cell(1, Col::LogFile), "");
    EXPECT_FALSE(list->model().row(1).checked);
    EXPECT_TRUE(prompts.fileTitles.isEmpty());
    EXPECT_FALSE(frmDocument::automaticMark);
}

TEST_F(StationListTest, ALogThatCannotBeAppendedSkipsTheEntryAndTheRowStillUpdates)
{
    known(QStringLiteral("N0CALL"));
    makeList();
    hear(QStringLiteral("N0CALL"));
    const QString path = dirs.data() + QStringLiteral("/LogFiles/gone.txt");
    prompts.fileAnswers.enqueue(path);
    list->model().setData(list->model().index(0, 0), Qt::Checked, Qt::CheckStateRole);
    QFile::remove(path);
    QDir().mkpath(path);  // a folder where the file was: appending fails
    hear(QStringLiteral("N0CALL"));
    EXPECT_EQ(cell(0, Col::Hrd), "2");
    EXPECT_EQ(list->windowTitle(), "Station List (1 Stations)");
}

TEST_F(StationListTest, PreloadStripsMarksAndCancelEmptiesTheList)
{
    known(QStringLiteral("N0CALL-9"));
    known(QStringLiteral("G1ABC"));
    host.stationLines = QStringList{QStringLiteral("   +N0CALL-9* 51.30.00N 000.07.50W"),
                                    QStringLiteral("-G1ABC 12:00"), QStringLiteral("UNKNOWN x")};
    config().preload = true;
    makeList();
    ASSERT_EQ(list->model().count(), 2);
    EXPECT_EQ(cell(0, Col::Station), "N0CALL-9");
    EXPECT_EQ(cell(1, Col::Station), "G1ABC");

    frmDocument::preloadObserver = [](LoadingDialog &dialog, int i) {
        EXPECT_EQ(dialog.windowTitle(), "Preloading station list from UI-View 32");
        if (i == 1)
            dialog.cancelButton()->click();
    };
    makeList();
    frmDocument::preloadObserver = nullptr;
    EXPECT_EQ(list->model().count(), 0);
}
