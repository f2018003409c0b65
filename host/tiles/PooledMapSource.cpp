#include "host/tiles/PooledMapSource.h"

#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

PooledMapSource::PooledMapSource(QObject *parent)
    : MapSource(parent)
{
    connect(&m_watcher, &QFutureWatcher<QList<Answer>>::finished, this, &PooledMapSource::finished);
}

// A batch still on the pool finishes on its own; its answers are dropped.
PooledMapSource::~PooledMapSource() = default;

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
    m_watcher.setFuture(QtConcurrent::run(work(), m_batch));
}

void PooledMapSource::finished()
{
    QList<Answer> answers;
    try {
        answers = m_watcher.result();
    } catch (...) {
        // Out of memory on the pool, say: the batch is answered as missing.
    }
    // Every key of the batch is answered, so none is asked for again and again.
    for (const TileKey &key : std::as_const(m_batch))
        if (std::none_of(answers.cbegin(), answers.cend(), [&key](const Answer &a) { return a.key == key; }))
            answers.append({key, {}});
    m_batch.clear();
    // Still busy while answering: the map asks again from inside the signals.
    for (const Answer &answer : std::as_const(answers)) {
        m_wanted.removeOne(answer.key);
        if (answer.image.isNull())
            emit tileMissing(answer.key, false);
        else
            emit tileLoaded(answer.key, answer.image);
    }
    m_busy = false;
    startNext();
}
