#include "app/ProgramWiring.h"

#include "app/Utilities.h"
#include "app/WindowProviders.h"

#ifdef KESTREL_HAVE_HOST
#include "host/EmbeddedHost.h"
#endif
#ifdef KESTREL_HAVE_STATIONS
#include "stations/FrameIntake.h"
#include "stations/frmIncoming.h"
#include "stations/frmDocument.h"
#include "stations/frmStationInfo.h"
#include "stations/frmStations.h"
#include "stations/subFunctions.h"
#endif

void wireProgram()
{
    [[maybe_unused]] WindowProviders &make = providers();
#ifdef KESTREL_HAVE_HOST
    make.host = [](const QString &hostFolder, QObject *parent, QString *error) {
        return createEmbeddedHost(hostFolder, parent, error);
    };
#endif
#ifdef KESTREL_HAVE_STATIONS
    make.terminal = []() -> QWidget * { return new frmIncoming; };
    make.stationList = []() -> QWidget * { return new frmDocument; };
    make.stationsMonitor = []() -> QWidget * { return new frmStations; };
    make.stationInfo = [](QWidget *owner) { frmStationInfo::showFor(owner); };
    setStationInfoHandler([] { frmStationInfo::showFor(mainWindow()); });
    make.frameIntake = [](HostApplication *host, QObject *owner) -> std::function<void(const QString &)> {
        auto *intake = new FrameIntake(*host, owner);
        return [intake](const QString &text) { intake->receive(text); };
    };
#endif
}
