#include "app/ProgramWiring.h"

#include "core/Utilities.h"
#include "core/WindowProviders.h"

#include "dx/frmDx.h"
#include "host/EmbeddedHost.h"
#include "stations/FrameIntake.h"
#include "stations/frmIncoming.h"
#include "stations/frmDocument.h"
#include "stations/frmStationInfo.h"
#include "stations/frmStations.h"
#include "stations/subFunctions.h"
#include "stations/WeatherStorePort.h"
#include "weather/WxDataStore.h"
#include "weather/frmWx.h"

void wireProgram()
{
    WindowProviders &make = providers();
    make.host = [](const QString &hostFolder, QObject *parent, QString *error) {
        return createEmbeddedHost(hostFolder, parent, error);
    };
    make.terminal = []() -> QWidget * { return new frmIncoming; };
    make.stationList = []() -> QWidget * { return new frmDocument; };
    make.stationsMonitor = []() -> QWidget * { return new frmStations; };
    make.dxMonitor = []() -> QWidget * { return new frmDx; };
    make.weather = []() -> QWidget * { return new frmWx; };
    installWeatherStore(&WxDataStore::program());
    make.stationInfo = [](QWidget *owner) { frmStationInfo::showFor(owner); };
    setStationInfoHandler([] { frmStationInfo::showFor(mainWindow()); });
    make.frameIntake = [](HostApplication *host, QObject *owner) -> std::function<void(const QString &)> {
        auto *intake = new FrameIntake(*host, owner);
        return [intake](const QString &text) { intake->receive(text); };
    };
}
