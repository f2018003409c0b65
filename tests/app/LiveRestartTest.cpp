// What a user set up is there again after a restart: the stations the host
// heard (in the list and on the map) and the satellites chosen, with the
// tracking views as they were left, even when the element file was
// refreshed in between.
#include "LiveProgramFixture.h"

#include "satellites/KepsFile.h"
#include "satellites/OrbiterControl.h"
#include "satellites/SatelliteSelection.h"
#include "satellites/frmSatSetup.h"
#include "satellites/frmSatStatus.h"

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QTabWidget>
#include <QTreeWidget>

namespace {

const QStringList kTraffic = {
    QStringLiteral("G4KDA>APKS01,G3KDC-1*,WIDE2-1:!5145.67N/00115.71W-Home station"),
    QStringLiteral("M0KDB>APKS01,G7KDF-2*,WIDE2-1:!5142.30N/00109.90W-QRV 2m/70cm"),
    QStringLiteral("G3KDC-1>APKS01,WIDE2-1:!5152.20N/00129.40W#Witney fill-in digi PHG5130"),
    QStringLiteral("G4KDA>APKS01,WIDE1-1,WIDE2-1:;RPTOX    *072000z5144.10N/00116.80Wr145.7375MHz"),
};

// Three sets; the second file renames one, reorders them and moves the epoch.
enum class Keps { First, Refreshed, StationOnly };

QByteArray elementFile(Keps which)
{
    using testorbits::Elements;
    QList<QPair<QByteArray, Elements>> sets = {
        {"ISS", testorbits::kStation}, {"NOAA-19", testorbits::kWeather}, {"MOLNIYA 1-93", testorbits::kMolniya}};
    if (which == Keps::StationOnly)
        sets.resize(1);
    if (which == Keps::Refreshed) {
        sets = {sets[2], sets[0], {"NOAA 19", sets[1].second}};
        for (auto &set : sets)
            set.second.epochDay += 1;
    }
    QByteArray text;
    for (const auto &[name, elements] : sets) {
        const auto [l1, l2] = testorbits::lines(elements);
        text += name + "\r\n" + QByteArray::fromStdString(l1) + "\r\n" + QByteArray::fromStdString(l2) + "\r\n";
    }
    return text;
}

void writeKeps(Keps which)
{
    QFile keps(GetDataFolder() + QStringLiteral("/Keps/Keps.txt"));
    ASSERT_TRUE(keps.open(QIODevice::WriteOnly | QIODevice::Truncate));
    keps.write(elementFile(which));
}

} // namespace

TEST_F(LiveProgramTest, ARestartKeepsTheHostsStationsAndTheChosenSatellites)
{
    writeKeps(Keps::First);
    frmMain &first = start(kTraffic);
    play();
    const int stations = host()->database().size();
    ASSERT_GE(stations, 5);

    // NOAA-19 and the Molniya chosen, NOAA-19 on the map; three orbits on the world view, shown.
    {
        frmSatSetup dialog(&first);
        dialog.lstSats->item(1)->setSelected(true);
        dialog.lstSats->item(2)->setSelected(true);
        dialog.cmdAdd_Click();
        ASSERT_EQ(dialog.lstSelected->topLevelItemCount(), 2);
        dialog.lstSelected->topLevelItem(0)->setCheckState(0, Qt::Checked);
        dialog.cmdOK_Click();
    }
    QComboBox *orbits = first.combo(QStringLiteral("ID_Orbits"));
    orbits->setCurrentIndex(2);
    emit orbits->activated(2);
    first.tool(QStringLiteral("ID_DisplayMoon"))->trigger();
    first.tool(QStringLiteral("ID_SatelliteStatus"))->trigger();
    auto *status = qobject_cast<frmSatStatus *>(first.satelliteStatus());
    ASSERT_NE(status, nullptr);
    status->tabStrip()->setCurrentIndex(1);
    quit();

    // A new element file arrives while the program is closed; a new run
    // starts with nothing chosen and reads everything back.
    writeKeps(Keps::Refreshed);
    satelliteSelection().clear();
    store.write(QStringLiteral("Kestrel"), QStringLiteral("Startup"), QStringLiteral("Preload"), QStringLiteral("True"));
    frmMain &second = start(kTraffic);

    ASSERT_NE(host(), nullptr);
    EXPECT_EQ(host()->database().size(), stations) << "the host's stations came back";
    const int rows = mainList()->model().count();
    for (const char *callsign : {"G4KDA", "M0KDB", "G3KDC-1", "RPTOX"})
        EXPECT_GE(rowOf(QLatin1String(callsign)), 0) << callsign << " is in the list again";
    HostStationRecord digi;
    digi.callsign = QStringLiteral("G3KDC-1");
    ASSERT_TRUE(host()->lookUpStation(digi));
    EXPECT_NEAR(digi.latitude, 51 * 60 + 52.2, 0.01) << "and on the map where it was";

    const SatelliteSelection &chosen = satelliteSelection();
    ASSERT_EQ(keps().sets[0].name, QStringLiteral("MOLNIYA 1-93"));
    EXPECT_TRUE(chosen.selected[1]) << "the Molniya, now first in the file";
    EXPECT_FALSE(chosen.selected[2]) << "the space station was not chosen";
    EXPECT_TRUE(chosen.selected[3]) << "NOAA-19, renamed, found by its catalogue number";
    EXPECT_TRUE(chosen.plot[3]);
    EXPECT_FALSE(chosen.plot[1]);
    status = qobject_cast<frmSatStatus *>(second.satelliteStatus());
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->orbiter()->satelliteCount(), 2);
    EXPECT_EQ(second.combo(QStringLiteral("ID_Orbits"))->currentText(), QStringLiteral("3"));
    EXPECT_FALSE(second.tool(QStringLiteral("ID_DisplayMoon"))->isChecked());
    EXPECT_TRUE(second.tool(QStringLiteral("ID_SatelliteStatus"))->isChecked());
    EXPECT_TRUE(status->isVisible());
    EXPECT_EQ(status->tabStrip()->currentIndex(), 1);

    // The replay plays the same traffic again: the same records, none twice.
    play();
    EXPECT_EQ(host()->database().size(), stations);
    EXPECT_EQ(mainList()->model().count(), rows) << "each station listed once";

    // A run whose element file lacks them keeps them chosen for the next.
    quit();
    writeKeps(Keps::StationOnly);
    satelliteSelection().clear();
    start(kTraffic);
    EXPECT_FALSE(satelliteSelection().selected[1]);
    quit();
    writeKeps(Keps::Refreshed);
    satelliteSelection().clear();
    start(kTraffic);
    EXPECT_TRUE(satelliteSelection().selected[1]);
    EXPECT_TRUE(satelliteSelection().selected[3]);
}
