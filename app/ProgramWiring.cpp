#include "app/ProgramWiring.h"

#include "core/MainWindowPort.h"
#include "core/WindowProviders.h"

#include "dx/frmDx.h"
#include "capture/frmCapture.h"
#include "host/EmbeddedHost.h"
#include "hostlogs/frmLogMaintenance.h"
#include "statistics/frmStatistics.h"
#include "options/frmOptions.h"
#include "orbiter/OrbiterView.h"
#include "satellites/KepsFile.h"
#include "satellites/frmSatSetup.h"
#include "satellites/frmSatStatus.h"
#include "stations/FrameIntake.h"
#include "stations/frmIncoming.h"
#include "stations/frmDocument.h"
#include "stations/frmStationInfo.h"
#include "stations/frmStations.h"
#include "stations/subFunctions.h"
#include "stations/WeatherStorePort.h"
#include "weather/WxDataStore.h"
#include "weather/frmWx.h"
#include "ui/frmAbout.h"

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
    make.options = [](QWidget *owner) { frmOptions::showFor(owner, frmOptions::General); };
    make.about = [](QWidget *owner) { frmAbout::showFor(owner); };
    setStationInfoHandler([] { frmStationInfo::showFor(MainWindowPort::widget()); });
    make.statistics = [](const QString &file) -> QWidget * {
        return new frmStatistics(file.isEmpty() ? frmStatistics::Kind::Live : frmStatistics::Kind::Saved);
    };
    make.capture = [](int) -> QWidget * { return new frmCapture; };
    frmCapture::setWindowOpener([]() -> QWidget * {
        MainWindowPort *main = MainWindowPort::instance();
        return main ? main->openCaptureWindow() : nullptr;
    });
    make.logMaintenance = [](QWidget *owner) { frmLogMaintenance::showFor(owner); };
    make.frameIntake = attachFrameIntake;
    make.satelliteStatus = []() -> QWidget * {
        auto *control = new orbiter::OrbiterView;
        return new frmSatStatus(*control, control);
    };
    make.satelliteSetup = [](QWidget *owner) { frmSatSetup::showFor(owner); };
    make.readElements = [](const QString &path) { LoadKeps(path); };
}
