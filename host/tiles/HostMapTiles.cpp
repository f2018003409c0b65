#include "host/tiles/HostMapTiles.h"

#include "core/SettingsStore.h"
#include "host/tiles/EarthMapSource.h"
#include "host/tiles/NetworkMapSource.h"
#include "host/tiles/TileLayer.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtConcurrent/QtConcurrentRun>

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
        const QString key = OfflineMapKey + QString::number(i);
        const QString path = store.value(Application, Section, key);
        if (path.isEmpty())
            break;
        OfflineMap map;
        map.path = path;
        map.name = QFileInfo(path).fileName();
        const QString off = store.value(Application, Section, key + OffSuffix);
        if (!off.isEmpty()) {
            map.state = State::Off;
            map.problem = off.simplified().left(300);
        }
        m_maps.append(map);
    }
    for (qsizetype i = 0; i < m_maps.size(); ++i)
        if (m_maps[i].state == State::Opening)
            startOpening(i);
    applySources();
}

HostMapTiles::~HostMapTiles()
{
    // The look at a file reads nothing of this object, but it must end
    // before the application (and Qt's database connections) do.
    m_cancel->store(true);
    for (auto *looker : std::as_const(m_lookers))
        looker->waitForFinished();
}

void HostMapTiles::startOpening(qsizetype index)
{
    m_maps[index].state = State::Opening;
    auto *looker = new QFutureWatcher<MbTilesMapSource::Facts>(this);
    m_lookers.append(looker);
    connect(looker, &QFutureWatcherBase::finished, this, [this, looker] { opened(looker); });
    looker->setFuture(QtConcurrent::run(&MbTilesMapSource::examine, m_maps[index].path, m_cancel));
}

void HostMapTiles::opened(QFutureWatcher<MbTilesMapSource::Facts> *looker)
{
    m_lookers.removeOne(looker);
    looker->deleteLater();
    if (looker->future().resultCount() == 0)
        return;
    const MbTilesMapSource::Facts facts = looker->result();
    const qsizetype index = indexOf(facts.path);
    if (index < 0 || m_maps[index].state != State::Opening)
        return;  // closed meanwhile
    OfflineMap &map = m_maps[index];
    if (!facts.error.isEmpty()) {
        if (map.userAsked) {
            m_maps.removeAt(index);
            remember();
            emit changed();
            emit offlineMapRefused(facts.path, facts.error);
        } else {
            turnOff(index, facts.error);
        }
        return;
    }
    map.source = MbTilesMapSource::fromFacts(facts).release();
    map.name = facts.name;
    map.state = State::Open;
    map.problem.clear();
    map.userAsked = false;
    // Queued: the source is taken out of the layer, and deleted, when it fails.
    connect(map.source, &PooledMapSource::failed, this,
            [this, source = map.source](const QString &reason) { sourceFailed(source, reason); },
            Qt::QueuedConnection);
    remember();
    applySources();
}

void HostMapTiles::sourceFailed(MbTilesMapSource *source, const QString &reason)
{
    for (qsizetype i = 0; i < m_maps.size(); ++i)
        if (m_maps[i].source == source) {
            turnOff(i, reason);
            return;
        }
}

void HostMapTiles::turnOff(qsizetype index, const QString &reason)
{
    OfflineMap &map = m_maps[index];
    map.state = State::Off;
    map.problem = reason;
    map.source = nullptr;  // the layer deletes it
    m_problem = QStringLiteral("Offline map %1 was closed: %2 Tick it in the Map menu to try it again.")
                    .arg(map.name, reason);
    remember();
    applySources();
}

qsizetype HostMapTiles::indexOf(const QString &path) const
{
    for (qsizetype i = 0; i < m_maps.size(); ++i)
        if (m_maps[i].path == path)
            return i;
    return -1;
}

bool HostMapTiles::opening() const
{
    return std::any_of(m_maps.cbegin(), m_maps.cend(), [](const OfflineMap &map) { return map.state == State::Opening; });
}

void HostMapTiles::applySources()
{
    QList<MapSource *> sources;
    for (const OfflineMap &map : std::as_const(m_maps))
        if (map.source)
            sources.append(map.source);
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
    for (qsizetype i = 0; i < m_maps.size(); ++i) {
        const QString key = OfflineMapKey + QString::number(i + 1);
        store.write(Application, Section, key, m_maps[i].path);
        store.write(Application, Section, key + OffSuffix,
                    m_maps[i].state == State::Off ? m_maps[i].problem : QString());
    }
    // An empty entry ends the list.
    if (m_maps.size() < MaxOfflineMaps)
        store.write(Application, Section, OfflineMapKey + QString::number(m_maps.size() + 1), QString());
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
    for (const OfflineMap &map : m_maps)
        paths.append(map.path);
    return paths;
}

QStringList HostMapTiles::offlineMapNames() const
{
    QStringList names;
    for (const OfflineMap &map : m_maps)
        names.append(map.name);
    return names;
}

bool HostMapTiles::openOfflineMap(const QString &path, QString *errorText)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const qsizetype known = indexOf(absolute);
    if (known >= 0) {
        if (m_maps[known].state == State::Off)
            retryOfflineMap(absolute);
        return true;
    }
    if (m_maps.size() >= MaxOfflineMaps) {
        if (errorText)
            *errorText = QStringLiteral("No more than %1 offline maps can be open at once.").arg(MaxOfflineMaps);
        return false;
    }
    OfflineMap map;
    map.path = absolute;
    map.name = QFileInfo(absolute).fileName();
    map.userAsked = true;
    m_maps.append(map);
    startOpening(m_maps.size() - 1);
    emit changed();
    return true;
}

void HostMapTiles::retryOfflineMap(const QString &path)
{
    const qsizetype index = indexOf(path);
    if (index < 0 || m_maps[index].state != State::Off)
        return;
    m_maps[index].userAsked = true;
    m_maps[index].problem.clear();
    startOpening(index);
    emit changed();
}

void HostMapTiles::closeOfflineMap(const QString &path)
{
    const qsizetype index = indexOf(path);
    if (index < 0)
        return;
    m_maps.removeAt(index);  // the layer deletes its source; a look still going is ignored
    remember();
    applySources();
}
