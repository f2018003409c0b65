// The options dialog and the About box inside the real program: the real
// main window, the real windows and the embedded host on a copy of the demo
// host folder, fed with the demo's recorded traffic.
//
// KESTREL_OPTIONS_SHOTS=/folder saves a picture of each options tab, of the
// row editor over a band row and of the About box there.
#include "app/AppIcon.h"
#include "app/DefaultData.h"
#include "app/ProgramWiring.h"
#include "app/frmMain.h"
#include "core/Configuration.h"
#include "core/SharedState.h"
#include "core/Utilities.h"
#include "core/WindowInterfaces.h"
#include "core/WindowProviders.h"
#include "core/WindowRegistry.h"
#include "host/EmbeddedHost.h"
#include "options/frmOptions.h"
#include "stations/frmDocument.h"
#include "ui/frmAbout.h"
#include "ui/frmTp_3D.h"

#include "ScriptedPorts.h"
#include "TempDirs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

const QString DemoFolder = QStringLiteral(KESTREL_SOURCE_DIR "/data/demo-host");

template<typename T>
T *topLevel()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *found = qobject_cast<T *>(window); found && found->isVisible())
            return found;
    return nullptr;
}

// Runs the steps on the first visible top-level window of that kind once a
// modal loop has shown it.
template<typename T>
void whenShown(QObject *context, std::function<void(T *)> steps, bool *seen)
{
    auto *poll = new QTimer(context);
    QObject::connect(poll, &QTimer::timeout, context, [poll, steps, seen] {
        T *window = topLevel<T>();
        if (!window)
            return;
        poll->stop();
        poll->deleteLater();
        *seen = true;
        steps(window);
    });
    poll->start(10);
}

void save(const QPixmap &picture, const QString &name)
{
    const QString folder = qEnvironmentVariable("KESTREL_OPTIONS_SHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    picture.save(folder + u'/' + name + QStringLiteral(".png"));
}

class OptionsInProgram : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("KESTREL_HOST_HEADLESS", "1");
        config() = Configuration{};
        shared() = SharedState{};
        providers() = WindowProviders{};
        WindowRegistry::instance().clear();
        demo = dirs.data() + QStringLiteral("/DemoHost");
        QDir().mkpath(demo);
        for (const QString &name : QDir(DemoFolder).entryList(QDir::Files))
            QFile::copy(DemoFolder + u'/' + name, demo + u'/' + name);
        QApplication::setWindowIcon(AppIcon::icon());
        CreateDataFolders();
        InstallDefaultDataFiles();
        wireProgram();
    }

    void TearDown() override
    {
        main.reset();
        providers() = WindowProviders{};
        WindowRegistry::instance().clear();
        shared() = SharedState{};
    }

    frmMain &start()
    {
        main = std::make_unique<frmMain>(false);
        main->resize(1000, 700);
        main->show();
        main->runLoadingSequence();
        return *main;
    }

    frmDocument *stationList() const
    {
        return dynamic_cast<frmDocument *>(WindowRegistry::instance().firstTagged(WindowTag::StationList));
    }

    TempDirs dirs;
    ScriptedPrompts prompts;
    MemorySettingsStore store;
    QString demo;
    std::unique_ptr<frmMain> main;
};

} // namespace

TEST_F(OptionsInProgram, FirstStartAsksForTheHostFolderOnTheGeneralTab)
{
    bool seen = false;
    int tab = -1;
    prompts.fileAnswers.enqueue(demo);
    whenShown<frmOptions>(
        qApp,
        [&](frmOptions *options) {
            tab = options->tabOptions->currentIndex();
            options->cmdUIPath->click();
            options->cmdOK->click();
        },
        &seen);
    frmMain &m = start();
    ASSERT_TRUE(seen);
    EXPECT_EQ(tab, frmOptions::General);
    EXPECT_EQ(config().hostFolder, demo);
    EXPECT_NE(m.host(), nullptr) << "the host chosen in the dialog is the one attached";
    EXPECT_EQ(m.statusText(), QStringLiteral("Ready..."));
}

TEST_F(OptionsInProgram, AppliedOptionsReachTheStationListAndTheFramePath)
{
    store.write("Kestrel", "Paths", "UIVIEW32", demo);
    frmMain &m = start();
    auto *host = dynamic_cast<EmbeddedHost *>(m.host());
    ASSERT_NE(host, nullptr);
    ASSERT_NE(stationList(), nullptr);
    EXPECT_TRUE(config().miles);

    bool seen = false;
    whenShown<frmOptions>(
        &m,
        [&](frmOptions *options) {
            options->optDistKm->click();
            options->chkDebug->click();
            options->chkPlotOnMap->click();
            options->txtExpire->setText(QStringLiteral("30"));
            options->tabOptions->setCurrentIndex(frmOptions::AutoRecording);
            options->txtCallsign->setText(QStringLiteral("g4kda"));
            options->cmdAdd->click();
            options->cmdOK->click();
        },
        &seen);
    m.tool(QStringLiteral("ID_Options"))->trigger();
    ASSERT_TRUE(seen);
    EXPECT_FALSE(config().miles);
    // The DX window shows what was applied.
    ASSERT_NE(m.dxMonitor(), nullptr);
    EXPECT_FALSE(m.dxMonitor()->findChild<QCheckBox *>(QStringLiteral("chkPlot"))->isChecked());
    EXPECT_FALSE(config().dxPlot);
    EXPECT_EQ(m.dxMonitor()->findChild<QLineEdit *>(QStringLiteral("txtExpire"))->text(), QStringLiteral("30"));
    EXPECT_EQ(config().dxExpire, 30);
    ASSERT_NE(shared().autoRecords.find(QStringLiteral("G4KDA")), nullptr);
    EXPECT_EQ(shared().autoRecords.find(QStringLiteral("G4KDA"))->Recording, true);

    // The demo's recorded traffic, through the host and the real frame path.
    const QString frame = QStringLiteral("G4KDA>APKS01,G3KDC-1*,WIDE2-1:!5145.67N/00115.71W-Home station, Headington");
    ASSERT_TRUE(host->hearLine(frame));
    ASSERT_TRUE(host->hearLine(QStringLiteral("M0KDB>APKS01,G7KDF-2*,WIDE2-1:!5142.30N/00109.90W-QRV 2m/70cm")));
    StationListModel &model = stationList()->model();
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.find(QStringLiteral("M0KDB")) >= 0; }, 5000));

    const int row = model.find(QStringLiteral("G4KDA"));
    ASSERT_GE(row, 0);
    HostStationRecord g4kda;
    g4kda.callsign = QStringLiteral("G4KDA");
    ASSERT_TRUE(host->lookUpStation(g4kda));
    const HomeStation &home = shared().home;
    const double km = host->distanceAndBearing(home.latitude / 60, home.longitude / 60, g4kda.latitude / 60,
                                               g4kda.longitude / 60, true).distance;
    EXPECT_EQ(model.cell(row, StationListModel::Dist), QString::number(qint64(km))) << "kilometres now";
    EXPECT_TRUE(model.row(row).checked) << "recorded automatically";
    EXPECT_FALSE(model.cell(row, StationListModel::LogFile).isEmpty());
    EXPECT_FALSE(model.row(model.find(QStringLiteral("M0KDB"))).checked);

    QFile debug(GetDataFolder() + QStringLiteral("/Debug.txt"));
    ASSERT_TRUE(debug.open(QIODevice::ReadOnly)) << "the debug switch is on";
    EXPECT_TRUE(QString::fromLatin1(debug.readAll()).contains(QStringLiteral("G4KDA")));
}

TEST_F(OptionsInProgram, EveryTabTheBandEditorAndTheAboutBox)
{
    store.write("Kestrel", "Paths", "UIVIEW32", demo);
    frmMain &m = start();
    shared().autoRecords.add({QStringLiteral("G4KDA"), true});
    shared().autoRecords.add({QStringLiteral("VK2KIB"), false});

    bool seen = false;
    QStringList names;
    whenShown<frmOptions>(
        &m,
        [&](frmOptions *options) {
            QTest::qWait(50);
            const char *files[] = {"options-general", "options-weather", "options-satellite",
                                   "options-dx-cluster", "options-auto-recording", "options-statistics"};
            for (int i = 0; i < options->tabOptions->count(); ++i) {
                options->tabOptions->setCurrentIndex(i);
                QTest::qWait(20);
                save(options->grab(), QLatin1String(files[i]));
            }
            for (int i = 0; i < options->lstAutoRecord->topLevelItemCount(); ++i)
                names << options->lstAutoRecord->topLevelItem(i)->text(1);

            // The row editor over the 20M band, with its text being changed.
            options->tabOptions->setCurrentIndex(frmOptions::DxCluster);
            options->chkAllowEdit->setChecked(true);
            auto *editorPoll = new QTimer(options);
            QObject::connect(editorPoll, &QTimer::timeout, options, [options, editorPoll] {
                auto *editor = options->findChild<frmTp_3D *>();
                if (!editor || !editor->isVisible())
                    return;
                editorPoll->stop();
                editor->txtEd[0]->setText(QStringLiteral("20M CW"));
                editor->txtEd[0]->setFocus();
                QTest::qWait(30);
                // The dialog with the editor drawn where it sits on the screen.
                QPixmap picture = options->grab();
                QPainter painter(&picture);
                painter.drawPixmap(options->mapFromGlobal(editor->pos()), editor->grab());
                painter.end();
                save(picture, QStringLiteral("options-band-editor"));
                editor->cmdJ[1]->click();
            });
            editorPoll->start(10);
            options->editBand(options->lstBands->topLevelItem(4));
            options->cmdCancel->click();
        },
        &seen);
    m.tool(QStringLiteral("ID_Options"))->trigger();
    ASSERT_TRUE(seen);
    EXPECT_EQ(names, (QStringList{"Alan", "Dan in Sydney"})) << "names from the demo's STATIONS.INI";

    bool aboutSeen = false;
    QString title, version;
    whenShown<frmAbout>(
        &m,
        [&](frmAbout *about) {
            title = about->windowTitle();
            version = about->lblVersion->text();
            QTest::qWait(30);
            save(about->grab(), QStringLiteral("about"));
            about->cmdOK->click();
        },
        &aboutSeen);
    m.tool(QStringLiteral("ID_About..."))->trigger();
    ASSERT_TRUE(aboutSeen);
    EXPECT_EQ(title, QStringLiteral("About Kestrel"));
    EXPECT_EQ(version, QStringLiteral("Version " KESTREL_VERSION));
}
