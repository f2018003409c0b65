#pragma once

#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;
class StationListModel;

// A station list laid out as a table across pages: the window's caption and
// the date at the top, the column headings on every page, one line per row,
// "Page n of m" at the foot. Free text that cannot fit even in a smaller font
// (status, path, log file) wraps onto more lines; other cells are cut with
// "...". No check boxes, no scroll bars: only the text of the rows.
class StationListPrint
{
public:
    StationListPrint(const StationListModel &model, const QString &title, const QString &printedAt,
                     const QFont &font);

    // Lays the rows out for pages of this size on this device.
    void layOut(QPaintDevice &device, const QRectF &page);
    int pageCount() const { return m_pages; }
    void paintPage(QPainter &painter, int page) const;

    // Lays out for the device's pages and prints every page; false with the
    // reason when the device cannot be painted on.
    bool print(QPagedPaintDevice &device, QString *errorText);

private:
    const StationListModel &m_model;
    QString m_title;
    QString m_printedAt;
    QFont m_font;
    QFont m_bold;
    QRectF m_page;
    QList<int> m_columns;
    QList<qreal> m_widths;
    qreal m_line = 0;
    qreal m_padding = 0;
    qreal m_top = 0;  // where the first row of a page starts
    QList<int> m_rowLines;    // the lines each row takes
    QList<int> m_pageStarts;  // the first row of each page
    int m_pages = 1;
};
