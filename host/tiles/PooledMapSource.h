#pragma once

#include "host/tiles/MapSource.h"

#include <QFutureWatcher>
#include <functional>

// A source whose tiles come from pure work (reading a file, drawing the
// Earth) done on Qt's thread pool, one batch at a time: the work gets
// copies of what it needs, and its pictures come back to this thread.
class PooledMapSource : public MapSource
{
    Q_OBJECT
public:
    struct Answer
    {
        TileKey key;
        QImage image;  // null: the source has no such tile
    };
    using Work = std::function<QList<Answer>(const QList<TileKey> &)>;

    explicit PooledMapSource(QObject *parent = nullptr);
    ~PooledMapSource() override;

    void fetch(const QList<TileKey> &wanted) override;
    // A batch is out on the pool.
    bool isBusy() const { return m_busy; }

    // Kept small so that the first tiles show while the rest are made.
    static constexpr int BatchSize = 8;

protected:
    // The work for one batch; it must hold no pointer to this object.
    virtual Work work() const = 0;

private:
    void startNext();
    void finished();

    QList<TileKey> m_wanted;
    QList<TileKey> m_batch;  // out on the pool
    QFutureWatcher<QList<Answer>> m_watcher;
    bool m_busy = false;
};
