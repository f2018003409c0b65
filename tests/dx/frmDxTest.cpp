#include "DxWindowFixture.h"

#include "dx/DxListFile.h"
#include "dx/DxRows.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "core/LoadingDialog.h"

TEST_F(DxWindowTest, LoadsWithSettingsShownAndEveryBandTabHidden)
{
    config().dxExpire = 45;
    config().dxPlot = false;
    open();
    EXPECT_EQ(dx->windowTitle(), "DX List");
    ASSERT_EQ(tabs().count(), 2 + 20);
    EXPECT_EQ(tabs().currentIndex(), 0);
    EXPECT_TRUE(tabShown("Settings"));
    EXPECT_FALSE(tabShown("Notified DX"));
    for (int i = 2; i < tabs().count(); ++i)
        EXPECT_FALSE(tabs().isTabVisible(i)) << tabs().tabText(i).toStdString();
    EXPECT_EQ(tabs().tabText(2), "160M");
    EXPECT_EQ(dx->txtExpire->text(), "45");
    EXPECT_FALSE(dx->chkPlot->isChecked());
    EXPECT_TRUE(dx->chkIndicate->isChecked());
    EXPECT_FALSE(dx->chkAllowSpotNotification->isChecked());
    EXPECT_EQ(dx->txtNumSpots->text(), "0");
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(DxWindowTest, ASpotOnADisabledBandOrOnNoBandOnlyWritesTheEventLog)
{
    open();
    bandTable().setEnabled(4, false);  // 20M
    add(Spot20, "ZS6KXC", "14000.0");
    add(Spot40, "UA9KXK", "2000.1");
    EXPECT_EQ(terminal.events, QStringList({"Spot ignored as 20M is disabled|1|", "Spot ignored as Other is disabled|1|"}));
    EXPECT_EQ(dx->monitor().spots().count(), 0);
    EXPECT_FALSE(tabShown("20M"));
    EXPECT_EQ(dx->txtNumSpots->text(), "0");
    EXPECT_TRUE(host.fakeMap.calls.isEmpty());
}

TEST_F(DxWindowTest, ASpotShowsAndMarksItsBandTabAndGoesOnTheMap)
{
    open();
    add(Spot40, "UA9KXK", "7015.0", 55, 37);
    EXPECT_TRUE(tabShown("40M"));
    EXPECT_EQ(dx->tabMark(tab("40M")), 1);
    EXPECT_EQ(dx->txtNumSpots->text(), "1");
    EXPECT_EQ(symbolCalls(), QStringList({"symbol(UA9KXK,2220,3300)"}));

    dx->chkIndicate->setChecked(false);
    EXPECT_FALSE(config().dxHighlight);
    add(Spot20, "ZS6KXC", "14025.0", -29, 24);
    EXPECT_EQ(dx->tabMark(tab("20M")), 0);

    tabs().setCurrentIndex(tab("40M"));
    EXPECT_EQ(dx->tabMark(tab("40M")), 0) << "selecting the tab clears its mark";
    EXPECT_EQ(dx->windowTitle(), "DX List (40M - 1 Station)");
    EXPECT_EQ(dx->txtHeading->toPlainText(), DxRows::bandHeading() + "\n" + DxRows::bandUnits(true));
    EXPECT_TRUE(dx->txtSpots->toPlainText().startsWith("UA9KXK       F5KIG        7015.0   2500  55N  37E  45"));
    EXPECT_EQ(dx->txtSpots->toPlainText().count(u'\n'), 2) << "one row, then one more line end";
}

TEST_F(DxWindowTest, CaptionsCountStationsOnTheSelectedBand)
{
    open();
    tabs().setTabVisible(tab("20M"), true);
    tabs().setCurrentIndex(tab("20M"));
    EXPECT_EQ(dx->windowTitle(), "DX List (20M - 0 Station)");
    add(Spot20, "ZS6KXC", "14025.0");
    settle();
    EXPECT_EQ(dx->windowTitle(), "DX List (20M - 1 Station)") << "the selected tab is refreshed by the spot";
    add(Spot20, "ZS6KXD", "14026.0");
    add(Spot40, "UA9KXK", "7015.0");
    settle();
    EXPECT_EQ(dx->windowTitle(), "DX List (20M - 2 Stations)");
    EXPECT_EQ(dx->txtSpots->toPlainText().count("ZS6KX"), 2);
}

// The band tab takes a spot as one row added or rewritten in place; after
// every kind of spot it reads as the tab drawn whole, and so does its caption.
TEST_F(DxWindowTest, TheShownBandTabTakesEachSpotInPlaceAsDrawnWhole)
{
    open();
    add(Spot20, "ZS6KXA", "14020.0");
    tabs().setTabVisible(tab("20M"), true);
    tabs().setCurrentIndex(tab("20M"));
    const struct
    {
        const char *call, *spotter, *frequency;
    } spots[] = {
        {"ZS6KXB", "M0KDB", "14025.0"},  // new on the band shown
        {"UA9KXK", "F5KIG", "7015.0"},   // new on another band
        {"ZS6KXA", "M0KDB", "14021.5"},  // re-spot, same band, first row rewritten
        {"ZS6KXC", "G4KDA", "14030.0"},
        {"ZS6KXB", "M0KDB", "7012.0"},   // re-spot that takes a row off the band shown
        {"UA9KXK", "F5KIG", "14001.0"},  // re-spot that brings one onto it, mid-list
        {"ZS6KXD", "G4KDA", "14031.0"},
    };
    for (const auto &spot : spots) {
        SCOPED_TRACE(spot.call);
        const QString text = QStringLiteral("DX de %1:").arg(QLatin1String(spot.spotter)).leftJustified(15)
                             + QString::fromLatin1(spot.frequency).rightJustified(9) + QStringLiteral("  ")
                             + QString::fromLatin1(spot.call).leftJustified(13) + QStringLiteral("CW").leftJustified(31)
                             + QStringLiteral("2001Z");
        add(text, QLatin1String(spot.call), QLatin1String(spot.frequency));
        settle();
        const QString shown = dx->txtSpots->toPlainText(), caption = dx->windowTitle();
        dx->ShowTab(tab("20M"));
        EXPECT_EQ(shown, dx->txtSpots->toPlainText());
        EXPECT_EQ(caption, dx->windowTitle());
    }
    EXPECT_EQ(dx->windowTitle(), "DX List (20M - 4 Stations)");
}

TEST_F(DxWindowTest, ARepeatedSpotUpdatesOneRecordAndMovesItsSymbol)
{
    open();
    add(Spot40, "UA9KXK", "7015.0", 55, 37);
    clock.time = clock.time.addSecs(300);
    const QString later = QStringLiteral("DX de F5KIG:      7016.5  UA9KXK       now SSB                        2005Z");
    add(later, "UA9KXK", "7016.5", 56, 38);
    ASSERT_EQ(dx->monitor().spots().count(), 1);
    const DxStations &record = dx->monitor().spots().records().first();
    EXPECT_EQ(record.Frequency, "7016.5");
    EXPECT_EQ(record.dxText, "now SSB                        ");
    EXPECT_EQ(record.TimeHeard, clock.time);
    EXPECT_EQ(dx->txtNumSpots->text(), "1");
    EXPECT_EQ(symbolCalls(), QStringList({"symbol(UA9KXK,2220,3300)", "symbol(UA9KXK,2280,3360)"}));
}

TEST_F(DxWindowTest, PlottingOffPlacesNothingAndUntickingTakesTheSpotsOff)
{
    open();
    add(Spot40, "UA9KXK", "7015.0");
    dx->chkPlot->setChecked(false);
    EXPECT_FALSE(config().dxPlot);
    EXPECT_EQ(host.calls.filter("removeObject"), QStringList({"removeObject(UA9KXK)"}));
    add(Spot20, "ZS6KXC", "14025.0");
    dx->PlotDxOnMap();
    EXPECT_EQ(symbolCalls().size(), 1);
    dx->chkPlot->setChecked(true);
    EXPECT_EQ(symbolCalls().mid(1), QStringList({"symbol(UA9KXK,2220,3300)", "symbol(ZS6KXC,2220,3300)"}))
        << "ticked again: every spot in collection order";
}

TEST_F(DxWindowTest, NotificationLoadsThePrefixListAndNotifiesTickedCountriesOnly)
{
    open();
    dx->chkAllowSpotNotification->setChecked(true);
    EXPECT_TRUE(config().dxNotify);
    EXPECT_TRUE(tabShown("Notified DX"));
    EXPECT_FALSE(dx->lstMonitor->isHidden());
    QAbstractItemModel *list = dx->lstMonitor->model();
    ASSERT_EQ(list->rowCount(), 5);
    ASSERT_EQ(list->columnCount(), 9);
    EXPECT_EQ(list->headerData(8, Qt::Horizontal).toString(), "Checked");
    EXPECT_EQ(list->index(1, 7).data().toString(), "???") << "a line of seven fields";
    EXPECT_EQ(dx->notifiedText(), DxRows::notifiedHeading() + "\n" + DxRows::notifiedUnits(true) + "\n");

    add(Spot40, "UA9KXK", "7015.0", 0, 0);
    EXPECT_EQ(dx->notifiedText(), DxRows::notifiedHeading() + "\n" + DxRows::notifiedUnits(true) + "\n") << "Russia is not ticked";
    EXPECT_EQ(dx->monitor().spots().count(), 1);
    EXPECT_TRUE(tabShown("40M"));

    list->setData(list->index(0, 0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(list->index(0, 8).data().toString(), "A");
    add(Spot40, "R9KXK", "7015.0", 0, 0);
    const QString line = DxRows::notifiedLine(Spot40, "R9KXK", "7015.0", 0, 0, 45, 2500, "F5KIG");
    EXPECT_TRUE(line.contains("   0S   0W"));
    EXPECT_EQ(dx->notifiedText(), DxRows::notifiedHeading() + "\n" + DxRows::notifiedUnits(true) + "\n" + line + "\n");
    EXPECT_EQ(dx->tabMark(tab("notified dx")), 2);
    tabs().setCurrentIndex(tab("Notified DX"));
    EXPECT_EQ(dx->windowTitle(), "Spotted DX");
    EXPECT_EQ(dx->txtSpottedDX->toPlainText(), dx->notifiedText());

    dx->chkAllowSpotNotification->setChecked(false);
    EXPECT_EQ(list->rowCount(), 0);
    EXPECT_TRUE(dx->notifiedText().isEmpty());
    EXPECT_TRUE(dx->txtSpottedDX->toPlainText().isEmpty());
    EXPECT_FALSE(tabShown("Notified DX"));
    EXPECT_EQ(tabs().currentIndex(), 0);
    EXPECT_EQ(dx->monitor().prefixIndex().size(), 0);
}

TEST_F(DxWindowTest, TheTickedCountriesAreTickedAgainAfterARestart)
{
    auto ticked = [this] {
        QStringList countries;
        QAbstractItemModel *list = dx->lstMonitor->model();
        for (int row = 0; row < list->rowCount(); ++row)
            if (list->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked)
                countries << list->index(row, 1).data().toString();
        return countries;
    };
    open();
    dx->chkAllowSpotNotification->setChecked(true);
    QAbstractItemModel *list = dx->lstMonitor->model();
    ASSERT_EQ(list->rowCount(), 5);
    for (int row : {3, 4, 0})
        list->setData(list->index(row, 0), Qt::Checked, Qt::CheckStateRole);
    list->setData(list->index(0, 0), Qt::Unchecked, Qt::CheckStateRole);
    ASSERT_EQ(ticked(), QStringList({"England", "Canary Islands"}));

    struct Start
    {
        bool notifyAtStart;  // notification ticked in the options, or by hand after the start
    };
    for (const Start &start : {Start{true}, Start{false}}) {
        dx.reset();
        config().dxNotify = start.notifyAtStart;
        open();
        if (!start.notifyAtStart)
            dx->chkAllowSpotNotification->setChecked(true);
        EXPECT_EQ(ticked(), QStringList({"England", "Canary Islands"})) << start.notifyAtStart;
        add(Spot20, "G4KXC", "14025.0");
        EXPECT_TRUE(dx->notifiedText().contains("G4KXC")) << "a remembered tick notifies";
    }
    // Switched off and on again, the list reloads with the ticks it had.
    dx->chkAllowSpotNotification->setChecked(false);
    dx->chkAllowSpotNotification->setChecked(true);
    EXPECT_EQ(ticked(), QStringList({"England", "Canary Islands"}));
}

TEST_F(DxWindowTest, AllCallsTicksEveryRowAndAStrokeCallsignIsMatchedOnItsStart)
{
    config().dxAllCalls = true;
    config().dxNotify = true;
    open();
    EXPECT_TRUE(dx->chkAllowSpotNotification->isChecked());
    add(Spot40, "EA8/G4ABC", "7015.0");
    add(Spot40, "G4ABC/P", "7015.0");
    add(Spot40, "ZS6ABC", "7015.0");
    const QString text = dx->notifiedText();
    EXPECT_TRUE(text.contains("\nEA8/G4ABC F5KIG")) << text.toStdString();
    EXPECT_TRUE(text.contains("\nG4ABC/P  F5KIG"));
    EXPECT_TRUE(text.contains("\nZS6ABC   F5KIG"));
}

TEST_F(DxWindowTest, NotifiedLinesAreBoundedAndKeepTheirHeading)
{
    config().dxAllCalls = true;
    config().dxNotify = true;
    open();
    for (int i = 0; i < frmDx::KeptNotifiedLines + 5; ++i)
        add(Spot40, QStringLiteral("G%1AA").arg(i), "7015.0");
    tabs().setCurrentIndex(tab("Notified DX"));
    add(Spot40, "G99999AA", "7015.0");  // arrives while the box is on screen
    const QStringList lines = dx->txtSpottedDX->toPlainText().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), frmDx::KeptNotifiedLines + 2);
    EXPECT_EQ(lines[0], DxRows::notifiedHeading());
    EXPECT_EQ(lines[1], DxRows::notifiedUnits(true));
    EXPECT_TRUE(lines[2].startsWith("G6AA ")) << lines[2].toStdString();
    EXPECT_TRUE(lines.last().startsWith("G99999AA "));
    EXPECT_EQ(dx->txtSpottedDX->toPlainText(), dx->notifiedText());
}

TEST_F(DxWindowTest, AMissingPrefixFileIsReportedAndNotificationStaysOff)
{
    QFile::remove(config().hostFolder + "/prefix.txt");
    config().dxNotify = true;
    open();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.texts()[0].startsWith("Error in ERROR_LoadDxSpots : prefix.txt could not be opened"));
    EXPECT_FALSE(dx->chkAllowSpotNotification->isChecked());
    EXPECT_FALSE(config().dxNotify);
    EXPECT_FALSE(tabShown("Notified DX"));
}

TEST_F(DxWindowTest, CancellingTheLoadSwitchesNotificationOffAndClears)
{
    QByteArray text;
    for (int i = 0; i < 500; ++i)
        text += QByteArray("P") + QByteArray::number(i) + ":Country " + QByteArray::number(i) + ":EU:1:1:0:1N:1E\r\n";
    writePrefixFile(text);
    open();
    QString caption;
    QTimer::singleShot(0, [&] {
        for (QWidget *window : QApplication::topLevelWidgets())
            if (auto *loading = qobject_cast<LoadingDialog *>(window); loading && loading->isVisible()) {
                caption = loading->windowTitle();
                loading->cancelButton()->click();
            }
    });
    dx->chkAllowSpotNotification->setChecked(true);
    EXPECT_EQ(caption, "Loading DX Prefix Details");
    EXPECT_FALSE(dx->chkAllowSpotNotification->isChecked());
    EXPECT_FALSE(config().dxNotify);
    EXPECT_EQ(dx->lstMonitor->model()->rowCount(), 0);
    EXPECT_EQ(dx->monitor().prefixIndex().size(), 0);
    EXPECT_FALSE(tabShown("Notified DX"));
}

TEST_F(DxWindowTest, PrefixHeaderClicksTurnTheSortOrderOver)
{
    config().dxNotify = true;
    open();
    QHeaderView *header = dx->lstMonitor->header();
    QAbstractItemModel *list = dx->lstMonitor->model();
    emit header->sectionClicked(1);
    EXPECT_EQ(list->index(0, 1).data().toString(), "Canary Islands");
    emit header->sectionClicked(1);
    EXPECT_EQ(list->index(0, 1).data().toString(), "South Africa");
    emit header->sectionClicked(0);
    EXPECT_EQ(list->index(0, 0).data().toString(), "EA8") << "another column: the order turns over too";
}

TEST_F(DxWindowTest, ExpiryRemovesSpotsAtTheSixtiethMinuteBoundaryAndTakesThemOffTheMap)
{
    open();
    add(Spot40, "UA9KXK", "7015.0");  // heard at 10:00:59
    clock.time = QDateTime(QDate(2026, 7, 1), QTime(10, 30, 0));
    add(Spot20, "ZS6KXC", "14025.0");
    clock.time = QDateTime(QDate(2026, 7, 1), QTime(10, 59, 59));
    dx->Timer1_Timer();
    EXPECT_EQ(dx->monitor().spots().count(), 2);
    host.fakeMap.calls.clear();
    clock.time = QDateTime(QDate(2026, 7, 1), QTime(11, 0, 0));
    dx->Timer1_Timer();
    ASSERT_EQ(dx->monitor().spots().count(), 1);
    EXPECT_EQ(dx->txtNumSpots->text(), "1");
    EXPECT_EQ(host.calls.filter("removeObject"), QStringList({"removeObject(UA9KXK)"}));
    EXPECT_EQ(symbolCalls(), QStringList({"symbol(ZS6KXC,2220,3300)"})) << "the rest are plotted again";
    EXPECT_TRUE(tabShown("40M")) << "Settings is selected, so the emptied tab stays";
}

TEST_F(DxWindowTest, ASpotStillHeldFromAnotherSpotterKeepsItsSymbol)
{
    open();
    add(Spot40, "UA9KXK", "7015.0");
    clock.time = clock.time.addSecs(600);
    add("DX de M0KDB:      7015.0  UA9KXK       CW                             2010Z", "UA9KXK", "7015.0");
    clock.time = clock.time.addSecs(3000);
    dx->Timer1_Timer();
    EXPECT_EQ(dx->monitor().spots().count(), 1);
    EXPECT_TRUE(host.calls.filter("removeObject").isEmpty());
}

TEST_F(DxWindowTest, AnEmptiedSelectedTabGivesWayToSettingsAndStaysUntilALaterPass)
{
    open();
    add(Spot40, "UA9KXK", "7015.0");                                   // 10:00:59
    clock.time = QDateTime(QDate(2026, 7, 1), QTime(10, 20, 0));
    add(Spot20, "ZS6KXC", "14025.0");
    add("DX de M0KDB:     21025.0  JA1KXA       CW                             2020Z", "JA1KXA", "21025.0");
    tabs().setCurrentIndex(tab("40M"));

    clock.time = QDateTime(QDate(2026, 7, 1), QTime(11, 0, 0));
    dx->Timer1_Timer();
    EXPECT_EQ(tabs().currentIndex(), 0) << "the emptied tab was selected";
    EXPECT_EQ(dx->windowTitle(), "DX List");
    EXPECT_TRUE(tabShown("40M")) << "with Settings selected the emptied tab stays";

    tabs().setCurrentIndex(tab("15M"));
    clock.time = QDateTime(QDate(2026, 7, 1), QTime(11, 20, 0));
    config().dxExpire = 60;
    add("DX de M0KDB:     21030.0  JA1KXB       CW                             2100Z", "JA1KXB", "21030.0");
    dx->Timer1_Timer();  // takes ZS6KXC and JA1KXA
    EXPECT_FALSE(tabShown("40M"));
    EXPECT_FALSE(tabShown("20M"));
    EXPECT_TRUE(tabShown("15M"));
    EXPECT_EQ(dx->windowTitle(), "DX List (15M - 1 Station)");
}

TEST_F(DxWindowTest, ExpiryZeroKeepsEverySpot)
{
    config().dxExpire = 0;
    open();
    add(Spot40, "UA9KXK", "7015.0");
    clock.time = clock.time.addDays(3);
    dx->Timer1_Timer();
    EXPECT_EQ(dx->monitor().spots().count(), 1);
}

TEST_F(DxWindowTest, TheExpiryBoxTakesDigitsAndKeepsZeroToOneHundredAndTwenty)
{
    open();
    QLineEdit *box = dx->txtExpire;
    box->setFocus();
    box->clear();
    QTest::keyClicks(box, "2x0-0.");
    EXPECT_EQ(box->text(), "200");
    emit box->editingFinished();
    EXPECT_EQ(box->text(), "0");
    EXPECT_EQ(config().dxExpire, 0);

    box->setText("45");
    emit box->editingFinished();
    EXPECT_EQ(config().dxExpire, 45);
    box->setText("");
    emit box->editingFinished();
    EXPECT_EQ(box->text(), "0");
    box->setText("120");
    emit box->editingFinished();
    EXPECT_EQ(config().dxExpire, 120);
}

TEST_F(DxWindowTest, SaveWritesOneLinePerSpotAndACancelWritesNothing)
{
    open();
    add(Spot40, "UA9KXK", "7015.0");
    add(Spot20, "ZS6KXC", "14025.0");
    add(Spot20, "ZS6KXD", "14025.0");
    dx->SaveDxList();  // cancelled
    EXPECT_EQ(prompts.fileTitles, QStringList({"Save DX List As"}));

    prompts.fileAnswers.enqueue(dirs.data() + "/spots");
    dx->SaveDxList();
    QFile file(dirs.data() + "/spots.ked");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 4);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(lines[i].count('|'), 11);
    EXPECT_TRUE(lines[0].endsWith("|40M|F5KIG|2000Z|CW Siberia                     |2026-07-01 10:00:59\r"));

    prompts.fileAnswers.enqueue(dirs.data() + "/no/such/folder/spots.ked");
    dx->SaveDxList();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.texts()[0].startsWith("Error in ERROR_SaveDxList : "));
}

// Names beyond Latin-1 come back as typed through every DX file, and a
// prefix.txt or band file saved with CR-only line ends reads whole.
TEST_F(DxWindowTest, TextBeyondLatin1AndCrOnlyLineEndsAreKept)
{
    const QString ivory = QStringLiteral("C\u00F4te d\u2019Ivoire");
    writePrefixFile("\xEF\xBB\xBF; saved with CR line ends\r"
                    "EA,EB:Espa\xF1" "a:EU:37:14:1:40.40N:3.70W\r"
                    "TU:" + ivory.toUtf8() + ":AF:46:35:0:7.50N:5.50W\r");
    QFile bands(BandTable::defaultPath());
    ASSERT_TRUE(bands.open(QIODevice::WriteOnly));
    bands.write("\xEF\xBB\xBF' comment\r7000|7100|40M\r14000|14350|20M\r");
    bands.close();
    open();
    dx->chkAllowSpotNotification->setChecked(true);
    QAbstractItemModel *list = dx->lstMonitor->model();
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(list->index(0, 0).data().toString(), "EA,EB");
    EXPECT_EQ(list->index(0, 1).data().toString(), QStringLiteral("Espa\u00F1a"));
    EXPECT_EQ(list->index(1, 1).data().toString(), ivory);
    EXPECT_EQ(bandTable().bands(), QList<BandDetail>({{7000, 7100, "40M"}, {14000, 14350, "20M"}}));

    const QString russian = QStringLiteral("\u041F\u0440\u0438\u0432\u0435\u0442");
    add(QStringLiteral("DX de F5KIG:      7015.0  UA9KXK       CW ") + russian + QStringLiteral("                      2000Z"),
        "UA9KXK", "7015.0");
    prompts.fileAnswers.enqueue(dirs.data() + "/spots.ked");
    dx->SaveDxList();
    QList<QStringList> rows;
    ASSERT_TRUE(DxListFile::read(dirs.data() + "/spots.ked", &rows, nullptr, nullptr));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows[0][10].startsWith(QStringLiteral("CW ") + russian)) << rows[0][10].toStdString();

    // A band renamed in the options reaches the file and the next start.
    bandTable().setBands({{14000, 14350, QStringLiteral("20 \u043C")}});
    dx->close();
    open();
    EXPECT_NE(tab(QStringLiteral("20 \u043C")), -1);
}

TEST_F(DxWindowTest, UnloadingWritesTheBandTable)
{
    open();
    bandTable().setBands({{14000, 14350, "20M"}});
    dx->close();
    QList<BandDetail> bands;
    ASSERT_TRUE(BandTable::readFile(BandTable::defaultPath(), &bands, nullptr, nullptr));
    EXPECT_EQ(bands, QList<BandDetail>({{14000, 14350, "20M"}}));
}

TEST_F(DxWindowTest, ABandAddedAfterLoadingGetsATabWithItsFirstSpot)
{
    open();
    QList<BandDetail> bands = BandTable::builtIn();
    bands.append({5351, 5367, "60M"});
    bandTable().setBands(bands);
    add(Spot40, "UA9KXK", "5355.0");
    ASSERT_NE(tab("60M"), -1);
    EXPECT_TRUE(tabShown("60M"));
}

TEST_F(DxWindowTest, AHiddenWindowCatchesUpWhenShown)
{
    config().dxAllCalls = true;
    config().dxNotify = true;
    open(false);
    tabs().setCurrentIndex(tab("Notified DX"));
    add(Spot40, "UA9KXK", "7015.0");
    add(Spot20, "ZS6KXC", "14025.0");
    dx->show();
    EXPECT_EQ(dx->txtSpottedDX->toPlainText(), dx->notifiedText());
    EXPECT_EQ(dx->txtSpottedDX->toPlainText().count(u'\n'), 4) << "the heading, its units, two spots";
    tabs().setCurrentIndex(0);
    EXPECT_EQ(dx->txtNumSpots->text(), "2");

    dx->hide();
    tabs().setCurrentIndex(tab("20M"));
    add(Spot20, "ZS6KXD", "14025.0");
    dx->show();
    EXPECT_EQ(dx->txtSpots->toPlainText().count("ZS6KX"), 2);
}

TEST(DxTabStrip, HiddenTabsLeaveTheBarAndComeBackInPlaceWithTheirMarks)
{
    DxTabStrip strip;
    for (const char *caption : {"Settings", "Notified DX", "160M", "80M", "40M"})
        strip.addTab(caption);
    QList<int> selected;
    QObject::connect(&strip, &DxTabStrip::currentChanged, [&](int index) { selected << index; });
    strip.setTabVisible(1, false);
    strip.setTabVisible(3, false);
    EXPECT_EQ(strip.bar()->count(), 3);
    strip.setCurrentIndex(4);
    strip.setCurrentIndex(3);  // hidden: nothing happens
    EXPECT_EQ(strip.currentIndex(), 4);
    strip.setTabMark(3, 1);
    strip.setTabVisible(3, true);  // before the current tab
    EXPECT_EQ(strip.currentIndex(), 4);
    EXPECT_EQ(strip.bar()->tabText(2), "80M");
    EXPECT_FALSE(strip.bar()->tabIcon(2).isNull()) << "the mark came back with the tab";
    strip.setTabVisible(2, false);
    EXPECT_EQ(strip.currentIndex(), 4);
    EXPECT_EQ(selected, QList<int>({4})) << "the current tab did not change under the moves";
    strip.selectNext(1);
    EXPECT_EQ(strip.currentIndex(), 0) << "round the end, past the hidden ones";
}
