#include "statistics/StatisticsChart.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <limits>

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

StatisticsChartLayout::StatisticsChartLayout(const QRect &rect, const QFontMetrics &metrics,
                                             const QList<StatisticsBar> &bars, const QList<double> &trend)
{
    double lowest = 0, highest = 1;
    for (const StatisticsBar &bar : bars) {
        lowest = std::min(lowest, double(bar.value));
        highest = std::max(highest, double(bar.value));
    }
    // A falling trend may run on below zero; the axis stays at counts a bar
    // can have and the line leaves the plot there.
    for (const double value : trend)
        highest = std::max(highest, value);

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

    // Seconds from the earliest bar; the period is the shortest step between two.
    QList<double> seconds;
    seconds.reserve(bars.size());
    const QDateTime origin = bars.isEmpty() ? QDateTime() : std::min_element(bars.begin(), bars.end(), [](const auto &a, const auto &b) {
        return a.time < b.time;
    })->time;
    for (const StatisticsBar &bar : bars)
        seconds.append(double(origin.secsTo(bar.time)));
    QList<double> sorted = seconds;
    std::sort(sorted.begin(), sorted.end());
    double period = 0;
    for (qsizetype i = 1; i < sorted.size(); ++i)
        if (const double gap = sorted[i] - sorted[i - 1]; gap > 0 && (period == 0 || gap < period))
            period = gap;
    if (period == 0)
        period = 600;
    const double span = (sorted.isEmpty() ? 0 : sorted.last()) + period;
    slot = plot.width() * period / span;
    m_centres.reserve(bars.size());
    for (const double s : seconds)
        m_centres.append(plot.left() + (s + period / 2) * plot.width() / span);
}

double StatisticsChartLayout::xOf(qsizetype index) const
{
    return m_centres.value(index, plot.left());
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
    if (!plot.contains(point) || count <= 0)
        return -1;
    // The nearest bar within half a period.
    qsizetype best = -1;
    double bestDistance = std::max(slot / 2, 2.0);
    for (qsizetype i = 0; i < std::min(count, m_centres.size()); ++i)
        if (const double distance = std::fabs(point.x() - m_centres[i]); distance <= bestDistance) {
            best = i;
            bestDistance = distance;
        }
    return best;
}

void paintStatisticsChart(QPainter &painter, const QRect &rect, const QList<StatisticsBar> &bars,
                          const QList<double> &trend, bool lastInProgress)
{
    painter.save();
    painter.fillRect(rect, kBackground);
    const QFontMetrics metrics = painter.fontMetrics();
    const StatisticsChartLayout layout(rect, metrics, bars, trend);
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
    const qsizetype counting = lastInProgress ? bars.size() - 1 : -1;
    for (qsizetype i = 0; i < bars.size(); ++i) {
        const QRectF bar = layout.barRect(i, bars[i].value);
        QColor colour = colourOfValue(bars[i].colour);
        if (i != counting) {
            painter.fillRect(bar, colour);
            continue;
        }
        painter.setPen(colour);
        colour.setAlpha(kInProgressAlpha);
        painter.setBrush(colour);
        painter.drawRect(bar.adjusted(0, 0, -1, -1));
        painter.setBrush(Qt::NoBrush);
    }

    // Axes over the bars' feet.
    painter.setPen(kAxis);
    painter.drawLine(plot.left(), plot.top(), plot.left(), plot.bottom() + 1);
    const int zero = int(std::lround(layout.yOf(0)));
    painter.drawLine(plot.left(), zero, plot.right(), zero);

    // Bottom axis: the bars' times, each that has room beside the last one drawn.
    painter.setPen(kText);
    const int labelTop = plot.bottom() + 6;
    const int labelGap = metrics.horizontalAdvance(QStringLiteral("00:00:00")) + 10;
    int lastLabel = std::numeric_limits<int>::min() / 2;
    for (qsizetype i = 0; i < bars.size(); ++i) {
        const int x = int(std::lround(layout.xOf(i)));
        if (std::abs(x - lastLabel) < labelGap)
            continue;
        lastLabel = x;
        painter.setPen(kAxis);
        painter.drawLine(x, plot.bottom() + 1, x, plot.bottom() + 4);
        painter.setPen(kText);
        const QString text = bars[i].time.toString(kTimeForm);
        const int width = metrics.horizontalAdvance(text);
        painter.drawText(QRect(x - width / 2 - 2, labelTop, width + 4, metrics.height()), Qt::AlignCenter, text);
    }

    // The trend over everything.
    if (!trend.isEmpty()) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(kTrend, 2));
        painter.setClipRect(plot.adjusted(0, -1, 1, 1));
        if (trend.size() == 1) {
            const double y = layout.yOf(trend.first());
            painter.drawLine(QPointF(layout.xOf(0) - layout.slot * 0.35, y), QPointF(layout.xOf(0) + layout.slot * 0.35, y));
        } else {
            // Taken at the bars' times, the points of a straight line stay on one.
            QPainterPath path;
            for (qsizetype i = 0; i < trend.size(); ++i) {
                const QPointF point(layout.xOf(i), layout.yOf(trend[i]));
                if (i == 0)
                    path.moveTo(point);
                else
                    path.lineTo(point);
            }
            painter.drawPath(path);
        }
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
    const QList<StatisticsBar> &bars = m_series.bars();
    m_trend = leastSquaresTrend(m_lastInProgress && !bars.isEmpty() ? bars.first(bars.size() - 1) : bars);
    update();
}

void StatisticsChartView::setLastInProgress(bool inProgress)
{
    m_lastInProgress = inProgress;
    refresh();
}

void StatisticsChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintStatisticsChart(painter, rect(), m_series.bars(), m_trend, m_lastInProgress);
}

bool StatisticsChartView::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const StatisticsChartLayout layout(rect(), fontMetrics(), m_series.bars(), m_trend);
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
