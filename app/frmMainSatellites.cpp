// The main window's part in keeping the satellite set-up from one run to the
// next: the chosen satellites and the satellite tools and view.
#include "app/frmMain.h"

#include "core/SettingsStore.h"
#include "core/WindowInterfaces.h"
#include "satellites/SatelliteChoices.h"
#include "satellites/frmSatStatus.h"

#include <QAction>
#include <QComboBox>
#include <QTabWidget>

namespace {

const QString kSatelliteStatus = QStringLiteral("ID_SatelliteStatus");
const QString kLines = QStringLiteral("ID_PointsOrLines");
const QString kSun = QStringLiteral("ID_DisplaySun");
const QString kMoon = QStringLiteral("ID_DisplayMoon");
const QString kOrbits = QStringLiteral("ID_Orbits");
const QString kPlotInterval = QStringLiteral("ID_PlotInterval");

} // namespace

SatelliteChoices frmMain::satelliteChoices() const
{
    SatelliteChoices choices;
    choices.picks = picksOf(satelliteSelection(), keps().sets);
    // A satellite missing from this run's element file (or the whole file
    // missing) stays chosen for a run whose file has it again.
    SatelliteSelection probe;
    choices.picks += applyPicks(m_unplacedSatellites, keps().sets, probe);
    choices.orbits = combo(kOrbits)->currentText().toInt();
    choices.plotInterval = combo(kPlotInterval)->currentText();
    choices.lines = tool(kLines)->isChecked();
    choices.sun = tool(kSun)->isChecked();
    choices.moon = tool(kMoon)->isChecked();
    choices.statusShown = tool(kSatelliteStatus)->isChecked();
    if (auto *status = qobject_cast<frmSatStatus *>(m_satelliteStatus.data()))
        choices.view = status->tabStrip()->tabText(status->tabStrip()->currentIndex());
    return choices;
}

void frmMain::restoreSatelliteChoices()
{
    const SatelliteChoices choices = SatelliteChoices::read(SettingsStore::instance());
    if (!choices.stored)
        return;
    // Each through the path a click takes, so the views follow.
    for (const auto &[id, on] : {std::pair{kLines, choices.lines}, {kSun, choices.sun}, {kMoon, choices.moon}})
        if (tool(id)->isChecked() != on) {
            tool(id)->setChecked(on);
            satelliteDisplayChanged(id);
        }
    for (const auto &[id, text] : {std::pair{kOrbits, QString::number(choices.orbits)},
                                   {kPlotInterval, choices.plotInterval}})
        if (const int index = combo(id)->findText(text); index >= 0 && index != combo(id)->currentIndex()) {
            combo(id)->setCurrentIndex(index);
            satelliteDisplayChanged(id);
        }
    auto *status = qobject_cast<frmSatStatus *>(m_satelliteStatus.data());
    if (status && !choices.view.isEmpty())
        status->SetupTab(choices.view);

    m_unplacedSatellites = applyPicks(choices.picks, keps().sets, satelliteSelection());
    if (status && !picksOf(satelliteSelection(), keps().sets).isEmpty()) {
        status->updater().SubSetupSatellites(this);
        status->updateNow();
    }
    if (choices.statusShown && !tool(kSatelliteStatus)->isChecked())
        tool(kSatelliteStatus)->trigger();
}
