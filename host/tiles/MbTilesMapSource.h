#pragma once

#include "host/tiles/PooledMapSource.h"

#include <memory>

// Tiles from an MBTiles file, read and decoded on the thread pool. Tiles the
// file lacks, or holds in a form that cannot be shown, are missing.
class MbTilesMapSource : public PooledMapSource
{
    Q_OBJECT
public:
    // What a look at the file found, made on any thread.
    struct Facts
    {
        QString path;
        QString error;  // empty: the file can serve
        QString name;
        QString attribution;
        int maxZoom = 18;
    };
    // Every statement is limited in time; the cancel flag stops it sooner.
    static Facts examine(const QString &path, const Cancel &cancel = {});
    // A source for a file examine() found good.
    static std::unique_ptr<MbTilesMapSource> fromFacts(const Facts &facts);
    // Both at once; nullptr and the reason when it cannot serve.
    static std::unique_ptr<MbTilesMapSource> open(const QString &path, QString *errorText);

    QString path() const { return m_path; }
    // The file's own name for its map, else the file name.
    QString name() const { return m_name; }
    QString attribution() const override { return m_attribution; }
    int maxZoom() const override { return m_maxZoom; }

protected:
    Work work() const override;

private:
    explicit MbTilesMapSource(const QString &path);

    QString m_path;
    QString m_name;
    QString m_attribution;
    int m_maxZoom = 18;
};
