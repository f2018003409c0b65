#include "statistics/StatisticsChart.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <cmath>

namespace {

const QString kAxisTitle = QStringLiteral("Packets");
const QString kTimeForm = QStringLiteral("HH:mm:ss");
const QColor kBackground(Qt::black);
const QColor kText(Qt::white);
const QColor kGrid(60, 60, 60);
const QColor kAxis(160, 160, 160);
const QColor kTrend(0, 128, 0);

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

    slot = bars.isEmpty() ? double(plot.width()) : double(plot.width()) / double(bars.size());
    const double timeWidth = metrics.horizontalAdvance(QStringLiteral("00:00:00")) + 10;
    labelEvery = std::max(1, int(std::ceil(timeWidth / std::max(slot, 0.01))));
}

double StatisticsChartLayout::yOf(double value) const
{
    return plot.bottom() + 1 - (value - low) / (high - low) * plot.height();
}

QRectF StatisticsChartLayout::barRect(qsizetype index, qint32 value) const
{
    const double width = std::max(1.0, slot * 0.7);
    const double x = plot.left() + index * slot + (slot - width) / 2;
    const double zero = yOf(0);
    const double y = yOf(value);
    return QRectF(QPointF(x, std::min(y, zero)), QPointF(x + width, std::max(y, zero)));
}

qsizetype StatisticsChartLayout::barAt(const QPoint &point, qsizetype count) const
{
    if (!plot.contains(point) || count <= 0 || slot <= 0)
        return -1;
    const auto index = qsizetype((point.x() - plot.left()) / slot);
    return index >= 0 && index < count ? index : -1;
}

void paintStatisticsChart(QPainter &painter, const QRect &rect, const QList<StatisticsBar> &bars,
                          const QList<double> &trend)
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

    // Bars, each in its own colour.
    for (qsizetype i = 0; i < bars.size(); ++i)
        painter.fillRect(layout.barRect(i, bars[i].value), colourOfValue(bars[i].colour));

    // Axes over the bars' feet.
    painter.setPen(kAxis);
    painter.drawLine(plot.left(), plot.top(), plot.left(), plot.bottom() + 1);
    const int zero = int(std::lround(layout.yOf(0)));
    painter.drawLine(plot.left(), zero, plot.right(), zero);

    // Bottom axis: the bars' times, as many as fit side by side.
    painter.setPen(kText);
    const int labelTop = plot.bottom() + 6;
    for (qsizetype i = 0; i < bars.size(); i += layout.labelEvery) {
        const int x = int(plot.left() + (i + 0.5) * layout.slot);
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
            painter.drawLine(QPointF(plot.left() + layout.slot * 0.15, y), QPointF(plot.left() + layout.slot * 0.85, y));
        } else {
            QPainterPath path;
            for (qsizetype i = 0; i < trend.size(); ++i) {
                const QPointF point(plot.left() + (i + 0.5) * layout.slot, layout.yOf(trend[i]));
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
    m_trend = leastSquaresTrend(m_series.bars());
    update();
}

void StatisticsChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintStatisticsChart(painter, rect(), m_series.bars(), m_trend);
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
        QToolTip::showText(help->globalPos(),
                           QLocale::c().toString(bar.time, QStringLiteral("dd-MMM-yyyy HH:mm:ss"))
                               + QStringLiteral(": %1 packets").arg(bar.value),
                           this);
        return true;
    }
    return QWidget::event(event);
}
