#pragma once

#include "core/Configuration.h"
#include "core/SharedState.h"
#include "core/WindowInterfaces.h"
#include "core/WindowRegistry.h"
#include "dx/BandTable.h"
#include "dx/ObserverLocations.h"
#include "zones/TimeZones.h"
#include "options/frmOptions.h"

#include "FakeHost.h"
#include "FakeOrbiter.h"
#include "ScriptedPorts.h"
#include "TempDirs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

// The satellite status window as the dialog sees it: its tracking control.
class SatellitesStandIn : public QWidget, public SatelliteWindow
{
public:
    void updateNow() override { orbiterFake.calls << QStringLiteral("updateNow"); }
    OrbiterControl *orbiter() override { return &orbiterFake; }
    FakeOrbiter orbiterFake;
};

// A DX window with the controls the dialog mirrors its settings into.
class DxStandIn : public QWidget
{
public:
    DxStandIn()
    {
        for (const char *name : {"chkPlot", "chkIndicate", "chkAllowSpotNotification"}) {
            auto *box = new QCheckBox(this);
            box->setObjectName(QLatin1String(name));
            QObject::connect(box, &QCheckBox::clicked, [this, name] { clicks << QLatin1String(name); });
        }
        expire = new QLineEdit(this);
        expire->setObjectName(QStringLiteral("txtExpire"));
    }
    QCheckBox *box(const char *name) { return findChild<QCheckBox *>(QLatin1String(name)); }
    QStringList clicks;
    QLineEdit *expire;
};

class WeatherStandIn : public QWidget, public WeatherWindow
{
public:
    void SetWxDisplay() override {}
    void UpdateChartRanges() override { ++rangeUpdates; }
    int rangeUpdates = 0;
};

// Fresh configuration, a host folder with the host program's file and a
// STATIONS.INI, the zone table and a few known places for every test.
class OptionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        config() = Configuration{};
        shared() = SharedState{};
        shared().host = &host;
        WindowRegistry::instance().clear();
        hostFolder = dirs.data() + QStringLiteral("/host");
        QDir().mkpath(hostFolder);
        writeFile(hostFolder + QStringLiteral("/uiview32.exe"), "MZ");
        writeFile(hostFolder + QStringLiteral("/STATIONS.INI"), "[G4KDA]\r\nNAME=Alan\r\n[Q1XYZ]\r\nNAME=Quentin\r\n");
        config().hostFolder = hostFolder;
        config().timezone = QStringLiteral("Europe/London");
        if (timezones().zones().isEmpty())
            timezones().LoadTimeZones(Timezone::timeZonesKey(), 2026);
        timezones().selectCurrent(QStringLiteral("Europe/London"));
        const QString places = dirs.data() + QStringLiteral("/places.txt");
        writeFile(places, "1,LON,London,51.5074,0.1278\r\n2,BRS,Bristol,51.4545,2.5879\r\n"
                          "3,OX,Oxford,51.75,1.5\r\n4,,,0,0\r\n5,AFT,After the gap,1,1\r\n");
        observerLocations().load(places);
        bandTable().setBands(BandTable::builtIn());
    }

    void TearDown() override
    {
        dialog.reset();
        WindowRegistry::instance().clear();
        observerLocations().clear();
        shared() = SharedState{};
    }

    static void writeFile(const QString &path, const QByteArray &content)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    frmOptions &open()
    {
        dialog = std::make_unique<frmOptions>();
        dialog->show();
        // Focus moves (leaving a field) need an active window.
        QApplication::setActiveWindow(dialog.get());
        return *dialog;
    }

    // Texts of the rows of a list, one "callsign|name|checked" each.
    static QStringList rows(QTreeWidget *list)
    {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *item = list->topLevelItem(i);
            QStringList cells;
            for (int c = 0; c < list->columnCount(); ++c)
                cells << item->text(c);
            cells << (item->checkState(0) == Qt::Checked ? QStringLiteral("on") : QStringLiteral("off"));
            out << cells.join(u'|');
        }
        return out;
    }

    TempDirs dirs;
    ScriptedPrompts prompts;
    FixedClock clock{QDateTime(QDate(2026, 7, 1), QTime(12, 0))};
    FakeHostApplication host;
    QString hostFolder;
    std::unique_ptr<frmOptions> dialog;
};
