#pragma once

#include <QFutureWatcher>
#include <QNetworkDiskCache>

// The tile server's disk cache. Qt's own keeps to its limit by walking every
// file in the folder whenever a store takes it past the limit; with thousands
// of tiles that walk would stall the map for a tenth of a second, so here it
// runs on the thread pool and the oldest tiles go from there.
class TileDiskCache : public QNetworkDiskCache
{
    Q_OBJECT
public:
    explicit TileDiskCache(QObject *parent = nullptr);
    ~TileDiskCache() override;

    void insert(QIODevice *device) override;
    // True while a count or trim of the folder is out on the pool.
    bool isTrimming() const { return m_trimming; }

    // Removes the oldest cached files until the folder holds no more than
    // nine tenths of the limit (when it holds more than the limit); returns
    // the bytes left. Touches nothing but the files Qt's cache writes in the
    // folder, never through a link: safe on any thread.
    static qint64 trim(const QString &folder, qint64 limit);

protected:
    qint64 expire() override;

private:
    void startTrim();

    qint64 m_bytes = -1;  // the folder's size as last counted, plus what came since
    qint64 m_addedWhileTrimming = 0;
    qint64 m_storing = 0;  // the file being stored now
    bool m_trimming = false;
    QFutureWatcher<qint64> m_watcher;
};
