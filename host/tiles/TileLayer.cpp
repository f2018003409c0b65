#include "host/tiles/TileLayer.h"

#include <QPainter>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace {

constexpr int MaxMissingPerSource = 8192;

// A tile of the view and where its top-left corner goes. At the smallest
// zooms the world is narrower than the view and a tile shows more than once.
struct Placement
{
    TileKey key;
    QPoint at;
};

QList<Placement> placements(const MapProjection &view)
{
    const int side = MapProjection::TileSize;
    const int n = 1 << view.zoom();
    const QPointF topLeft = view.topLeft();
    const QSize size = view.size();
    const int firstColumn = int(std::floor(topLeft.x() / side));
    const int lastColumn = int(std::floor((topLeft.x() + size.width() - 1) / side));
    const int firstRow = std::max(0, int(std::floor(topLeft.y() / side)));
    const int lastRow = std::min(n - 1, int(std::floor((topLeft.y() + size.height() - 1) / side)));
    QList<Placement> out;
    for (int row = firstRow; row <= lastRow; ++row)
        for (int column = firstColumn; column <= lastColumn; ++column) {
            // Whole pixels, so that tiles are copied rather than resampled.
            const QPoint at(int(std::lround(column * double(side) - topLeft.x())),
                            int(std::lround(row * double(side) - topLeft.y())));
            out.append({{view.zoom(), ((column % n) + n) % n, row}, at});
        }
    return out;
}

// Draws the part of `have` (the tile itself or one above it) that covers `want`.
void drawPiece(QPainter &p, QPoint at, const QImage &image, TileKey have, TileKey want)
{
    const int k = want.z - have.z;
    if (k == 0) {
        p.drawImage(at, image);
        return;
    }
    const int mask = (1 << k) - 1;
    const double step = std::ldexp(double(MapProjection::TileSize), -k);
    QRectF source((want.x & mask) * step, (want.y & mask) * step, step, step);
    if (step < 1)  // finer than the picture holds: its one pixel there
        source = QRectF(std::floor(source.x()), std::floor(source.y()), 1, 1);
    const int side = MapProjection::TileSize;
    p.drawImage(QRectF(at, QSizeF(side, side)), image, source);
}

} // namespace

TileLayer::TileLayer(QObject *parent)
    : QObject(parent)
{
    m_clock.start();
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &TileLayer::retryFailed);
}

TileLayer::~TileLayer() = default;

void TileLayer::setSources(const QList<MapSource *> &sources)
{
    for (MapSource *old : std::as_const(m_sources))
        if (!sources.contains(old)) {
            m_failing.remove(old);
            delete old;
        }
    for (MapSource *source : sources) {
        if (m_sources.contains(source))
            continue;
        source->setParent(this);
        connect(source, &MapSource::tileLoaded, this,
                [this, source](TileKey key, const QImage &image) { loaded(source, key, image); });
        connect(source, &MapSource::tileMissing, this,
                [this, source](TileKey key, bool retryLater) { missing(source, key, retryLater); });
    }
    m_sources = sources;
    reload();
}

void TileLayer::reload()
{
    for (Tile &tile : m_tiles)
        tile.stale = true;
    m_missing = QList<QHash<TileKey, qint64>>(m_sources.size());
    ++m_generation;
    updateWishes();
    emit changed();
}

TileKey TileLayer::limitedTo(TileKey key, int source) const
{
    const int deepest = std::clamp(m_sources[source]->maxZoom(), 0, MapProjection::MaxZoom);
    while (key.z > deepest)
        key = key.parent();
    return key;
}

bool TileLayer::knownMissing(int source, TileKey key) const
{
    const auto it = m_missing[source].constFind(key);
    return it != m_missing[source].constEnd() && (*it == 0 || m_clock.elapsed() < *it);
}

TileLayer::Resolved TileLayer::resolve(TileKey key) const
{
    for (int i = 0; i < m_sources.size(); ++i) {
        const TileKey asked = limitedTo(key, i);
        if (key.z - asked.z > MaxEnlargement && i + 1 < m_sources.size())
            continue;
        const auto tile = m_tiles.constFind(asked);
        if (tile != m_tiles.constEnd() && !tile->stale && tile->source == i)
            return {i, asked, true};
        if (!knownMissing(i, asked))
            return {i, asked, false};
    }
    return {};
}

void TileLayer::show(const MapProjection &view)
{
    QList<Placement> placed = placements(view);
    const QPointF middle(view.size().width() / 2.0 - MapProjection::TileSize / 2.0,
                         view.size().height() / 2.0 - MapProjection::TileSize / 2.0);
    std::stable_sort(placed.begin(), placed.end(), [&middle](const Placement &a, const Placement &b) {
        const QPointF da = a.at - middle, db = b.at - middle;
        return da.x() * da.x() + da.y() * da.y() < db.x() * db.x() + db.y() * db.y();
    });
    QList<TileKey> keys;
    for (const Placement &p : std::as_const(placed))
        if (!keys.contains(p.key))
            keys.append(p.key);
    if (keys == m_view)
        return;
    m_view = keys;
    // What the view uses is the last to be dropped from memory.
    const quint64 stamp = ++m_useCount;
    for (TileKey key : std::as_const(m_view))
        for (; key.z >= 0; key = key.parent()) {
            const auto tile = m_tiles.find(key);
            if (tile != m_tiles.end())
                tile->used = stamp;
        }
    updateWishes();
}

void TileLayer::updateWishes()
{
    QList<QList<TileKey>> wishes(m_sources.size());
    m_waiting = 0;
    for (const TileKey &key : std::as_const(m_view)) {
        const Resolved r = resolve(key);
        if (r.ready || r.source < 0)
            continue;
        ++m_waiting;
        if (!wishes[r.source].contains(r.key))
            wishes[r.source].append(r.key);
    }
    for (int i = 0; i < m_sources.size(); ++i)
        m_sources[i]->fetch(wishes[i]);
}

void TileLayer::loaded(MapSource *source, TileKey key, const QImage &image)
{
    const int i = int(m_sources.indexOf(source));
    if (i < 0 || image.isNull())
        return;
    const auto tile = m_tiles.constFind(key);
    if (tile != m_tiles.constEnd() && !tile->stale && tile->source >= 0 && tile->source < i)
        return;  // a better source gave it already
    m_tiles.insert(key, {image, i, false, ++m_useCount});
    m_missing[i].remove(key);
    m_failing.remove(source);
    evict();
    answered();
}

void TileLayer::missing(MapSource *source, TileKey key, bool retryLater)
{
    const int i = int(m_sources.indexOf(source));
    if (i < 0)
        return;
    if (m_missing[i].size() >= MaxMissingPerSource)
        m_missing[i].clear();  // asking again costs little
    m_missing[i].insert(key, retryLater ? m_clock.elapsed() + m_retryMs : 0);
    if (retryLater)
        m_failing.insert(source);
    if (retryLater && !m_retry.isActive())
        m_retry.start(m_retryMs + 100);
    answered();
}

void TileLayer::retryFailed()
{
    updateWishes();
    // Failures since the timer started wait for their own minute.
    const qint64 now = m_clock.elapsed();
    qint64 next = 0;
    for (const auto &missing : std::as_const(m_missing))
        for (const qint64 at : missing)
            if (at > now && (next == 0 || at < next))
                next = at;
    if (next > 0)
        m_retry.start(int(next - now) + 100);
}

void TileLayer::answered()
{
    ++m_generation;
    updateWishes();
    emit changed();
}

void TileLayer::evict()
{
    if (m_tiles.size() <= MaxTiles)
        return;
    QList<std::pair<quint64, TileKey>> byUse;
    byUse.reserve(m_tiles.size());
    for (auto it = m_tiles.cbegin(); it != m_tiles.cend(); ++it)
        byUse.append({it->used, it.key()});
    std::sort(byUse.begin(), byUse.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    // An eighth at a time, so the sort is rare.
    const qsizetype target = MaxTiles - MaxTiles / 8;
    QSet<TileKey> inView(m_view.cbegin(), m_view.cend());
    for (const auto &[used, key] : std::as_const(byUse)) {
        if (m_tiles.size() <= target)
            break;
        if (!inView.contains(key))
            m_tiles.remove(key);
    }
}

TileLayer::Painted TileLayer::paint(QPainter &p, const MapProjection &view) const
{
    Painted painted;
    QList<int> used;
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const Placement &place : placements(view)) {
        const Resolved r = resolve(place.key);
        if (r.ready) {
            painted.pictures = true;
            drawPiece(p, place.at, m_tiles.value(r.key).image, r.key, place.key);
            if (!used.contains(r.source))
                used.append(r.source);
            continue;
        }
        // Loading, or no source has it: the nearest tile at hand above it.
        bool drawn = false;
        for (TileKey key = place.key; key.z >= 0 && !drawn; key = key.parent()) {
            const auto tile = m_tiles.constFind(key);
            if (tile == m_tiles.constEnd())
                continue;
            drawPiece(p, place.at, tile->image, key, place.key);
            if (!used.contains(tile->source))
                used.append(tile->source);
            drawn = true;
        }
        painted.bareGround = painted.bareGround || !drawn;
        painted.pictures = painted.pictures || drawn;
    }
    p.restore();
    painted.fetchFailing = !m_failing.isEmpty();
    std::sort(used.begin(), used.end());
    for (int i : std::as_const(used)) {
        const QString credit = i >= 0 && i < m_sources.size() ? m_sources[i]->attribution() : QString();
        if (!credit.isEmpty() && !painted.credits.contains(credit))
            painted.credits.append(credit);
    }
    return painted;
}
