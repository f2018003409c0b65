#pragma once

#include "host/HostConfig.h"

#include <QList>
#include <QObject>
#include <QStringList>

class EarthMapSource;
class MbTilesMapSource;
class NetworkMapSource;
class TileLayer;

// Where the host map's tiles come from, best first: the offline map files
// the user opened, the tile server of the host's settings (unless working
// offline, when only what its disk cache holds is shown) and the Earth.
// The files and the switch are remembered per user beside the map window's
// place.
class HostMapTiles : public QObject
{
    Q_OBJECT
public:
    static inline const QString WorkOfflineKey = QStringLiteral("WorkOffline");
    static inline const QString OfflineMapKey = QStringLiteral("OfflineMap");  // 1, 2, ...
    static constexpr int MaxOfflineMaps = 16;

    HostMapTiles(TileLayer *layer, const TileServerSettings &server, QObject *parent = nullptr);

    // $XDG_CACHE_HOME/Kestrel/tiles
    static QString cacheFolder();

    bool hasServer() const { return m_network; }
    bool workOffline() const { return m_offline; }
    // KESTREL_WORK_OFFLINE=1 keeps the switch on (tests, metered links).
    bool offlineForced() const { return m_forced; }
    void setWorkOffline(bool offline);

    QStringList offlineMaps() const;
    // The map's own name for each, in the same order.
    QStringList offlineMapNames() const;
    // False, with the reason, when the file cannot serve as a map.
    bool openOfflineMap(const QString &path, QString *errorText);
    void closeOfflineMap(const QString &path);

signals:
    void changed();

private:
    void applySources();
    void remember() const;

    TileLayer *m_layer;
    NetworkMapSource *m_network = nullptr;  // owned by the layer, as all sources
    EarthMapSource *m_earth = nullptr;
    QList<MbTilesMapSource *> m_files;
    bool m_offline = false;
    bool m_chosenOffline = false;  // the user's choice, kept when forced
    bool m_forced = false;
};
