#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The user guide shipped with Kestrel: HTML pages in one folder, read once.
// The contents page (index.html) lists the others in reading order; a page
// names the windows it describes by their object names in
//   <meta name="windows" content="frmDocument frmStations">
// so that F1 finds the page of whatever window is active.
class HelpGuide
{
public:
    static inline const QString ContentsPage = QStringLiteral("index.html");

    struct Page
    {
        QString file;  // name within the folder
        QString title;
        QString text;  // what the reader sees, for searching
        QStringList windows;
    };

    struct Hit
    {
        QString file;
        QString title;
        int score = 0;
        QString excerpt;  // the words round the first match
    };

    // Reads the guide in the folder; false (and an empty guide) when the
    // folder holds no contents page.
    bool load(const QString &folder);
    // The guide in the shipped data folder ("guide" below it).
    static QString shippedFolder();

    bool isEmpty() const { return m_pages.isEmpty(); }
    QString folder() const { return m_folder; }
    // Contents page first, then the pages in the order it lists them, then
    // any page it does not list, by name.
    const QList<Page> &pages() const { return m_pages; }
    const Page *page(const QString &file) const;
    QString path(const QString &file) const { return m_folder + u'/' + file; }

    // The page that describes a window of that object name, or empty.
    QString pageForWindow(const QString &objectName) const { return m_byWindow.value(objectName); }

    // Pages holding every word of the query (letter case ignored), the best
    // first: a word in the title counts more than one in the text.
    QList<Hit> search(const QString &query) const;
    // The words of a query, as search() takes them.
    static QStringList queryWords(const QString &query);

private:
    QString m_folder;
    QList<Page> m_pages;
    QHash<QString, QString> m_byWindow;
};
