#include "host/tiles/HostMapTiles.h"

#include "core/SettingsStore.h"
#include "host/tiles/EarthMapSource.h"
#include "host/tiles/MbTilesMapSource.h"
#include "host/tiles/NetworkMapSource.h"
#include "host/tiles/TileLayer.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The place of the map window is kept here too.
const QString Application = QStringLiteral("Peak Systems");
const QString Section = QStringLiteral("Host Map");

} // namespace

QString HostMapTiles::cacheFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/Kestrel/tiles");
}

HostMapTiles::HostMapTiles(TileLayer *layer, const TileServerSettings &server, QObject *parent)
    : QObject(parent)
    , m_layer(layer)
    , m_earth(new EarthMapSource)
    , m_forced(qEnvironmentVariable("KESTREL_WORK_OFFLINE") == QLatin1String("1"))
{
    SettingsStore &store = SettingsStore::instance();
    m_chosenOffline = store.value(Application, Section, WorkOfflineKey) == QLatin1String("1");
    m_offline = m_forced || m_chosenOffline;
    if (NetworkMapSource::isUsableTemplate(server.server)) {
        NetworkMapSource::Settings settings;
        settings.urlTemplate = server.server;
        settings.attribution = server.attribution;
        settings.maxZoom = server.maxZoom;
        settings.cacheFolder = cacheFolder();
        settings.cacheBytes = qint64(server.cacheMB) * 1024 * 1024;
        m_network = new NetworkMapSource(settings);
        m_network->setOffline(m_offline);
    }
    // A file that has gone (an unplugged drive) is left out this time but
    // stays remembered until the user changes the list.
    for (int i = 1; i <= MaxOfflineMaps; ++i) {
        const QString path = store.value(Application, Section, OfflineMapKey + QString::number(i));
        if (path.isEmpty())
            break;
        if (auto source = MbTilesMapSource::open(path, nullptr))
            m_files.append(source.release());
    }
    applySources();
}

void HostMapTiles::applySources()
{
    QList<MapSource *> sources(m_files.cbegin(), m_files.cend());
    if (m_network)
        sources.append(m_network);
    sources.append(m_earth);
    m_layer->setSources(sources);
    emit changed();
}

void HostMapTiles::remember() const
{
    SettingsStore &store = SettingsStore::instance();
    store.write(Application, Section, WorkOfflineKey, m_chosenOffline ? QStringLiteral("1") : QStringLiteral("0"));
    const QStringList paths = offlineMaps();
    for (int i = 0; i < paths.size(); ++i)
        store.write(Application, Section, OfflineMapKey + QString::number(i + 1), paths[i]);
    // An empty entry ends the list.
    if (paths.size() < MaxOfflineMaps)
        store.write(Application, Section, OfflineMapKey + QString::number(paths.size() + 1), QString());
}

void HostMapTiles::setWorkOffline(bool offline)
{
    if (m_forced || offline == m_offline)
        return;
    m_offline = m_chosenOffline = offline;
    if (m_network)
        m_network->setOffline(offline);
    remember();
    // Tiles the cache cannot give, or that the server may have renewed.
    m_layer->reload();
    emit changed();
}

QStringList HostMapTiles::offlineMaps() const
{
    QStringList paths;
    for (const MbTilesMapSource *file : m_files)
        paths.append(file->path());
    return paths;
}

QStringList HostMapTiles::offlineMapNames() const
{
    QStringList names;
    for (const MbTilesMapSource *file : m_files)
        names.append(file->name());
    return names;
}

bool HostMapTiles::openOfflineMap(const QString &path, QString *errorText)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (offlineMaps().contains(absolute))
        return true;
    if (m_files.size() >= MaxOfflineMaps) {
        if (errorText)
            *errorText = QStringLiteral("No more than %1 offline maps can be open at once.").arg(MaxOfflineMaps);
        return false;
    }
    auto source = MbTilesMapSource::open(absolute, errorText);
    if (!source)
        return false;
    m_files.append(source.release());
    remember();
    applySources();
    return true;
}

void HostMapTiles::closeOfflineMap(const QString &path)
{
    for (int i = 0; i < m_files.size(); ++i)
        if (m_files[i]->path() == path) {
            m_files.removeAt(i);  // the layer deletes it
            remember();
            applySources();
            return;
        }
}
