#include "statistics/StatisticsChart.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QLocale>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

const QString kAxisTitle = QStringLiteral("Packets");
const QString kTimeForm = QStringLiteral("HH:mm:ss");
const QColor kBackground(Qt::black);
const QColor kText(Qt::white);
const QColor kGrid(60, 60, 60);
const QColor kAxis(160, 160, 160);
const QColor kTrend(0, 128, 0);
constexpr int kInProgressAlpha = 110;

// 1, 2 or 5 times a power of ten, at least raw.
double niceStep(double raw)
{
    if (raw <= 0)
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= raw)
            return std::max(1.0, m * power);
    return std::max(1.0, 10 * power);
}

QString valueText(double value)
{
    return QLocale::c().toString(value, 'f', 0);
}

} // namespace

QColor colourOfValue(qint32 bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

namespace {

// Where the trend line starts and ends: at the earliest and the latest bar it
// was fitted to (the bar still counting was not).
struct TrendEnds
{
    double first = 0, last = 0;
};

std::optional<TrendEnds> trendEnds(const StatisticsBarIndex &index, const StatisticsTrend &trend)
{
    if (trend.count <= 0 || index.isEmpty())
        return std::nullopt;
    const qsizetype left = trend.count < index.size() ? index.rankOfLastBar() : -1;
    const qsizetype first = left == 0 ? 1 : 0;
    const qsizetype last = left == index.size() - 1 ? index.size() - 2 : index.size() - 1;
    if (first > last)
        return std::nullopt;
    return TrendEnds{index.secondsAtRank(first), index.secondsAtRank(last)};
}

} // namespace

StatisticsChartLayout::StatisticsChartLayout(const QRect &rect, const QFontMetrics &metrics,
                                             const QList<StatisticsBar> &bars, bool lastInProgress)
    : StatisticsChartLayout(rect, metrics, StatisticsBarIndex(bars),
                            StatisticsBarIndex(bars).trend(lastInProgress && !bars.isEmpty()))
{
}

StatisticsChartLayout::StatisticsChartLayout(const QRect &rect, const QFontMetrics &metrics,
                                             const StatisticsBarIndex &index, const StatisticsTrend &trend)
    : bars(index)
{
    double lowest = index.lowestValue(), highest = index.highestValue();
    // A falling trend may run on below zero; the axis stays at counts a bar
    // can have and the line leaves the plot there.
    if (const auto ends = trendEnds(index, trend))
        highest = std::max({highest, trend.at(ends->first), trend.at(ends->last)});

    const int lineHeight = metrics.height();
    const int top = rect.top() + lineHeight;
    const int bottom = rect.bottom() - 2 * lineHeight - 4;
    const int targetTicks = std::max(2, (bottom - top) / (2 * lineHeight + 8));
    step = niceStep((highest - lowest) / targetTicks);
    low = std::floor(lowest / step) * step;
    high = std::ceil(highest / step) * step;
    if (high <= low)
        high = low + step;

    const int labelWidth = std::max(metrics.horizontalAdvance(valueText(low)),
                                    metrics.horizontalAdvance(valueText(high)));
    const int left = rect.left() + lineHeight + 6 + labelWidth + 6;
    const int right = rect.right() - metrics.horizontalAdvance(QStringLiteral("00:00")) / 2 - 4;
    plot = QRect(QPoint(left, top), QPoint(std::max(left + 1, right), std::max(top + 1, bottom)));
    slot = plot.width() * index.period() / index.span();
}

double StatisticsChartLayout::xOfSeconds(double seconds) const
{
    return plot.left() + (seconds + bars.period() / 2) * plot.width() / bars.span();
}

double StatisticsChartLayout::secondsOfX(double x) const
{
    return (x - plot.left()) * bars.span() / plot.width() - bars.period() / 2;
}

double StatisticsChartLayout::xOf(qsizetype index) const
{
    return index >= 0 && index < bars.size() ? xOfSeconds(bars.secondsOf(index)) : plot.left();
}

double StatisticsChartLayout::yOf(double value) const
{
    return plot.bottom() + 1 - (value - low) / (high - low) * plot.height();
}

QRectF StatisticsChartLayout::barRect(qsizetype index, qint32 value) const
{
    const double width = std::max(1.0, slot * 0.7);
    const double x = xOf(index) - width / 2;
    const double zero = yOf(0);
    const double y = yOf(value);
    return QRectF(QPointF(x, std::min(y, zero)), QPointF(x + width, std::max(y, zero)));
}

qsizetype StatisticsChartLayout::barAt(const QPoint &point, qsizetype count) const
{
    if (!plot.contains(point) || count <= 0 || bars.isEmpty())
        return -1;
    // The nearest bar within half a period: one of the two either side of the pointer's time.
    const qsizetype after = bars.firstRankFrom(secondsOfX(point.x()));
    qsizetype best = -1;
    double bestDistance = std::max(slot / 2, 2.0);
    for (const qsizetype rank : {after - 1, after}) {
        if (rank < 0 || rank >= bars.size())
            continue;
        const double distance = std::fabs(point.x() - xOfSeconds(bars.secondsAtRank(rank)));
        if (const qsizetype bar = bars.barAtRank(rank); distance <= bestDistance && bar < count) {
            best = bar;
            bestDistance = distance;
        }
    }
    return best;
}

namespace {

void paintBar(QPainter &painter, const QRectF &bar, const StatisticsBar &data, bool counting)
{
    QColor colour = colourOfValue(data.colour);
    if (!counting) {
        painter.fillRect(bar, colour);
        return;
    }
    painter.setPen(colour);
    colour.setAlpha(kInProgressAlpha);
    painter.setBrush(colour);
    painter.drawRect(bar.adjusted(0, 0, -1, -1));
    painter.setBrush(Qt::NoBrush);
}

// One pixel column per step: the tallest of the column's bars and, below
// zero, the lowest, in their own colours. The bar still counting is left to
// the caller.
void paintColumns(QPainter &painter, const StatisticsChartLayout &layout, const QList<StatisticsBar> &bars,
                  qsizetype countingRank)
{
    const StatisticsBarIndex &index = layout.bars;
    const double zero = layout.yOf(0);
    qsizetype from = index.firstRankFrom(layout.secondsOfX(layout.plot.left()));
    for (int x = layout.plot.left(); x <= layout.plot.right() + 1 && from < index.size(); ++x) {
        const qsizetype to = index.firstRankFrom(layout.secondsOfX(x + 1));
        // The counting bar splits the run in two.
        const bool splits = countingRank >= from && countingRank < to;
        const std::pair<qsizetype, qsizetype> runs[] = {{from, splits ? countingRank : to},
                                                        {splits ? countingRank + 1 : to, to}};
        for (const auto &[begin, end] : runs) {
            const qsizetype largest = index.largestIn(begin, end), smallest = index.smallestIn(begin, end);
            for (const qsizetype bar : {largest >= 0 && bars[largest].value > 0 ? largest : -1,
                                        smallest >= 0 && bars[smallest].value < 0 ? smallest : -1}) {
                if (bar < 0)
                    continue;
                const double y = layout.yOf(bars[bar].value);
                painter.fillRect(QRectF(QPointF(x, std::min(y, zero)), QPointF(x + 1, std::max(y, zero))),
                                 colourOfValue(bars[bar].colour));
            }
        }
        from = to;
    }
}

} // namespace

void paintStatisticsChart(QPainter &painter, const QRect &rect, const QList<StatisticsBar> &bars,
                          bool lastInProgress)
{
    const StatisticsBarIndex index(bars);
    paintStatisticsChart(painter, rect, bars, index, index.trend(lastInProgress && !bars.isEmpty()), lastInProgress);
}

void paintStatisticsChart(QPainter &painter, const QRect &rect, const QList<StatisticsBar> &bars,
                          const StatisticsBarIndex &index, const StatisticsTrend &trend, bool lastInProgress)
{
    painter.save();
    painter.fillRect(rect, kBackground);
    const QFontMetrics metrics = painter.fontMetrics();
    const StatisticsChartLayout layout(rect, metrics, index, trend);
    const QRect &plot = layout.plot;

    // Left axis: grid lines and values, the title up the side.
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (double value = layout.low; value <= layout.high + layout.step / 2; value += layout.step) {
        const int y = int(std::lround(layout.yOf(value)));
        painter.setPen(kGrid);
        painter.drawLine(plot.left(), y, plot.right(), y);
        painter.setPen(kText);
        const QString text = valueText(value);
        painter.drawText(QRect(rect.left(), y - metrics.height() / 2, plot.left() - 6 - rect.left(), metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, text);
    }
    painter.save();
    painter.translate(rect.left() + 2 + metrics.ascent(), plot.center().y());
    painter.rotate(-90);
    painter.setPen(kText);
    painter.drawText(QRect(-plot.height() / 2, -metrics.ascent(), plot.height(), metrics.height()),
                     Qt::AlignCenter, kAxisTitle);
    painter.restore();

    // Bars, each in its own colour; the one still counting dimmed in its outline.
    const qsizetype counting = lastInProgress && !bars.isEmpty() ? bars.size() - 1 : -1;
    if (bars.size() <= plot.width()) {
        for (qsizetype i = 0; i < bars.size(); ++i)
            paintBar(painter, layout.barRect(i, bars[i].value), bars[i], i == counting);
    } else {
        paintColumns(painter, layout, bars, counting >= 0 ? index.rankOfLastBar() : -1);
        if (counting >= 0)
            paintBar(painter, layout.barRect(counting, bars[counting].value), bars[counting], true);
    }

    // Axes over the bars' feet.
    painter.setPen(kAxis);
    painter.drawLine(plot.left(), plot.top(), plot.left(), plot.bottom() + 1);
    const int zero = int(std::lround(layout.yOf(0)));
    painter.drawLine(plot.left(), zero, plot.right(), zero);

    // Bottom axis: the bars' times, each that has room after the last one drawn.
    painter.setPen(kText);
    const int labelTop = plot.bottom() + 6;
    const int labelGap = metrics.horizontalAdvance(QStringLiteral("00:00:00")) + 10;
    for (qsizetype rank = 0; rank < index.size();) {
        const int x = int(std::lround(layout.xOfSeconds(index.secondsAtRank(rank))));
        painter.setPen(kAxis);
        painter.drawLine(x, plot.bottom() + 1, x, plot.bottom() + 4);
        painter.setPen(kText);
        const QString text = bars[index.barAtRank(rank)].time.toString(kTimeForm);
        const int width = metrics.horizontalAdvance(text);
        painter.drawText(QRect(x - width / 2 - 2, labelTop, width + 4, metrics.height()), Qt::AlignCenter, text);
        rank = std::max(rank + 1, index.firstRankFrom(layout.secondsOfX(x + labelGap - 0.5)));
    }

    // The trend over everything.
    if (const auto ends = trendEnds(index, trend)) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(kTrend, 2));
        painter.setClipRect(plot.adjusted(0, -1, 1, 1));
        const QPointF first(layout.xOfSeconds(ends->first), layout.yOf(trend.at(ends->first)));
        const QPointF last(layout.xOfSeconds(ends->last), layout.yOf(trend.at(ends->last)));
        if (first.x() == last.x())
            painter.drawLine(first - QPointF(layout.slot * 0.35, 0), first + QPointF(layout.slot * 0.35, 0));
        else
            painter.drawLine(first, last);
    }
    painter.restore();
}

StatisticsChartView::StatisticsChartView(const StatisticsSeries &series, QWidget *parent)
    : QWidget(parent)
    , m_series(series)
{
    setObjectName(QStringLiteral("tcStats"));
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    setMouseTracking(true);
    refresh();
}

void StatisticsChartView::refresh()
{
    reindex();
    update();
}

void StatisticsChartView::reindex()
{
    // A live series changes only at its end: following it costs no more than
    // the change, where indexing a year of bars anew would take a frame.
    if (m_indexed != m_series.generation() || !m_index.follow(m_series.bars())) {
        m_index = StatisticsBarIndex(m_series.bars());
        m_indexed = m_series.generation();
    }
    m_trend = m_index.trend(m_lastInProgress && !m_series.isEmpty());
}

void StatisticsChartView::setLastInProgress(bool inProgress)
{
    m_lastInProgress = inProgress;
    refresh();
}

void StatisticsChartView::paintEvent(QPaintEvent *)
{
    // Bars added without a refresh must not be looked up in an index without them.
    if (m_index.size() != m_series.count())
        reindex();
    QPainter painter(this);
    paintStatisticsChart(painter, rect(), m_series.bars(), m_index, m_trend, m_lastInProgress);
}

bool StatisticsChartView::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        if (m_index.size() != m_series.count())
            reindex();
        const StatisticsChartLayout layout(rect(), fontMetrics(), m_index, m_trend);
        const qsizetype index = layout.barAt(help->pos(), m_series.count());
        if (index < 0) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        const StatisticsBar &bar = m_series.bars()[index];
        const bool counting = m_lastInProgress && index == m_series.count() - 1;
        QToolTip::showText(help->globalPos(),
                           QLocale::c().toString(bar.time, QStringLiteral("dd-MMM-yyyy HH:mm:ss"))
                               + QStringLiteral(": %1 packets").arg(bar.value)
                               + (counting ? QStringLiteral(" so far") : QString()),
                           this);
        return true;
    }
    return QWidget::event(event);
}
