#pragma once

#include "host/tiles/MapSource.h"

#include <QFutureWatcher>
#include <atomic>
#include <functional>
#include <memory>

// A source whose tiles come from pure work (reading a file, drawing the
// Earth) done on Qt's thread pool, one batch at a time: the work gets
// copies of what it needs, and its pictures come back to this thread.
// The batch out on the pool is cancelled and waited for when the source
// goes, so no work outlives what it reads.
class PooledMapSource : public MapSource
{
    Q_OBJECT
public:
    struct Answer
    {
        TileKey key;
        QImage image;  // null: the source has no such tile
    };
    struct Batch
    {
        Batch(QList<Answer> list = {}, QString why = {}) : answers(std::move(list)), failure(std::move(why)) {}
        QList<Answer> answers;
        QString failure;  // the source cannot serve any more, and why
    };
    using Cancel = std::shared_ptr<std::atomic_bool>;
    // Work looks at the flag between tiles (and may inside one) and stops when it is set.
    using Work = std::function<Batch(const QList<TileKey> &, const Cancel &)>;

    explicit PooledMapSource(QObject *parent = nullptr);
    ~PooledMapSource() override;

    void fetch(const QList<TileKey> &wanted) override;
    // A batch is out on the pool.
    bool isBusy() const { return m_busy; }
    // Work failed: every tile is missing from now on.
    bool hasFailed() const { return !m_failure.isEmpty(); }
    QString failure() const { return m_failure; }

    // Kept small so that the first tiles show while the rest are made.
    static constexpr int BatchSize = 8;

signals:
    void failed(const QString &reason);

protected:
    // The work for one batch; it must hold no pointer to this object.
    virtual Work work() const = 0;

private:
    void startNext();
    void finished();

    QList<TileKey> m_wanted;
    QList<TileKey> m_batch;  // out on the pool
    QFutureWatcher<Batch> m_watcher;
    Cancel m_cancel = std::make_shared<std::atomic_bool>(false);
    QString m_failure;
    bool m_busy = false;
};
