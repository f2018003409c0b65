#pragma once

#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;
class StationListModel;

// A station list laid out as a table across pages: the window's caption and
// the date at the top, the column headings on every page, one line per row,
// "Page n of m" at the foot. Free text that cannot fit even in a smaller font
// (status, path, log file) wraps onto more lines; other cells are cut with
// "...". No check boxes, no scroll bars: only the text of the rows.
// The rows are copied when the print is made, so the list may go on taking
// frames (and events run) while a long print is laid out and painted.
class StationListPrint
{
public:
    StationListPrint(const StationListModel &model, const QString &title, const QString &printedAt,
                     const QFont &font);

    // Told how far the work is, in thousandths, every few hundred rows and
    // every page; returning false stops it: the pages done so far are kept.
    using Progress = std::function<bool(int permille)>;
    void setProgress(Progress progress) { m_progress = std::move(progress); }
    bool cancelled() const { return m_cancelled; }

    // Lays the rows out for pages of this size on this device.
    void layOut(QPaintDevice &device, const QRectF &page);
    int pageCount() const { return m_pages; }
    void paintPage(QPainter &painter, int page) const;

    // Lays out for the device's pages and prints every page; false with the
    // reason when the device cannot be painted on.
    bool print(QPagedPaintDevice &device, QString *errorText);

private:
    int rowCount() const { return int(m_cells.size()); }
    // The text of row r in printed column i.
    const QString &cell(int r, int i) const { return m_cells[r][i]; }
    bool report(int permille);

    QList<QStringList> m_cells;
    Progress m_progress;
    bool m_cancelled = false;
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
