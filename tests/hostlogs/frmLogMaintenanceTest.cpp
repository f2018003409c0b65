#include "core/Configuration.h"
#include "core/Utilities.h"
#include "hostlogs/frmLogDetails.h"
#include "hostlogs/frmLogMaintenance.h"

#include "ProcessZone.h"
#include "ScriptedPorts.h"
#include "TempDirs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QByteArray kLog = "2026-07-01 10:00:00 START LOCAL TIME\r\n"
                        "2026-07-01 10:00:02 G4KDA>APKS01,WIDE2-1:!5145.67N\r\n"
                        "2026-07-01 10:07:40 G0KST>APRS:>hello\r\n"
                        "2026-07-01 10:05:00 G4KDA>APRS:>again\r\n";

class LogMaintenanceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The trash of a throw-away home, not the user's.
        oldDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
        config() = Configuration{};
        config().hostFolder = dirs.data() + "/a rather long folder name for the host program";
        source = GetDataFolder() + "/LogFiles";
        destination = config().hostFolder + "/Logs";
        QDir().mkpath(source);
        QDir().mkpath(destination);
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", oldDataHome); }

    void write(const QString &path, const QByteArray &bytes = kLog)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QStringList names(QListWidget *list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    static void select(QListWidget *list, const QString &name)
    {
        const auto found = list->findItems(name, Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty()) << name.toStdString();
        list->setCurrentItem(found.first());
    }

    QTemporaryDir home;
    QByteArray oldDataHome;
    TempDirs dirs;
    ScriptedPrompts prompts;
    QString source, destination;
};

} // namespace

TEST_F(LogMaintenanceTest, OpensOnBothLogFoldersShortenedToForty)
{
    write(source + "/20260701N0CALL.txt");
    write(destination + "/20260701.log");
    frmLogMaintenance dialog;
    EXPECT_EQ(dialog.windowTitle(), "Log File Maintenance");
    EXPECT_EQ(dialog.folder(frmLogMaintenance::Source), source);
    EXPECT_EQ(dialog.folder(frmLogMaintenance::Destination), destination);
    EXPECT_EQ(dialog.txtDestDir->text(), LongDirFix(destination, 40));
    EXPECT_LE(dialog.txtDestDir->text().size(), 40);
    EXPECT_EQ(dialog.txtDestDir->toolTip(), destination);
    EXPECT_EQ(names(dialog.flSource), QStringList({"20260701N0CALL.txt"}));
    EXPECT_EQ(names(dialog.flDest), QStringList({"20260701.log"}));
    QStringList captions;
    for (QPushButton *button : dialog.cmdMove)
        captions << button->text();
    EXPECT_EQ(captions, QStringList({"<", ">", "<<", ">>"}));

    prompts.fileAnswers.enqueue(dirs.data());
    dialog.cmdBrowse_Click(frmLogMaintenance::Destination);
    EXPECT_EQ(prompts.fileTitles.last(), "Select Destination Log Folder");
    EXPECT_EQ(dialog.folder(frmLogMaintenance::Destination), dirs.data());
    dialog.cmdBrowse_Click(frmLogMaintenance::Source);  // cancelled: unchanged
    EXPECT_EQ(prompts.fileTitles.last(), "Select Source Log Folder");
    EXPECT_EQ(dialog.folder(frmLogMaintenance::Source), source);
}

TEST_F(LogMaintenanceTest, ArrowsCopyOrMoveOneFileOrEveryFile)
{
    write(source + "/a.txt");
    write(source + "/b.txt");
    write(destination + "/x.log");
    frmLogMaintenance dialog;

    dialog.cmdMove_Click(1);  // nothing selected: nothing happens
    EXPECT_EQ(names(dialog.flDest), QStringList({"x.log"}));

    select(dialog.flSource, "a.txt");
    dialog.cmdMove[1]->click();  // ">" copies
    EXPECT_EQ(names(dialog.flDest), QStringList({"a.txt", "x.log"}));
    EXPECT_EQ(names(dialog.flSource), QStringList({"a.txt", "b.txt"}));

    dialog.chkMoveFiles->setChecked(true);
    select(dialog.flDest, "x.log");
    dialog.cmdMove[0]->click();  // "<" moves back the other way
    EXPECT_EQ(names(dialog.flSource), QStringList({"a.txt", "b.txt", "x.log"}));
    EXPECT_EQ(names(dialog.flDest), QStringList({"a.txt"}));

    dialog.cmdMove[3]->click();  // ">>" moves every source file
    EXPECT_TRUE(names(dialog.flSource).isEmpty());
    EXPECT_EQ(names(dialog.flDest), QStringList({"a.txt", "b.txt", "x.log"}));
    EXPECT_TRUE(prompts.shown.isEmpty());

    dialog.chkMoveFiles->setChecked(false);
    dialog.cmdMove[2]->click();  // "<<" copies every destination file
    EXPECT_EQ(names(dialog.flSource), QStringList({"a.txt", "b.txt", "x.log"}));
    EXPECT_EQ(names(dialog.flDest), QStringList({"a.txt", "b.txt", "x.log"}));
}

// Between files a transfer lets events through (its progress window stays
// live): closing the window then, or starting another transfer, must wait for
// the file in hand instead of pulling the window from under the loop.
TEST_F(LogMaintenanceTest, ClosingDuringAMoveStopsAfterTheFileInHandThenCloses)
{
    for (const char *name : {"a.log", "b.log", "c.log"})
        write(destination + "/" + name);
    auto *dialog = new frmLogMaintenance;
    dialog->setAttribute(Qt::WA_DeleteOnClose, true);
    dialog->show();
    QPointer<frmLogMaintenance> alive(dialog);
    dialog->chkMoveFiles->setChecked(true);

    int closes = 0;
    QTimer poke;
    QObject::connect(&poke, &QTimer::timeout, [&] {
        if (!alive)
            return;
        alive->cmdMove[2]->click();  // a second "<<" meanwhile does nothing
        alive->reject();             // Esc
        ++closes;
        poke.stop();
    });
    poke.start(0);
    dialog->cmdMove[2]->click();

    EXPECT_EQ(closes, 1);
    QTest::qWait(50);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull()) << "the window closes once the move has stopped";
    const QStringList moved = QDir(source).entryList(QDir::Files);
    const QStringList left = QDir(destination).entryList(QDir::Files);
    EXPECT_EQ(moved.size() + left.size(), 3) << "no file lost or doubled";
    EXPECT_FALSE(left.isEmpty()) << "the move stopped early";
}

// A busy host's log is hundreds of megabytes: while one is copied the rest
// of the program goes on (here a timer keeps firing), and the copy is whole.
TEST_F(LogMaintenanceTest, CopyingABigLogLetsTheProgramGoOn)
{
    QByteArray big;
    while (big.size() < 24 * 1024 * 1024)
        big += kLog;
    write(source + "/big.log", big);
    frmLogMaintenance dialog;
    dialog.show();
    select(dialog.flSource, "big.log");

    int ticks = 0;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&] { ++ticks; });
    beat.start(0);
    dialog.cmdMove[1]->click();  // ">"
    beat.stop();

    EXPECT_GT(ticks, 0) << "the event loop stood still for the whole copy";
    QFile copied(destination + "/big.log");
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_TRUE(copied.readAll() == big);
    EXPECT_TRUE(names(dialog.flDest).contains("big.log"));
}

// The program ending while every file is copied stops between files: the
// file in hand is finished, whole, and the rest are not copied meanwhile.
TEST_F(LogMaintenanceTest, TheProgramEndingDuringACopyOfEveryFileStopsBetweenFiles)
{
    QByteArray big;
    while (big.size() < 8 * 1024 * 1024)
        big += kLog;
    for (const char *name : {"a.log", "b.log", "c.log", "d.log"})
        write(source + "/" + name, big);
    frmLogMaintenance dialog;
    dialog.show();
    // The program ends every event loop (as its own quit does once the
    // windows agree to close) while its main loop runs and the copy goes.
    QTimer::singleShot(0, qApp, [&dialog] {
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        dialog.cmdMove[3]->click();  // ">>"
    });
    QCoreApplication::exec();

    const QStringList copied = QDir(destination).entryList(QDir::Files);
    EXPECT_LE(copied.size(), 2) << "copying went on after the quit";
    for (const QString &name : copied) {
        QFile file(destination + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll() == big) << name.toStdString();
    }
}

// What the lists draw as chosen is what ">" copies: on opening, a file is
// either not highlighted at all or really selected. Hidden files are logs too.
TEST_F(LogMaintenanceTest, OpensWithNothingChosenButWhatIsSelectedAndListsHiddenFiles)
{
    write(source + "/a.txt");
    write(source + "/.hidden.log");
    frmLogMaintenance dialog;
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.flSource->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(names(dialog.flSource), QStringList({".hidden.log", "a.txt"}));
    const QListWidgetItem *shown = dialog.flSource->currentItem();
    if (shown) {
        EXPECT_TRUE(shown->isSelected()) << "a file drawn as the current one must be selected";
    }
    const QStringList expected = shown ? QStringList({shown->text()}) : QStringList();
    dialog.cmdMove[1]->click();
    EXPECT_EQ(names(dialog.flDest), expected);

    // Moving through the list selects as it goes.
    QTest::keyClick(dialog.flSource, Qt::Key_End);
    ASSERT_NE(dialog.flSource->currentItem(), nullptr);
    EXPECT_TRUE(dialog.flSource->currentItem()->isSelected());
    dialog.cmdMove[1]->click();
    EXPECT_TRUE(names(dialog.flDest).contains("a.txt"));
}

// A file there that is newer than the one copied holds lines the copy lacks
// (the host's live log): the user is asked first. A link there is replaced,
// never written through.
TEST_F(LogMaintenanceTest, ACopyOverANewerFileAsksAndALinkIsNeverWrittenThrough)
{
    write(source + "/a.log", "old\r\n");
    write(destination + "/a.log", "newer, with the live lines\r\n");
    QFile older(source + "/a.log");
    ASSERT_TRUE(older.open(QIODevice::ReadWrite));
    ASSERT_TRUE(older.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    older.close();
    frmLogMaintenance dialog;
    select(dialog.flSource, "a.log");
    prompts.answers.enqueue(Prompts::Answer::No);
    dialog.cmdMove[1]->click();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].title, "Replace Newer File");
    EXPECT_EQ(prompts.shown[0].text, "a.log in " + destination
                                         + " is newer than the one being copied. Replace it?");
    EXPECT_EQ(prompts.shown[0].buttons, Prompts::Buttons::YesNo);
    QFile kept(destination + "/a.log");
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "newer, with the live lines\r\n");
    kept.close();
    prompts.answers.enqueue(Prompts::Answer::Yes);
    dialog.cmdMove[1]->click();
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "old\r\n");
    kept.close();

    // A link named like the file points elsewhere: what it points at stays as it was.
    const QString outside = dirs.data() + "/outside.txt";
    write(outside, "not a log\r\n");
    write(source + "/b.log", "log b\r\n");
    ASSERT_TRUE(QFile::link(outside, destination + "/b.log"));
    dialog.refreshLists();
    select(dialog.flSource, "b.log");
    dialog.cmdMove[1]->click();
    QFile target(outside);
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_EQ(target.readAll(), "not a log\r\n");
    EXPECT_FALSE(QFileInfo(destination + "/b.log").isSymLink());
    QFile copied(destination + "/b.log");
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), "log b\r\n");
}

TEST_F(LogMaintenanceTest, AMoveOntoItselfSaysWhyAndKeepsTheFile)
{
    write(source + "/a.txt");
    frmLogMaintenance dialog;
    dialog.setFolder(frmLogMaintenance::Destination, source);
    dialog.chkMoveFiles->setChecked(true);
    select(dialog.flSource, "a.txt");
    dialog.cmdMove_Click(1);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown.last().text.startsWith("Error in ERROR_cmdMove_Click : "));
    EXPECT_TRUE(QFile::exists(source + "/a.txt"));
}

TEST_F(LogMaintenanceTest, DeleteAsksThenSendsTheFileToTheTrash)
{
    write(destination + "/old.log");
    frmLogMaintenance dialog;
    dialog.cmdDelete_Click(frmLogMaintenance::Destination);  // nothing selected
    EXPECT_TRUE(prompts.shown.isEmpty());

    select(dialog.flDest, "old.log");
    dialog.cmdDelete_Click(frmLogMaintenance::Destination);  // answered No
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown.last().buttons, Prompts::Buttons::YesNo);
    EXPECT_TRUE(prompts.shown.last().text.contains("old.log"));
    EXPECT_TRUE(QFile::exists(destination + "/old.log"));

    prompts.answers.enqueue(Prompts::Answer::Yes);
    dialog.cmdDelete_Click(frmLogMaintenance::Destination);
    EXPECT_FALSE(QFile::exists(destination + "/old.log"));
    EXPECT_TRUE(names(dialog.flDest).isEmpty());
    EXPECT_TRUE(QFile::exists(home.path() + "/Trash/files/old.log"));
    EXPECT_EQ(prompts.shown.size(), 2);
}

// The window opens at once and reads on another thread: a busy day's log
// would otherwise hold up every window for as long as the read takes.
TEST_F(LogMaintenanceTest, DetailsShowTheSummaryOrOnlyTheWarning)
{
    write(source + "/good.txt");
    write(source + "/bad.txt", "2026-07-01 10:00:00 START LOCAL TIME\r\nSTART\r\n");
    frmLogMaintenance dialog;

    select(dialog.flSource, "bad.txt");
    dialog.cmdDetails_Click(frmLogMaintenance::Source);
    QPointer<frmLogDetails> details = dialog.findChild<frmLogDetails *>();
    ASSERT_NE(details, nullptr);
    EXPECT_TRUE(details->reading());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.shown.isEmpty(); }));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown.last().title, "Invalid log file");
    EXPECT_EQ(prompts.shown.last().text,
              "The selected file does not appear to be a valid UIView log file. Please select another file.");
    EXPECT_EQ(prompts.shown.last().icon, Prompts::Icon::Exclamation);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(details, nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    select(dialog.flSource, "good.txt");
    dialog.cmdDetails_Click(frmLogMaintenance::Source);
    details = dialog.findChild<frmLogDetails *>();
    ASSERT_NE(details, nullptr);
    EXPECT_TRUE(details->isVisible());
    EXPECT_TRUE(details->isModal());
    EXPECT_EQ(details->windowTitle(), "Log file details");
    EXPECT_EQ(details->stationLines(), QStringList({"Reading good.txt..."}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !details->reading(); }));
    EXPECT_EQ(details->txtLogStartDate->text(), "01-Jul-2026 10:00:00");
    EXPECT_EQ(details->txtLogEndDate->text(), "01-Jul-2026 10:07:40");
    EXPECT_EQ(details->stationLines(), QStringList({"Callsign     Hrd x", "G4KDA           2", "G0KST           1"}));
    // What the user needs of the face: the tally's columns line up, whatever
    // fontconfig substitutes for a named family on this machine.
    const QFontMetricsF metrics(details->lstStations->font());
    const qreal cell = metrics.horizontalAdvance(QLatin1Char('M'));
    for (const QString &line : details->stationLines())
        EXPECT_NEAR(metrics.horizontalAdvance(line), cell * line.size(), 0.5 + 0.1 * line.size()) << line.toStdString();
    EXPECT_NEAR(metrics.horizontalAdvance(QStringLiteral("iiiii     1")),
                metrics.horizontalAdvance(QStringLiteral("WWWWW     1")), 0.5);
    EXPECT_EQ(details->findChild<QGroupBox *>()->title(), "Stations In Log");
    details->cmdOK->click();
    EXPECT_FALSE(details->isVisible());
}

TEST_F(LogMaintenanceTest, DetailsShowStampsFromTheHourClocksSkip)
{
    ProcessZone london("Europe/London");
    write(source + "/spring.txt", "2026-03-29 00:59:00 START LOCAL TIME\r\n"
                                  "2026-03-29 01:30:00 G4KDA>APRS:>in the skipped hour\r\n");
    frmLogMaintenance dialog;
    select(dialog.flSource, "spring.txt");
    dialog.cmdDetails_Click(frmLogMaintenance::Source);
    auto *details = dialog.findChild<frmLogDetails *>();
    ASSERT_NE(details, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !details->reading(); }));
    EXPECT_EQ(details->txtLogStartDate->text(), "29-Mar-2026 00:59:00");
    EXPECT_EQ(details->txtLogEndDate->text(), "29-Mar-2026 01:30:00");
    details->cmdOK->click();
}

