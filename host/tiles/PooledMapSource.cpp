#include "host/tiles/PooledMapSource.h"

#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

PooledMapSource::PooledMapSource(QObject *parent)
    : MapSource(parent)
{
    connect(&m_watcher, &QFutureWatcher<Batch>::finished, this, &PooledMapSource::finished);
}

PooledMapSource::~PooledMapSource()
{
    m_cancel->store(true);
    // Cancelled work ends within a statement's step; a batch not started yet is dropped.
    m_watcher.cancel();
    m_watcher.waitForFinished();
}

void PooledMapSource::fetch(const QList<TileKey> &wanted)
{
    m_wanted = wanted;
    if (!m_busy)
        startNext();
}

void PooledMapSource::startNext()
{
    if (m_wanted.isEmpty())
        return;
    m_batch = m_wanted.mid(0, BatchSize);
    m_busy = true;
    if (hasFailed()) {
        // Answered at once but never from inside fetch().
        QMetaObject::invokeMethod(this, &PooledMapSource::finished, Qt::QueuedConnection);
        return;
    }
    m_watcher.setFuture(QtConcurrent::run(work(), m_batch, m_cancel));
}

void PooledMapSource::finished()
{
    Batch batch;
    if (!hasFailed() && m_watcher.future().resultCount() > 0) {
        try {
            batch = m_watcher.result();
        } catch (...) {
            // Out of memory on the pool, say: the batch is answered as missing.
        }
    }
    QList<Answer> &answers = batch.answers;
    // Every key of the batch is answered, so none is asked for again and again.
    for (const TileKey &key : std::as_const(m_batch))
        if (std::none_of(answers.cbegin(), answers.cend(), [&key](const Answer &a) { return a.key == key; }))
            answers.append({key, {}});
    m_batch.clear();
    const bool newlyFailed = !batch.failure.isEmpty() && !hasFailed();
    if (newlyFailed)
        m_failure = batch.failure;
    // Still busy while answering: the map asks again from inside the signals.
    for (const Answer &answer : std::as_const(answers)) {
        m_wanted.removeOne(answer.key);
        if (answer.image.isNull())
            emit tileMissing(answer.key, false);
        else
            emit tileLoaded(answer.key, answer.image);
    }
    m_busy = false;
    if (newlyFailed)
        emit failed(m_failure);
    startNext();
}
