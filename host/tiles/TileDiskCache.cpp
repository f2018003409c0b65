#include "host/tiles/TileDiskCache.h"

#include <QDateTime>
#include <QDir>
#include <QRegularExpression>
#include <QFile>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <vector>

namespace {

// What Qt counts for each file beside its bytes.
constexpr qint64 Overhead = 1024;

} // namespace

TileDiskCache::TileDiskCache(QObject *parent)
    : QNetworkDiskCache(parent)
{
    connect(&m_watcher, &QFutureWatcher<qint64>::finished, this, [this] {
        m_trimming = false;
        m_bytes = m_watcher.result() + m_addedWhileTrimming;
        if (m_bytes > maximumCacheSize())
            startTrim();
    });
}

// A trim still running deletes in this cache's folder: it ends first.
TileDiskCache::~TileDiskCache()
{
    m_watcher.waitForFinished();
}

void TileDiskCache::insert(QIODevice *device)
{
    const qint64 bytes = (device ? device->size() : 0) + Overhead;
    if (m_trimming)
        m_addedWhileTrimming += bytes;
    else if (m_bytes >= 0)
        m_bytes += bytes;
    m_storing = bytes;
    QNetworkDiskCache::insert(device);
    m_storing = 0;
}

qint64 TileDiskCache::expire()
{
    // Qt asks after every store; the first time, the folder is counted.
    if (!m_trimming && (m_bytes < 0 || m_bytes > maximumCacheSize()))
        startTrim();
    return std::max<qint64>(m_bytes, 0);
}

void TileDiskCache::startTrim()
{
    if (cacheDirectory().isEmpty())
        return;
    m_trimming = true;
    // Qt writes a file only after asking expire(): a count begun then may
    // not see it, so it is added (and counted twice at worst).
    m_addedWhileTrimming = m_storing;
    m_watcher.setFuture(QtConcurrent::run(&TileDiskCache::trim, cacheDirectory(), maximumCacheSize()));
}

qint64 TileDiskCache::trim(const QString &folder, qint64 limit)
{
    struct File
    {
        qint64 modified;
        qint64 bytes;
        QString path;
    };
    std::vector<File> files;
    qint64 total = 0;
    // Only the cache's own layout is walked, data<version>/<hex digit>/<name>.d,
    // and no link is followed: a folder or file the user linked in, or a
    // cache folder that is itself a link, is left alone.
    const QFileInfo root(folder);
    if (root.isSymLink() || !root.isDir())
        return 0;
    static const QRegularExpression fileName(QStringLiteral("^-?[0-9a-z]{1,16}\\.d$"));
    static const QRegularExpression bucket(QStringLiteral("^[0-9a-f]$"));
    const auto folders = QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks;
    for (const QFileInfo &data : QDir(folder).entryInfoList({QStringLiteral("data*")}, folders)) {
        for (const QFileInfo &part : QDir(data.filePath()).entryInfoList(folders)) {
            if (!bucket.match(part.fileName()).hasMatch())
                continue;
            for (const QFileInfo &info : QDir(part.filePath()).entryInfoList(QDir::Files | QDir::NoSymLinks)) {
                if (info.isSymLink() || !fileName.match(info.fileName()).hasMatch())
                    continue;
                files.push_back({info.lastModified().toMSecsSinceEpoch(), info.size() + Overhead, info.filePath()});
                total += files.back().bytes;
            }
        }
    }
    if (total <= limit)
        return total;
    std::sort(files.begin(), files.end(), [](const File &a, const File &b) { return a.modified < b.modified; });
    const qint64 goal = limit / 10 * 9;
    for (const File &file : files) {
        if (total <= goal)
            break;
        if (QFile::remove(file.path))
            total -= file.bytes;
    }
    return total;
}
