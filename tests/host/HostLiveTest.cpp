// The host's formats end to end: the real main window and station list on
// the real embedded host, fed the recorded demo traffic. Set
// KESTREL_HOST_SCREENSHOTS=/some/folder to keep pictures of the host map and
// of a station's information with its telemetry.
#include "app/ProgramWiring.h"
#include "app/frmMain.h"
#include "core/Configuration.h"
#include "core/SharedState.h"
#include "core/WindowProviders.h"
#include "core/WindowRegistry.h"
#include "core/LineText.h"
#include "host/EmbeddedHost.h"
#include "host/map/HostMapWindow.h"
#include "host/aprs/Tnc2.h"
#include "stations/frmDocument.h"
#include "stations/frmStationInfo.h"

#include "ScriptedPorts.h"
#include "TempDirs.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString kDemo = QStringLiteral(KESTREL_SOURCE_DIR "/data/demo-host");

// The demo's frames before the given moment, each line read as a feed reads it.
QStringList demoLines(const QString &before)
{
    QFile file(kDemo + QStringLiteral("/DemoTraffic.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QByteArray &raw : file.readAll().split('\n')) {
        const QString line = decodeLine(raw).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.left(8) >= before)
            break;
        lines << splitTimeStamp(line).text.toString();
    }
    return lines;
}

class HostLive : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("KESTREL_HOST_HEADLESS", "1");
        config() = Configuration{};
        shared() = SharedState{};
        providers() = WindowProviders{};
        WindowRegistry::instance().clear();
        wireProgram();
        for (const QString &name : QDir(kDemo).entryList(QDir::Files))
            QFile::copy(kDemo + u'/' + name, m_folder.filePath(name));
        // The replay is not started: the test hears the lines itself.
        QFile ini(m_folder.filePath(QStringLiteral("KestrelHost.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write("[Host]\r\nBeaconInterval=0\r\n");
        ini.close();
        store.values[MemorySettingsStore::id("Kestrel", "Paths", "UIVIEW32")] = m_folder.path();
        main = std::make_unique<frmMain>(false);
        main->resize(1280, 860);
        main->show();
        main->runLoadingSequence();
        host = dynamic_cast<EmbeddedHost *>(main->host());
        list = qobject_cast<frmDocument *>(WindowRegistry::instance().firstTagged(WindowTag::StationList));
        ASSERT_NE(host, nullptr);
        ASSERT_NE(list, nullptr);
    }
    void TearDown() override
    {
        main.reset();
        providers() = WindowProviders{};
        WindowRegistry::instance().clear();
    }

    int rowOf(const QString &callsign) const
    {
        for (int r = 0; r < list->model().count(); ++r)
            if (list->model().cell(r, StationListModel::Station) == callsign)
                return r;
        return -1;
    }
    QString cell(const QString &callsign, int column) const
    {
        const int row = rowOf(callsign);
        return row < 0 ? QString() : list->model().cell(row, column);
    }

    TempDirs dirs;
    ScriptedPrompts prompts;
    MemorySettingsStore store;
    QTemporaryDir m_folder;
    std::unique_ptr<frmMain> main;
    EmbeddedHost *host = nullptr;
    frmDocument *list = nullptr;
};

TEST_F(HostLive, TelemetryNmeaLocatorAndUtf8ReachTheWindows)
{
    for (const QString &line : demoLines(QStringLiteral("00:40:00")))
        ASSERT_TRUE(host->hearLine(line)) << line.toStdString();
    QApplication::processEvents();

    // The balloon's raw GPS sentences place it: its last, at 00:38:15, is
    // "$GPGGA,093815,5144.1700,N,00123.6400,W,...".
    EXPECT_EQ(cell("G4KBL-11", StationListModel::Lattitude), QStringLiteral("51.44.17N"));
    EXPECT_EQ(cell("G4KBL-11", StationListModel::Longitude), QStringLiteral("001.23.64W"));
    // The portable station gave only IO91IQ: the middle of that square.
    EXPECT_EQ(cell("G4KPL", StationListModel::Lattitude), QStringLiteral("51.41.25N"));
    EXPECT_EQ(cell("G4KPL", StationListModel::Longitude), QStringLiteral("001.17.50W"));
    EXPECT_EQ(cell("G4KPL", StationListModel::Status), QStringLiteral("Portable on Wytham Hill, 2m and 70cm"));
    EXPECT_EQ(cell("DL1KIF-7", StationListModel::Status),
              QStringLiteral("Gr\u00FC\u00DFe aus K\u00F6ln \u2013 auf Besuch in Oxford"));

    // The hilltop digipeater's telemetry, report 044 (00:35:40):
    // 0.075 x 168 = 12.6 V, 0.02 x 58 = 1.16 A, 0.5 x 86 - 20 = 23 deg.C,
    // -0.5 x 95 = -47.5 dB, 0.1 x 123 = 12.3 days; bits 10100000 with every
    // sense 1: mains on, door shut, fan on.
    const int row = rowOf(QStringLiteral("G4KTL"));
    ASSERT_GE(row, 0);
    main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(list->parentWidget()));
    list->selectRow(row);
    frmStationInfo *shown = nullptr;
    QStringList rows;
    QImage picture;
    QTimer::singleShot(0, [&] {
        shown = qobject_cast<frmStationInfo *>(QApplication::activeModalWidget());
        if (shown && shown->lstTelemetry) {
            for (int i = 0; i < shown->lstTelemetry->topLevelItemCount(); ++i) {
                const QTreeWidgetItem *item = shown->lstTelemetry->topLevelItem(i);
                rows << item->text(0) + u'=' + item->text(1) + u' ' + item->text(2);
            }
            picture = shown->grab().toImage();
        }
        if (QApplication::activeModalWidget())
            QApplication::activeModalWidget()->close();
    });
    main->tool("ID_Properties")->trigger();
    ASSERT_NE(shown, nullptr) << "the station information window opened";
    EXPECT_EQ(rows, (QStringList{"Battery=12.6 Volts", "Solar=1.16 Amps", "Temp=23 deg.C", "RxLevel=-47.5 dB",
                                 "Uptime=12.3 days", "Mains=on ", "Door=Off ", "Fan=on ", "B4=Off ", "B5=Off ",
                                 "B6=Off ", "B7=Off ", "B8=Off "}));

    const QString shots = qEnvironmentVariable("KESTREL_HOST_SCREENSHOTS");
    if (!shots.isEmpty()) {
        picture.save(shots + QStringLiteral("/station-info-telemetry.png"));
        HostMapWindow *window = host->window();
        window->resize(1000, 760);
        window->show();
        QTest::qWait(400);
        window->grab().save(shots + QStringLiteral("/host-map-demo.png"));
        // Zoomed out far enough to see the Earth's shapes.
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(window->view(), Qt::Key_Minus);
        QTest::qWait(100);
        window->grab().save(shots + QStringLiteral("/host-map-demo-wide.png"));
    }
}

} // namespace
