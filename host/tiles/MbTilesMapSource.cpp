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

std::unique_ptr<MbTilesMapSource> MbTilesMapSource::open(const QString &path, QString *errorText)
{
    MbTilesReader reader(path);
    if (!reader.isOpen()) {
        if (errorText)
            *errorText = reader.error();
        return nullptr;
    }
    std::unique_ptr<MbTilesMapSource> source(new MbTilesMapSource(path));
    source->m_name = reader.metadata(QStringLiteral("name")).simplified().left(MaxCreditLength);
    if (source->m_name.isEmpty())
        source->m_name = QFileInfo(path).fileName();
    source->m_attribution = plainCredit(reader.metadata(QStringLiteral("attribution")));
    const int deepest = reader.maxZoom();
    if (deepest >= 0)
        source->m_maxZoom = deepest;
    return source;
}

PooledMapSource::Work MbTilesMapSource::work() const
{
    return [path = m_path](const QList<TileKey> &keys) {
        QList<Answer> answers;
        MbTilesReader reader(path);
        for (const TileKey &key : keys)
            answers.append({key, TileDecoder::decode(reader.tile(key))});
        return answers;
    };
}
