#include "app/FirstStart.h"

#include "cli/DemoInstaller.h"
#include "core/AppInfo.h"
#include "core/Clock.h"
#include "core/Configuration.h"
#include "core/IniSettingsStore.h"
#include "core/PrivateProfile.h"
#include "core/Prompts.h"
#include "core/SettingsStore.h"
#include "core/ShippedData.h"
#include "core/Utilities.h"
#include "host/EmbeddedHost.h"
#include "host/HostConfig.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace FirstStart {

namespace {

QString g_aprsIsHost = QStringLiteral("rotate.aprs2.net");
quint16 g_aprsIsPort = 14580;  // the port where servers take a user's filter
constexpr int FilterRangeKm = 100;

QString installDemo(QString *errorText)
{
    const QString share = ShippedDataFolder();
    if (share.isEmpty()) {
        *errorText = QStringLiteral("The demo's files were not found with Kestrel.");
        return {};
    }
    DemoInstaller installer({share, GetDataFolder(), IniSettingsStore::configFolder()}, Clock::instance().now());
    if (!installer.run(errorText))
        return {};
    return GetDataFolder() + u'/' + DemoInstaller::DemoFolderName;
}

// The installer wrote options that suit the demo; the zone found at this
// start stays unless they name one.
void readDemoOptions()
{
    Configuration &c = config();
    const QString zone = c.timezone;
    const bool daylight = c.daylightSaving;
    c.read(SettingsStore::instance(), nullptr);
    if (c.timezone == QLatin1String("Not Set")) {
        c.timezone = zone;
        c.daylightSaving = daylight;
    }
}

} // namespace

QString createStationFolder(QString *errorText)
{
    const QString folder = GetDataFolder() + u'/' + StationFolderName;
    if (!QDir().mkpath(folder + QStringLiteral("/Logs"))) {
        *errorText = QStringLiteral("The folder %1 cannot be made.").arg(folder);
        return {};
    }
    // A folder set up before and left is taken up again as it is.
    const QString ini = EmbeddedHost::stationIniPath(folder);
    if (!QFileInfo::exists(ini)) {
        PrivateProfile station(ini);
        const QString section = QStringLiteral("STATION");
        station.setValue(section, QStringLiteral("CALLSIGN"), QString());
        station.setValue(section, QStringLiteral("LATITUDE"), QString());
        station.setValue(section, QStringLiteral("LONGITUDE"), QString());
        if (!station.save(errorText))
            return {};
    }
    if (!QFileInfo::exists(folder + u'/' + HostConfig::FileName)) {
        HostConfig host;
        // Nothing goes on the air until the user sets a beacon up.
        host.beaconIntervalMinutes = 0;
        if (!host.write(folder, errorText))
            return {};
    }
    return folder;
}

Course ask()
{
    Prompts &prompts = Prompts::instance();
    const int chosen = prompts.choose(Question, AppInfo::Title, Choices);
    if (chosen != int(Course::Demo) && chosen != int(Course::OwnStation))
        return Course::ChooseFolder;
    const Course course = Course(chosen);
    QString error;
    const QString folder = course == Course::Demo ? installDemo(&error) : createStationFolder(&error);
    if (folder.isEmpty()) {
        prompts.message(error, AppInfo::Title, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return Course::ChooseFolder;
    }
    if (course == Course::Demo)
        readDemoOptions();
    else
        SettingsStore::instance().write(AppInfo::Title, QStringLiteral("Paths"), QStringLiteral("UIVIEW32"), folder);
    config().hostFolder = folder;
    return course;
}

QString rangeFilter(double latitude, double longitude)
{
    return QStringLiteral("r/%1/%2/%3")
        .arg(QString::number(latitude, 'f', 2), QString::number(longitude, 'f', 2))
        .arg(FilterRangeKm);
}

void setUpStation(HostApplication *application)
{
    auto *host = dynamic_cast<EmbeddedHost *>(application);
    if (!host)
        return;
    auto once = std::make_shared<QMetaObject::Connection>();
    *once = QObject::connect(host, &HostApplication::homeStationChanged, host,
                             [host, once](const QString &, double latitude, double longitude) {
        QObject::disconnect(*once);
        // After the Station window's own OK has run to its end.
        QTimer::singleShot(0, host, [host, latitude, longitude] {
            QList<FeedSettings> feeds = host->config().feeds;
            const bool hasAprsIs = std::any_of(feeds.begin(), feeds.end(), [](const FeedSettings &s) {
                return s.type == FeedSettings::Type::AprsIs;
            });
            if (!hasAprsIs) {
                FeedSettings aprsIs;
                aprsIs.type = FeedSettings::Type::AprsIs;
                aprsIs.host = g_aprsIsHost;
                aprsIs.port = g_aprsIsPort;
                aprsIs.filter = rangeFilter(latitude, longitude);
                aprsIs.idleTimeoutSeconds = FeedSettings::defaultIdleTimeout(aprsIs.type);
                feeds.append(aprsIs);
                QString error;
                if (!host->applyFeeds(feeds, &error))
                    Prompts::instance().message(error, AppInfo::Title, Prompts::Buttons::Ok,
                                                Prompts::Icon::Exclamation);
            }
            host->showFeedsSetup();
        });
    });
    host->showStationSetup();
}

void setAprsIsServer(const QString &host, quint16 port)
{
    g_aprsIsHost = host;
    g_aprsIsPort = port;
}

} // namespace FirstStart
