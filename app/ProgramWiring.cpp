#include "app/ProgramWiring.h"

#include "core/Utilities.h"
#include "core/WindowProviders.h"

#include "host/EmbeddedHost.h"
#include "stations/FrameIntake.h"
#include "stations/frmIncoming.h"
#include "stations/frmDocument.h"
#include "stations/frmStationInfo.h"
#include "stations/frmStations.h"
#include "stations/subFunctions.h"

void wireProgram()
{
    WindowProviders &make = providers();
    make.host = [](const QString &hostFolder, QObject *parent, QString *error) {
        return createEmbeddedHost(hostFolder, parent, error);
    };
    make.terminal = []() -> QWidget * { return new frmIncoming; };
    make.stationList = []() -> QWidget * { return new frmDocument; };
    make.stationsMonitor = []() -> QWidget * { return new frmStations; };
    make.stationInfo = [](QWidget *owner) { frmStationInfo::showFor(owner); };
    setStationInfoHandler([] { frmStationInfo::showFor(mainWindow()); });
    make.frameIntake = attachFrameIntake;
}
