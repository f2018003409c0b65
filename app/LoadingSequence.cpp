#include "app/LoadingSequence.h"

#include "core/AppInfo.h"
#include "core/Clock.h"
#include "core/Configuration.h"
#include "core/ErrorReport.h"
#include "core/LineText.h"
#include "core/HostApplication.h"
#include "core/Prompts.h"
#include "core/PrivateProfile.h"
#include "core/ScreenFit.h"
#include "core/SettingsStore.h"
#include "core/Utilities.h"
#include "core/WholeFileWriter.h"
#include "core/WindowInterfaces.h"
#include "core/WindowProviders.h"
#include "core/WindowRegistry.h"
#include "app/FirstStart.h"
#include "app/frmMain.h"
#include "dx/ObserverLocations.h"
#include "satellites/OrbiterControl.h"
#include "satellites/TrackerSettings.h"
#include "zones/TimeZones.h"

#include <QFile>
#include <QMdiSubWindow>
#include <QScreen>

#include <cmath>
#include <stdexcept>

namespace {

const QString kProcedure = QStringLiteral("tmrLoad_Timer");
const QString kTimeZoneError = QStringLiteral("Unable to locate Time Zones information in Registry under the key: ");
const QString kDuplicateKey = QStringLiteral("This key is already associated with an element of this collection");
const QString kHostVendor = QStringLiteral("Peak Systems");
const QString kHostSection = QStringLiteral("UI-View32");
const QString kHostFolderKey = QStringLiteral("Program Folder");
const QString kNoHostFolder = QStringLiteral(
    "The UI-View32 folder is not known; choose it on the General tab of Kestrel Options.");
const QString kRegistrationFile = QStringLiteral("/Kestrel.xtr");
const QString kHostIni = QStringLiteral("/UIVIEW32.INI");
constexpr double kTwipsPerPixel = 15.0;

// A step's failure, reported with its description.
struct StepError : std::runtime_error
{
    explicit StepError(const QString &text) : std::runtime_error(text.toStdString()) {}
};

void report(const QString &description)
{
    reportError(kProcedure, description);
}

} // namespace

double hostPositionToMinutes(const QString &text, int degreeDigits)
{
    const int d = degreeDigits;
    const int degrees = text.mid(0, d).toInt();
    const int minutes = text.mid(d, 2).toInt();
    const QString hundredths = text.mid(d + 3, 2);
    const QString number = QString::number(degrees * 60 + minutes) + u'.' + hundredths;
    double value = number.toDouble();
    // A position past the pole or beyond 180 degrees is no place: read it
    // as a missing one rather than let distances and bearings go wrong.
    if (!std::isfinite(value) || std::fabs(value) > (d == 3 ? 180 : 90) * 60.0)
        value = 0;
    // The host reads "3330.50s" as south too.
    const QChar hemisphere = text.isEmpty() ? QChar() : text.back().toUpper();
    if (hemisphere == u'S' || hemisphere == u'W')
        value = -value;
    return value;
}

HomeStation ReadHostStation(const QString &hostFolder)
{
    PrivateProfile ini(hostFolder + kHostIni);
    ini.load();
    auto read = [&ini](const char *key) {
        return ini.value(QStringLiteral("STATION"), QLatin1String(key)).left(500);
    };
    HomeStation home;
    home.latitude = hostPositionToMinutes(read("LATITUDE"), 2);
    home.longitude = hostPositionToMinutes(read("LONGITUDE"), 3);
    home.callsign = read("CALLSIGN");
    return home;
}

QByteArray registrationFileContent()
{
    const QString programPath = GetShortPath(GetDataFolder() + QStringLiteral("/Kestrel.exe"));
    return "Kestrel\r\n" + encodeLine(programPath) + "\r\nFalse\r\nTrue\r\n";
}

void LoadingSequence::run()
{
    frmMain &main = m_main;
    auto step = [](const QString &, auto &&work) {
        try {
            work();
        } catch (const std::exception &e) {
            report(QString::fromStdString(e.what()));
        }
    };
    auto progress = [&main](const QString &text) { main.setStatusText(text); };

    main.m_tmrLoad.stop();
    step({}, [&] { placeMainWindow(); });
    step({}, [&] { observerLocations().load(ObserverLocations::defaultPath()); });
    step({}, [&] {
        QStringList errors;
        config().read(SettingsStore::instance(), &errors);
        for (const QString &error : errors)
            report(error);
    });
    main.setIndicator(4, false);
    main.setIndicator(5, false);
    step({}, [&] { main.readListFont(); });

    progress(QStringLiteral("Loading Auto Log"));
    step({}, [&] { readAutoLog(); });

    progress(QStringLiteral("Loading Timezone data"));
    if (!loadTimeZones())
        return;

    progress(QStringLiteral("Locating UIView32"));
    step({}, [&] { locateHost(); });

    progress(QStringLiteral("Loading DX"));
    step({}, [&] { loadDxMonitor(); });

    progress(QStringLiteral("Loading Satellite Window"));
    step({}, [&] { loadSatelliteWindow(); });

    step({}, [&] { createHost(); });
    step({}, [&] { shared().home = ReadHostStation(config().hostFolder); });

    progress(QStringLiteral("Loading Station List"));
    step({}, [&] { main.OpenDataWindow(1, QString()); });

    progress(QStringLiteral("Loading Monitor Window"));
    step({}, [&] { loadTerminal(); });

    progress(QStringLiteral("Loading Statistics Window"));
    step({}, [&] { main.OpenDataWindow(4, QString()); });

    progress(QStringLiteral("Reading Satellite Data"));
    step({}, [&] {
        const QString elements = GetDataFolder() + QStringLiteral("/Keps/Keps.txt");
        // A new station has no element sets yet; that is no fault to report.
        if (providers().readElements && !(m_firstStart && !FileExists(elements)))
            providers().readElements(elements);
    });
    step({}, [&] { main.restoreSatelliteChoices(); });

    step({}, [&] { writeRegistrationFile(); });

    progress(QStringLiteral("Starting DDE Link to UI-View32"));
    step({}, [&] { openLink(); });

    progress(QStringLiteral("Ready..."));
    main.m_loadingDone = true;
    emit main.loaded();
    if (m_setUpStation && main.m_host)
        FirstStart::setUpStation(main.m_host);
}

void LoadingSequence::placeMainWindow()
{
    Configuration &c = config();
    QStringList errors;
    c.readPlacement(SettingsStore::instance(), &errors);
    QString stored;
    if (!SettingsStore::instance().read(AppInfo::Title, QStringLiteral("Settings"), QStringLiteral("MainWidth"), &stored)) {
        // First start: both toolbar rows whole and a useful list, centred in
        // what the screen has free (and no larger).
        const QMargins frame = ScreenFit::frameMargins(&m_main);
        const QRect area = ScreenFit::availableArea(&m_main);
        const QSize inner = m_main.firstStartSize().boundedTo(area.marginsRemoved(frame).size());
        const QSize outer = inner.grownBy(frame);
        m_main.resize(inner);
        m_main.move(area.left() + (area.width() - outer.width()) / 2, area.top() + (area.height() - outer.height()) / 2);
        return;
    }
    const int left = int(std::lround(c.mainLeft / kTwipsPerPixel));
    const int top = int(std::lround(c.mainTop / kTwipsPerPixel));
    // A window smaller than this is of no use: keep the toolbar and a list in view.
    const int width = qMax(480, int(std::lround(c.mainWidth / kTwipsPerPixel)));
    const int height = qMax(320, int(std::lround(c.mainHeight / kTwipsPerPixel)));
    m_main.move(left, top);
    m_main.resize(width, height);
    // Kept from a larger screen, or one no longer attached: back in sight.
    ScreenFit::keepInside(&m_main);
    for (const QString &error : errors)
        report(error);
}

void LoadingSequence::readAutoLog()
{
    AutoRecordList &list = shared().autoRecords;
    list.clear();
    SettingsStore &store = SettingsStore::instance();
    for (int i = 1; i <= 100; ++i) {
        const QString callsign = store.value(AppInfo::Title, QStringLiteral("AutoLog"),
                                             QStringLiteral("AutoLog%1").arg(i));
        if (callsign.isEmpty())
            break;
        if (!list.add({callsign, true}))
            report(kDuplicateKey);
    }
}

bool LoadingSequence::loadTimeZones()
{
    Timezone &table = timezones();
    const QString key = Timezone::timeZonesKey();
    const QDateTime now = Clock::instance().now();
    if (!table.LoadTimeZones(key, now.date().year())) {
        Prompts::instance().message(kTimeZoneError + QStringLiteral("\r\n") + key, AppInfo::Title,
                                    Prompts::Buttons::Ok, Prompts::Icon::None);
        m_main.close();
        return false;
    }
    // The system may name its zone by an alias the table does not list.
    QString system = Timezone::systemStandardName();
    if (const QString listed = table.resolve(system); !listed.isEmpty())
        system = listed;
    table.selectCurrent(system);
    Configuration &c = config();
    if (c.timezone == QLatin1String("Not Set")) {
        c.timezone = system;
        c.daylightSaving = zoneClockAt(now, table.current()).daylight;
    } else if (c.timezone != system && table.find(c.timezone)) {
        // A zone the user chose in the options stays the current one.
        table.selectCurrent(c.timezone);
    }
    return true;
}

void LoadingSequence::locateHost()
{
    Configuration &c = config();
    if (c.hostFolder.isEmpty()) {
        QString folder = SettingsStore::instance().value(kHostVendor, kHostSection, kHostFolderKey);
        if (folder.endsWith(u'/') || folder.endsWith(u'\\'))
            folder.chop(1);
        c.hostFolder = folder;
    }
    if (!c.hostFolder.isEmpty() || !providers().options)
        return;
    if (!Prompts::instance().interactive()) {
        Prompts::instance().message(kNoHostFolder, AppInfo::Title, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return;
    }
    // Still none: a new user is offered the demo or a station of their own;
    // the options dialog (its General tab) is for a folder they already have.
    m_firstStart = true;
    switch (FirstStart::ask()) {
    case FirstStart::Course::Demo: return;
    case FirstStart::Course::OwnStation: m_setUpStation = true; return;
    case FirstStart::Course::ChooseFolder: break;
    }
    providers().options(&m_main);
}

void LoadingSequence::loadDxMonitor()
{
    if (!providers().dxMonitor)
        return;
    QWidget *window = providers().dxMonitor();
    m_main.addChild(window, WindowTag::DxMonitor, false);
    m_main.m_dxMonitor = window;
    m_main.keepOneOnly(window, QStringLiteral("ID_DXClusterDisplay"), QStringLiteral("DX Stations Monitor"));
}

void LoadingSequence::loadSatelliteWindow()
{
    if (!providers().satelliteStatus)
        return;
    QWidget *window = providers().satelliteStatus();
    m_main.addChild(window, QString(), false);
    m_main.m_satelliteStatus = window;
    m_main.keepOneOnly(window, QStringLiteral("ID_SatelliteStatus"), QStringLiteral("Satellite Status"));

    auto *satellites = dynamic_cast<SatelliteWindow *>(window);
    OrbiterControl *orbiter = satellites ? satellites->orbiter() : nullptr;
    if (!orbiter)
        return;
    pushTrackerSettings(*orbiter, config(), timezones().current(), Clock::instance().now());
}

void LoadingSequence::createHost()
{
    // Without a host the link step reports the one failure; nothing here.
    if (!providers().host) {
        m_hostError = QStringLiteral("The host program is not running");
        return;
    }
    HostApplication *host = providers().host(config().hostFolder, &m_main, &m_hostError);
    m_main.attachHost(host);
}

void LoadingSequence::loadTerminal()
{
    if (!providers().terminal)
        return;
    QWidget *window = providers().terminal();
    m_main.addChild(window, QString(), false);
    m_main.m_terminal = window;
    m_main.keepOneOnly(window, QStringLiteral("ID_Inbound"), QStringLiteral("Terminal Window"));
}

void LoadingSequence::writeRegistrationFile()
{
    const QString folder = config().hostFolder;
    // With no host folder the name would point at the root of the file system.
    if (folder.isEmpty())
        return;
    const QString path = folder + kRegistrationFile;
    if (FileExists(path))
        return;
    QString error;
    if (!WholeFileWriter::save(path, registrationFileContent(), &error))
        throw StepError(error);
}

void LoadingSequence::openLink()
{
    QString error;
    if (!m_main.m_host && m_firstStart && config().hostFolder.isEmpty()) {
        // The user closed the question without a folder: say where to set it.
        Prompts::instance().message(kNoHostFolder, AppInfo::Title, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return;
    }
    if (!m_main.m_host) {
        throw StepError(m_hostError.isEmpty() ? QStringLiteral("The host program is not running") : m_hostError);
    }
    if (!m_main.openLink(&error))
        throw StepError(error);
}
