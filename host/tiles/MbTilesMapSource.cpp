#include "host/tiles/MbTilesMapSource.h"

#include "host/tiles/MbTilesReader.h"
#include "host/tiles/TileDecoder.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

constexpr int MaxCreditLength = 200;

// Files often give their credits as HTML links; the map shows plain words.
// Tags are dropped rather than parsed: nothing in the file is followed.
QString plainCredit(const QString &html)
{
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    QString text = QString(html).remove(tag);
    static const std::pair<const char *, char16_t> entities[] = {
        {"&copy;", 0xA9}, {"&lt;", u'<'}, {"&gt;", u'>'}, {"&quot;", u'"'}, {"&nbsp;", u' '}, {"&amp;", u'&'}};
    for (const auto &[name, character] : entities)
        text.replace(QLatin1String(name), QString(QChar(character)), Qt::CaseInsensitive);
    text = text.simplified();
    if (text.size() > MaxCreditLength)
        text = text.left(MaxCreditLength - 1) + QChar(0x2026);
    return text;
}

} // namespace

MbTilesMapSource::MbTilesMapSource(const QString &path)
    : m_path(path)
{
}

MbTilesMapSource::Facts MbTilesMapSource::examine(const QString &path, const Cancel &cancel)
{
    Facts facts;
    facts.path = path;
    MbTilesReader reader(path, cancel);
    facts.name = reader.metadata(QStringLiteral("name")).simplified().left(MaxCreditLength);
    if (facts.name.isEmpty())
        facts.name = QFileInfo(path).fileName();
    facts.attribution = plainCredit(reader.metadata(QStringLiteral("attribution")));
    const int deepest = reader.maxZoom();
    if (deepest >= 0)
        facts.maxZoom = deepest;
    // Last: any of the statements above may have had to be stopped.
    facts.error = reader.error();
    return facts;
}

std::unique_ptr<MbTilesMapSource> MbTilesMapSource::fromFacts(const Facts &facts)
{
    if (!facts.error.isEmpty())
        return nullptr;
    std::unique_ptr<MbTilesMapSource> source(new MbTilesMapSource(facts.path));
    source->m_name = facts.name;
    source->m_attribution = facts.attribution;
    source->m_maxZoom = facts.maxZoom;
    return source;
}

std::unique_ptr<MbTilesMapSource> MbTilesMapSource::open(const QString &path, QString *errorText)
{
    const Facts facts = examine(path);
    if (!facts.error.isEmpty() && errorText)
        *errorText = facts.error;
    return fromFacts(facts);
}

PooledMapSource::Work MbTilesMapSource::work() const
{
    return [path = m_path](const QList<TileKey> &keys, const Cancel &cancel) {
        Batch batch;
        MbTilesReader reader(path, cancel);
        for (const TileKey &key : keys) {
            if (cancel->load())
                break;
            batch.answers.append({key, TileDecoder::decode(reader.tile(key))});
            if (reader.failed()) {
                batch.failure = reader.error();
                break;
            }
        }
        if (reader.failed())
            batch.failure = reader.error();
        return batch;
    };
}
