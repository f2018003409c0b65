#include "cli/DemoInstaller.h"

#include "cli/DemoSatellites.h"
#include "cli/DemoWeather.h"
#include "core/AppInfo.h"
#include "core/Configuration.h"
#include "core/PrivateProfile.h"
#include "core/SettingsStore.h"
#include "core/WholeFileWriter.h"
#include "host/HostConfig.h"
#include "host/StationDatabase.h"
#include "satellites/KepsFile.h"
#include "satellites/SatelliteChoices.h"
#include "weather/WxDataFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

const QString kHostIni = QStringLiteral("UIVIEW32.INI");
const QString kTraffic = QStringLiteral("DemoTraffic.txt");
const QString kHostVendor = QStringLiteral("Peak Systems");
const QString kHostSection = QStringLiteral("UI-View32");
const QString kHostFolderKey = QStringLiteral("Program Folder");
// The mark an earlier installer kept beside the element file it wrote.
const QString kOldKepsMark = QStringLiteral("Keps/.demo-keps");
constexpr double kHomeHeight = 70;  // metres, about the height of Oxford

QByteArray sha256(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QByteArray readAll(const QString &path, bool *ok = nullptr)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (ok)
        *ok = opened;
    return opened ? file.readAll() : QByteArray();
}

// Kestrel's settings writers aimed at one profile file held in memory.
class ProfileStore : public SettingsStore
{
public:
    explicit ProfileStore(PrivateProfile &profile) : m_profile(profile) {}
    bool read(const QString &, const QString &section, const QString &key, QString *value) const override
    {
        if (!m_profile.contains(section, key))
            return false;
        *value = m_profile.value(section, key);
        return true;
    }
    void write(const QString &, const QString &section, const QString &key, const QString &value) override
    {
        m_profile.setValue(section, key, value);
    }
    void removeSection(const QString &, const QString &section) override { m_profile.removeSection(section); }

private:
    PrivateProfile &m_profile;
};

// Six characters of the Maidenhead locator of a position in degrees.
QString locator(double latitude, double longitude)
{
    const double lon = std::clamp(longitude + 180, 0.0, 359.9999);
    const double lat = std::clamp(latitude + 90, 0.0, 179.9999);
    const int fieldLon = int(lon / 20), fieldLat = int(lat / 10);
    const int squareLon = int(std::fmod(lon, 20) / 2), squareLat = int(std::fmod(lat, 10));
    const int subLon = int(std::fmod(lon, 2) * 12), subLat = int(std::fmod(lat, 1) * 24);
    return QString(QChar(u'A' + fieldLon)) + QChar(u'A' + fieldLat) + QChar(u'0' + squareLon) + QChar(u'0' + squareLat)
           + QChar(u'a' + subLon) + QChar(u'a' + subLat);
}

QString joined(const QStringList &names)
{
    return names.join(QStringLiteral(", "));
}

} // namespace

DemoInstaller::DemoInstaller(Folders folders, QDateTime now)
    : m_folders(std::move(folders))
    , m_now(std::move(now))
    , m_demoFolder(m_folders.data + u'/' + DemoFolderName)
{
}

bool DemoInstaller::run(QString *errorText)
{
    readManifest();
    const bool done = installHostFolder() && installWeather() && installElements() && installOptions()
                      && recordHostFolder();
    const bool saved = saveManifest();
    if ((!done || !saved) && errorText)
        *errorText = m_error;
    return done && saved;
}

QString DemoInstaller::manifestKey(const QString &path) const
{
    const QString clean = QDir::cleanPath(path);
    for (const auto &[name, folder] : {std::pair{QStringLiteral("data"), m_folders.data},
                                       std::pair{QStringLiteral("config"), m_folders.config}})
        if (clean.startsWith(QDir::cleanPath(folder) + u'/'))
            return name + clean.mid(QDir::cleanPath(folder).size());
    return clean;
}

void DemoInstaller::readManifest()
{
    m_manifestRead = readAll(m_folders.data + u'/' + ManifestName);
    for (const QByteArray &line : m_manifestRead.split('\n')) {
        const qsizetype tab = line.indexOf('\t');
        if (tab == 64)
            m_manifest.insert(QString::fromUtf8(line.mid(tab + 1)), line.left(tab));
    }
}

bool DemoInstaller::saveManifest()
{
    QStringList keys = m_manifest.keys();
    keys.sort();
    QByteArray bytes;
    for (const QString &key : keys)
        bytes += m_manifest.value(key) + '\t' + key.toUtf8() + '\n';
    if (bytes == m_manifestRead)
        return true;
    QString error;
    if (!WholeFileWriter::save(m_folders.data + u'/' + ManifestName, bytes, &error)) {
        m_error = error;
        return false;
    }
    m_manifestRead = bytes;
    return true;
}

DemoInstaller::Outcome DemoInstaller::writeOwned(const QString &path, const QByteArray &bytes)
{
    const QString key = manifestKey(path);
    if (QFileInfo::exists(path)) {
        bool readable = false;
        const QByteArray current = readAll(path, &readable);
        if (readable && current == bytes) {
            // What we would write is there already: ours from now on.
            m_manifest.insert(key, sha256(bytes));
            return Outcome::Unchanged;
        }
        if (!readable || m_manifest.value(key) != sha256(current))
            return Outcome::NotOurs;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString error;
    if (!WholeFileWriter::save(path, bytes, &error)) {
        m_error = error;
        return Outcome::Failed;
    }
    m_manifest.insert(key, sha256(bytes));
    // Recorded at once, so a run cut short cannot disown what it wrote.
    return saveManifest() ? Outcome::Written : Outcome::Failed;
}

bool DemoInstaller::noteOwned(Outcome outcome, const QString &written, const QString &kept)
{
    switch (outcome) {
    case Outcome::Written: m_notes << written; return true;
    case Outcome::NotOurs: m_notes << kept; return true;
    case Outcome::Unchanged: return true;
    case Outcome::Failed: break;
    }
    return false;
}

bool DemoInstaller::installHostFolder()
{
    const QString source = m_folders.share + QStringLiteral("/demo-host");
    if (!QFileInfo(source).isDir()) {
        m_error = QStringLiteral("the demo host folder %1 is missing").arg(source);
        return false;
    }
    const bool fresh = !QFileInfo::exists(m_demoFolder + u'/' + kHostIni);
    QStringList written, kept;
    for (const QString &name : QDir(source).entryList(QDir::Files, QDir::Name)) {
        bool ok = false;
        const QByteArray bytes = readAll(source + u'/' + name, &ok);
        if (!ok) {
            m_error = QStringLiteral("%1 cannot be read").arg(source + u'/' + name);
            return false;
        }
        switch (writeOwned(m_demoFolder + u'/' + name, bytes)) {
        case Outcome::Written: written << name; break;
        case Outcome::NotOurs: kept << name; break;
        case Outcome::Failed: return false;
        case Outcome::Unchanged: break;
        }
    }
    QDir().mkpath(m_demoFolder + QStringLiteral("/Logs"));
    if (fresh)
        m_notes << QStringLiteral("Demo host folder installed in %1").arg(m_demoFolder);
    else if (!written.isEmpty())
        m_notes << QStringLiteral("Demo host folder %1: brought up to date: %2").arg(m_demoFolder, joined(written));
    if (!kept.isEmpty())
        m_notes << QStringLiteral("Demo host folder %1: changed since the demo wrote them, kept as they are: %2")
                       .arg(m_demoFolder, joined(kept));
    return true;
}

bool DemoInstaller::installWeather()
{
    bool ok = false;
    const QByteArray traffic = readAll(m_demoFolder + u'/' + kTraffic, &ok);
    if (!ok)
        return true;  // a demo folder without its traffic has no weather stations to seed
    const QString folder = m_folders.data + QStringLiteral("/WxData");
    QDir().mkpath(folder);
    QStringList seeded;
    for (const DemoWeather::Station &station : DemoWeather::firstReports(traffic, m_now)) {
        const QString name = QFileInfo(WxData::fileForCallsign(station.callsign)).fileName();
        const QString path = folder + u'/' + name;
        // Kestrel adds to a station's file as it hears it: never started twice.
        if (name.isEmpty() || QFileInfo::exists(path))
            continue;
        const QString partial = folder + QStringLiteral("/.") + name + QStringLiteral(".new");
        QFile::remove(partial);
        WxDataFile file(partial);
        for (const DemoWeather::Report &report : DemoWeather::history(station, m_now))
            if (!file.append(report.time, report.report, &m_error))
                return false;
        if (!QFile::rename(partial, path)) {
            m_error = QStringLiteral("%1 cannot be written").arg(path);
            return false;
        }
        seeded << station.callsign;
    }
    if (!seeded.isEmpty())
        m_notes << QStringLiteral("Weather history since yesterday written for %1").arg(joined(seeded));
    return true;
}

bool DemoInstaller::installElements()
{
    const QString path = m_folders.data + QStringLiteral("/Keps/Keps.txt");
    const QString oldMark = m_folders.data + u'/' + kOldKepsMark;
    if (QFileInfo::exists(oldMark)) {
        // "<hash>  -" from the shell installer, for the file it wrote.
        const QByteArray hash = readAll(oldMark).left(64);
        if (hash == sha256(readAll(path)))
            m_manifest.insert(manifestKey(path), hash);
        QFile::remove(oldMark);
    }
    return noteOwned(writeOwned(path, DemoSatellites::elementFile(m_now)),
                     QStringLiteral("Demo element sets written to %1 with the epoch %2")
                         .arg(path, m_now.toUTC().date().toString(Qt::ISODate)),
                     QStringLiteral("%1 was not written by the demo and is kept as it is").arg(path));
}

bool DemoInstaller::installOptions()
{
    PrivateProfile host(m_demoFolder + u'/' + kHostIni);
    host.load();
    const QString station = QStringLiteral("STATION");
    double latitude = 0, longitude = 0;
    const QString callsign = host.value(station, QStringLiteral("CALLSIGN")).trimmed();
    if (callsign.isEmpty() || !parseIniPosition(host.value(station, QStringLiteral("LATITUDE")), false, &latitude)
        || !parseIniPosition(host.value(station, QStringLiteral("LONGITUDE")), true, &longitude))
        return true;  // no home to observe from: Kestrel's own defaults stand
    latitude /= 60;
    longitude /= 60;

    Configuration demo;
    demo.observer = callsign;
    demo.latitude = float(latitude);
    demo.longitude = float(longitude);
    demo.height = float(kHomeHeight);
    demo.locator = locator(latitude, longitude);
    // One unit for every distance on the screen: the host's spots and Kestrel's lists.
    demo.miles = HostConfig::read(m_demoFolder).distanceInMiles;
    // Ranges that fit a spring day around the home station (Celsius, miles
    // per hour, millibars, millimetres).
    demo.tempMin = -5;
    demo.tempMax = 20;
    demo.windMax = 25;
    demo.pressMin = 990;
    demo.pressMax = 1030;
    demo.rainMax = 5;

    SatelliteChoices satellites;
    satellites.view = QStringLiteral("World View");
    satellites.plotInterval = QStringLiteral("Automatic");
    const QList<KepsElementSet> sets = readKeps(DemoSatellites::elementFile(m_now)).sets;
    for (const KepsElementSet &set : sets)
        satellites.picks.append({set.name, catalogueNumber(set.line1), DemoSatellites::plotted().contains(set.name)});

    const QString path = m_folders.config + u'/' + AppInfo::Title + QStringLiteral(".ini");
    PrivateProfile options(path);
    ProfileStore store(options);
    // The window's place is left out, so Kestrel still chooses one that fits the screen.
    demo.write(store, /*minimised=*/true);
    satellites.write(store);
    return noteOwned(writeOwned(path, options.content()),
                     QStringLiteral("Kestrel options for the demo written to %1 (observer %2 at %3)")
                         .arg(path, callsign, demo.locator),
                     QStringLiteral("%1 holds your own options and is kept as it is").arg(path));
}

bool DemoInstaller::recordHostFolder()
{
    // The host's own per-user setting: filled in only when no folder is recorded yet.
    PrivateProfile settings(m_folders.config + u'/' + kHostVendor + QStringLiteral(".ini"));
    settings.load();
    const QString current = settings.value(kHostSection, kHostFolderKey).trimmed();
    if (!current.isEmpty()) {
        if (QDir::cleanPath(current) != QDir::cleanPath(m_demoFolder))
            m_notes << QStringLiteral("The host program's folder is %1; left as it is").arg(current);
        return true;
    }
    if (!settings.setValue(kHostSection, kHostFolderKey, m_demoFolder)) {
        m_error = QStringLiteral("the folder %1 cannot be recorded in %2").arg(m_demoFolder, settings.path());
        return false;
    }
    QDir().mkpath(m_folders.config);
    if (!settings.save(&m_error))
        return false;
    m_notes << QStringLiteral("Host program folder set to %1").arg(m_demoFolder);
    return true;
}
