#include "ui/HelpGuide.h"

#include "core/ShippedData.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextDocumentFragment>

#include <algorithm>

namespace {

constexpr qint64 kLargestPage = 1 << 20;  // a guide page is a few kilobytes
constexpr int kTitleWeight = 10;
constexpr int kExcerptReach = 50;

QString readPage(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestPage)
        return {};
    return QString::fromUtf8(file.readAll());
}

QString firstMatch(const QString &html, const QRegularExpression &pattern)
{
    const QRegularExpressionMatch match = pattern.match(html);
    return match.hasMatch() ? match.captured(1) : QString();
}

QString plain(const QString &html)
{
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

} // namespace

QString HelpGuide::shippedFolder()
{
    const QString shared = ShippedDataFolder();
    return shared.isEmpty() ? QString() : shared + QStringLiteral("/guide");
}

bool HelpGuide::load(const QString &folder)
{
    m_folder = folder;
    m_pages.clear();
    m_byWindow.clear();
    const QString contents = readPage(folder + u'/' + ContentsPage);
    if (contents.isEmpty())
        return false;

    static const QRegularExpression link(QStringLiteral(R"re(href\s*=\s*"([A-Za-z0-9_-]+\.html)")re"),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList order{ContentsPage};
    for (auto it = link.globalMatch(contents); it.hasNext();) {
        const QString file = it.next().captured(1);
        if (!order.contains(file))
            order << file;
    }
    QStringList others = QDir(folder).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    for (const QString &file : std::as_const(others))
        if (!order.contains(file))
            order << file;

    static const QRegularExpression title(QStringLiteral("<title>(.*?)</title>"),
                                          QRegularExpression::CaseInsensitiveOption
                                              | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression windows(QStringLiteral(R"re(<meta\s+name\s*=\s*"windows"\s+content\s*=\s*"([^"]*)")re"),
                                            QRegularExpression::CaseInsensitiveOption);
    for (const QString &file : std::as_const(order)) {
        const QString html = file == ContentsPage ? contents : readPage(folder + u'/' + file);
        if (html.isEmpty())
            continue;  // listed but missing: the contents page still opens
        Page page;
        page.file = file;
        page.title = plain(firstMatch(html, title));
        if (page.title.isEmpty())
            page.title = file;
        // The title is in the text already; searching sees the body only.
        static const QRegularExpression head(QStringLiteral("<head>.*</head>"),
                                             QRegularExpression::CaseInsensitiveOption
                                                 | QRegularExpression::DotMatchesEverythingOption);
        page.text = plain(QString(html).remove(head));
        page.windows = firstMatch(html, windows).split(u' ', Qt::SkipEmptyParts);
        for (const QString &window : std::as_const(page.windows))
            if (!m_byWindow.contains(window))
                m_byWindow.insert(window, file);
        m_pages << page;
    }
    return true;
}

const HelpGuide::Page *HelpGuide::page(const QString &file) const
{
    for (const Page &page : m_pages)
        if (page.file == file)
            return &page;
    return nullptr;
}

QStringList HelpGuide::queryWords(const QString &query)
{
    static const QRegularExpression separators(QStringLiteral(R"re([\s,;:!?"()]+)re"));
    QStringList words;
    for (QString word : query.split(separators, Qt::SkipEmptyParts)) {
        // A full stop ends a sentence, not a word ("kestrel-tool." finds "kestrel-tool").
        while (word.endsWith(u'.'))
            word.chop(1);
        if (!word.isEmpty() && !words.contains(word, Qt::CaseInsensitive))
            words << word;
    }
    return words;
}

QList<HelpGuide::Hit> HelpGuide::search(const QString &query) const
{
    const QStringList words = queryWords(query);
    QList<Hit> hits;
    if (words.isEmpty())
        return hits;
    for (const Page &page : m_pages) {
        Hit hit{page.file, page.title, 0, {}};
        qsizetype first = -1;
        bool all = true;
        for (const QString &word : words) {
            const int inTitle = int(page.title.count(word, Qt::CaseInsensitive));
            const int inText = int(page.text.count(word, Qt::CaseInsensitive));
            if (inTitle + inText == 0) {
                all = false;
                break;
            }
            hit.score += kTitleWeight * inTitle + inText;
            const qsizetype at = page.text.indexOf(word, 0, Qt::CaseInsensitive);
            if (at >= 0 && (first < 0 || at < first))
                first = at;
        }
        if (!all)
            continue;
        if (first >= 0) {
            const qsizetype from = std::max<qsizetype>(0, first - kExcerptReach);
            hit.excerpt = (from > 0 ? QStringLiteral("\u2026") : QString())
                          + page.text.mid(from, 2 * kExcerptReach).trimmed() + QStringLiteral("\u2026");
        }
        hits << hit;
    }
    std::stable_sort(hits.begin(), hits.end(), [](const Hit &a, const Hit &b) { return a.score > b.score; });
    return hits;
}
