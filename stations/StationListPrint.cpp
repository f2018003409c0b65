#include "stations/StationListPrint.h"

#include "stations/StationListModel.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

constexpr qreal kSmallestPoints = 6;
// Progress is told every so many rows; laying out is the first part of it.
constexpr int kRowsPerReport = 256;
constexpr int kLayoutShare = 400;
constexpr qreal kMarginPoints = 36;
const QColor kShade(238, 238, 238);
const QColor kRule(90, 90, 90);

qreal textWidth(const QFontMetricsF &metrics, const QString &text)
{
    return metrics.horizontalAdvance(text);
}

// Columns of free text, which take more lines rather than lose their end.
bool wraps(int column)
{
    return column == StationListModel::Status || column == StationListModel::Path
           || column == StationListModel::LogFile;
}

// The text as the lines it takes in that width: broken between words, and
// inside a word only when one word alone is wider.
QStringList wrapped(const QString &text, const QFont &font, QPaintDevice *device, qreal width)
{
    if (text.isEmpty())
        return {QString()};
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max<qreal>(1, width));
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

} // namespace

StationListPrint::StationListPrint(const StationListModel &model, const QString &title,
                                   const QString &printedAt, const QFont &font)
    : m_title(title), m_printedAt(printedAt), m_font(font)
{
    // The log column only when some row is logging.
    for (int c = StationListModel::Station; c <= StationListModel::Time; ++c)
        m_columns << c;
    for (int r = 0; r < model.count(); ++r)
        if (!model.cell(r, StationListModel::LogFile).isEmpty()) {
            m_columns << StationListModel::LogFile;
            break;
        }
    m_cells.reserve(model.count());
    for (int r = 0; r < model.count(); ++r) {
        QStringList texts;
        texts.reserve(m_columns.size());
        for (int c : std::as_const(m_columns))
            texts << model.cell(r, c);
        m_cells << texts;
    }
}

bool StationListPrint::report(int permille)
{
    if (m_progress && !m_cancelled && !m_progress(permille))
        m_cancelled = true;
    return !m_cancelled;
}

void StationListPrint::layOut(QPaintDevice &device, const QRectF &page)
{
    m_page = page;
    // Natural widths; a table wider than the page is set in a smaller font first.
    for (;;) {
        m_bold = m_font;
        m_bold.setBold(true);
        const QFontMetricsF metrics(m_font, &device);
        const QFontMetricsF bold(m_bold, &device);
        m_padding = metrics.averageCharWidth();
        m_widths.clear();
        for (int i = 0; i < m_columns.size(); ++i) {
            qreal width = textWidth(bold, StationListModel::headers().at(m_columns[i]));
            for (int r = 0; r < rowCount(); ++r) {
                width = std::max(width, textWidth(metrics, cell(r, i)));
                if (r % kRowsPerReport == kRowsPerReport - 1
                    && !report(int(qint64(kLayoutShare / 2) * (i * rowCount() + r) / (m_columns.size() * rowCount()))))
                    return;
            }
            m_widths << width + m_padding;
        }
        const qreal total = std::accumulate(m_widths.cbegin(), m_widths.cend(), qreal(0));
        if (total <= page.width() || m_font.pointSizeF() <= kSmallestPoints)
            break;
        m_font.setPointSizeF(std::max(kSmallestPoints, m_font.pointSizeF() * std::max(0.8, page.width() / total)));
    }
    // Still too wide: the free-text columns give up what is missing, down to a
    // few characters each; failing that every column gives up its share.
    qreal excess = std::accumulate(m_widths.cbegin(), m_widths.cend(), qreal(0)) - page.width();
    const qreal narrowest = 8 * m_padding;
    for (int c : {StationListModel::Status, StationListModel::LogFile, StationListModel::Path}) {
        const int i = int(m_columns.indexOf(c));
        if (excess <= 0 || i < 0 || m_widths[i] <= narrowest)
            continue;
        const qreal give = std::min(excess, m_widths[i] - narrowest);
        m_widths[i] -= give;
        excess -= give;
    }
    if (excess > 0) {
        const qreal scale = page.width() / (page.width() + excess);
        for (qreal &width : m_widths)
            width *= scale;
    }

    const QFontMetricsF metrics(m_font, &device);
    m_line = std::ceil(metrics.height() * 1.3);
    m_top = page.top() + 3 * m_line;  // title, a gap, the headings
    const qreal bottom = page.bottom() - 2 * m_line;  // the page number
    // A row is as many lines as its longest wrapped cell, and never more than a page holds.
    const int linesPerPage = std::max(1, int((bottom - m_top) / m_line));
    m_rowLines.clear();
    m_pageStarts = {0};
    int used = 0;
    for (int r = 0; r < rowCount(); ++r) {
        if (r % kRowsPerReport == kRowsPerReport - 1 && !report(int(kLayoutShare / 2 + qint64(kLayoutShare / 2) * r / rowCount())))
            return;
        int lines = 1;
        for (int i = 0; i < m_columns.size(); ++i)
            if (wraps(m_columns[i]))
                lines = std::max(lines, int(wrapped(cell(r, i), m_font, &device, m_widths[i] - m_padding + 1).size()));
        lines = std::min(lines, linesPerPage);
        if (used + lines > linesPerPage) {
            m_pageStarts << r;
            used = 0;
        }
        m_rowLines << lines;
        used += lines;
    }
    m_pages = int(m_pageStarts.size());
}

void StationListPrint::paintPage(QPainter &painter, int page) const
{
    painter.save();
    painter.setClipRect(m_page);
    painter.setPen(Qt::black);
    const qreal left = m_page.left();
    const qreal right = m_page.right();

    QFont titleFont = m_bold;
    titleFont.setPointSizeF(m_bold.pointSizeF() * 1.2);
    painter.setFont(titleFont);
    const QRectF titleLine(left, m_page.top(), m_page.width(), m_line);
    painter.drawText(titleLine, Qt::AlignLeft | Qt::AlignVCenter, m_title);
    painter.setFont(m_font);
    painter.drawText(titleLine, Qt::AlignRight | Qt::AlignVCenter, m_printedAt);

    auto drawRow = [&](qreal y, int lines, const auto &textOf) {
        const QFontMetricsF metrics(painter.font(), painter.device());
        qreal x = left;
        for (int i = 0; i < m_columns.size(); ++i) {
            const qreal width = m_widths[i] - m_padding;
            const QString text = textOf(i);
            // A hair of slack, so a cell laid out at its natural width is never cut.
            QStringList cellLines = wraps(m_columns[i]) && lines > 1
                                        ? wrapped(text, painter.font(), painter.device(), width + 1)
                                        : QStringList{text};
            if (cellLines.size() > lines) {
                cellLines = cellLines.mid(0, lines);
                cellLines.last() += QStringLiteral("\u2026");
            }
            for (int l = 0; l < cellLines.size(); ++l) {
                const QRectF cell(x + m_padding / 2, y + l * m_line, width, m_line);
                painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter,
                                 metrics.elidedText(cellLines[l], Qt::ElideRight, width + 1));
            }
            x += m_widths[i];
        }
    };
    const qreal headings = m_top - m_line;
    painter.setFont(m_bold);
    drawRow(headings, 1, [this](int i) { return StationListModel::headers().at(m_columns[i]); });
    painter.setPen(QPen(kRule, 0));
    painter.drawLine(QPointF(left, m_top), QPointF(right, m_top));

    painter.setFont(m_font);
    const int first = std::min(m_pageStarts.value(page, rowCount()), int(m_rowLines.size()));
    const int last = std::min(page + 1 < m_pageStarts.size() ? m_pageStarts[page + 1] : rowCount(),
                              int(m_rowLines.size()));
    qreal y = m_top;
    for (int r = first; r < last; ++r) {
        const qreal height = m_rowLines[r] * m_line;
        if ((r - first) % 2 == 1)
            painter.fillRect(QRectF(left, y, m_page.width(), height), kShade);
        painter.setPen(Qt::black);
        drawRow(y, m_rowLines[r], [this, r](int i) { return cell(r, i); });
        y += height;
    }

    painter.drawText(QRectF(left, m_page.bottom() - m_line, m_page.width(), m_line), Qt::AlignCenter,
                     QStringLiteral("Page %1 of %2").arg(page + 1).arg(m_pages));
    painter.restore();
}

bool StationListPrint::print(QPagedPaintDevice &device, QString *errorText)
{
    QPainter painter;
    if (!painter.begin(&device)) {
        if (errorText)
            *errorText = QStringLiteral("The printer could not be started");
        return false;
    }
    // At least half an inch of paper round the table, whatever margins the printer keeps.
    const QMarginsF margins = device.pageLayout().margins(QPageLayout::Point);
    const qreal perPoint = device.logicalDpiX() / 72.0;
    const auto more = [perPoint](qreal margin) { return std::max<qreal>(0, kMarginPoints - margin) * perPoint; };
    layOut(device, QRectF(painter.viewport())
                       .adjusted(more(margins.left()), more(margins.top()), -more(margins.right()),
                                 -more(margins.bottom())));
    if (m_cancelled)
        return painter.end();
    for (int page = 0; page < m_pages && report(kLayoutShare + (1000 - kLayoutShare) * page / m_pages); ++page) {
        if (page > 0 && !device.newPage()) {
            if (errorText)
                *errorText = QStringLiteral("The printer could not start page %1").arg(page + 1);
            return false;
        }
        paintPage(painter, page);
    }
    return painter.end();
}
