#pragma once

#include "host/HostConfig.h"
#include "host/tiles/MbTilesMapSource.h"

#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QStringList>
#include <atomic>
#include <memory>

class EarthMapSource;
class NetworkMapSource;
class TileLayer;

// Where the host map's tiles come from, best first: the offline map files
// the user opened, the tile server of the host's settings (unless working
// offline, when only what its disk cache holds is shown) and the Earth.
// The files and the switch are remembered per user beside the map window's
// place.
//
// Files are looked at on the thread pool, never on this thread: a file can
// take as long as it likes to fail. One that fails or runs out of time, at
// start or while its tiles are read, is closed and stays in the list
// unticked, not tried again at the next start until the user ticks it.
class HostMapTiles : public QObject
{
    Q_OBJECT
public:
    static inline const QString WorkOfflineKey = QStringLiteral("WorkOffline");
    static inline const QString OfflineMapKey = QStringLiteral("OfflineMap");  // 1, 2, ...
    static inline const QString OffSuffix = QStringLiteral("Off");             // OfflineMap1Off=why it was closed
    static constexpr int MaxOfflineMaps = 16;

    enum class State { Opening, Open, Off };
    struct OfflineMap
    {
        QString path;
        QString name;     // the map's own name once read, the file name before
        State state = State::Opening;
        QString problem;  // why it is off
        bool userAsked = false;  // opened or ticked by the user: a refusal is said in a message
        MbTilesMapSource *source = nullptr;  // while open; owned by the layer
    };

    HostMapTiles(TileLayer *layer, const TileServerSettings &server, QObject *parent = nullptr);
    ~HostMapTiles() override;

    // $XDG_CACHE_HOME/Kestrel/tiles
    static QString cacheFolder();

    bool hasServer() const { return m_network; }
    bool workOffline() const { return m_offline; }
    // KESTREL_WORK_OFFLINE=1 keeps the switch on (tests, metered links).
    bool offlineForced() const { return m_forced; }
    void setWorkOffline(bool offline);

    const QList<OfflineMap> &offlineMapList() const { return m_maps; }
    QStringList offlineMaps() const;
    // The map's own name for each, in the same order.
    QStringList offlineMapNames() const;
    // False, with the reason, when no more files can be open; otherwise the
    // file is looked at on the pool, and a refusal comes by offlineMapRefused.
    bool openOfflineMap(const QString &path, QString *errorText);
    // Unticking an open file forgets it; ticking one that is off tries it again.
    void closeOfflineMap(const QString &path);
    void retryOfflineMap(const QString &path);
    // Files still being looked at.
    bool opening() const;
    // The last file closed for a fault, and why, for the map's status bar.
    QString problem() const { return m_problem; }

signals:
    void changed();
    // A file the user asked for cannot be used; it is not kept.
    void offlineMapRefused(const QString &path, const QString &reason);

private:
    void startOpening(qsizetype index);
    void opened(QFutureWatcher<MbTilesMapSource::Facts> *looker);
    void sourceFailed(MbTilesMapSource *source, const QString &reason);
    void turnOff(qsizetype index, const QString &reason);
    qsizetype indexOf(const QString &path) const;
    void applySources();
    void remember() const;

    TileLayer *m_layer;
    NetworkMapSource *m_network = nullptr;  // owned by the layer, as all sources
    EarthMapSource *m_earth = nullptr;
    QList<OfflineMap> m_maps;
    QString m_problem;
    std::shared_ptr<std::atomic_bool> m_cancel = std::make_shared<std::atomic_bool>(false);
    QList<QFutureWatcher<MbTilesMapSource::Facts> *> m_lookers;  // files being looked at
    bool m_offline = false;
    bool m_chosenOffline = false;  // the user's choice, kept when forced
    bool m_forced = false;
};
