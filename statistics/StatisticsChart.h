#pragma once

#include <QList>
#include <QRect>
#include <QWidget>

#include "statistics/StatisticsBarIndex.h"
#include "statistics/StatisticsSeries.h"

class QPainter;

// Where the parts of the chart go in a given rectangle: the plot area, the
// place of each bar along the time axis, the value range of the left axis.
// Bars stand at their times, so a silence of hours shows as a gap; each is
// as wide as the shortest step between two bars (one sample period).
struct StatisticsChartLayout
{
    QRect plot;
    double slot = 0;   // pixels of one sample period
    double low = 0;    // value at the bottom of the plot
    double high = 1;   // value at the top
    double step = 1;   // between the left axis's labels
    StatisticsBarIndex bars;

    StatisticsChartLayout(const QRect &rect, const QFontMetrics &metrics, const StatisticsBarIndex &index,
                          const StatisticsTrend &trend);
    // With the trend through the bars (but the last when it is in progress).
    StatisticsChartLayout(const QRect &rect, const QFontMetrics &metrics, const QList<StatisticsBar> &bars,
                          bool lastInProgress = false);
    double yOf(double value) const;
    // The middle of a bar's period.
    double xOf(qsizetype index) const;
    double xOfSeconds(double seconds) const;
    double secondsOfX(double x) const;
    QRectF barRect(qsizetype index, qint32 value) const;
    // The bar under a point of the plot, or -1.
    qsizetype barAt(const QPoint &point, qsizetype count) const;
};

QColor colourOfValue(qint32 bgr);

// The chart as the window shows it: black background, the bars in their load
// colours, the trend line over them, "Packets" up the left axis and the
// bars' times ("HH:MM:SS") along the bottom. A last bar still in progress is
// drawn dimmed inside its outline. With more bars than pixel columns, each
// column shows the tallest (and lowest) of its bars, so a paint costs the
// same for a day of bars as for a year.
void paintStatisticsChart(QPainter &painter, const QRect &rect, const QList<StatisticsBar> &bars,
                          const StatisticsBarIndex &index, const StatisticsTrend &trend, bool lastInProgress = false);
void paintStatisticsChart(QPainter &painter, const QRect &rect, const QList<StatisticsBar> &bars,
                          bool lastInProgress = false);

// The chart control: draws a series and its trend, names a bar's time and
// count when the pointer rests on it.
class StatisticsChartView : public QWidget
{
    Q_OBJECT
public:
    explicit StatisticsChartView(const StatisticsSeries &series, QWidget *parent = nullptr);

    // Takes in the bars' changes, fits the trend again and repaints.
    void refresh();
    const StatisticsBarIndex &index() const { return m_index; }
    const StatisticsTrend &trend() const { return m_trend; }
    // The last bar is the period still being counted: it stays out of the
    // trend, which would otherwise dive at the start of every period.
    void setLastInProgress(bool inProgress);
    bool lastInProgress() const { return m_lastInProgress; }

    QSize sizeHint() const override { return {560, 300}; }
    QSize minimumSizeHint() const override { return {200, 120}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    // Takes in the bars' changes and fits the trend again.
    void reindex();

    const StatisticsSeries &m_series;
    quint64 m_indexed = 0;  // the series generation m_index follows
    StatisticsBarIndex m_index;
    StatisticsTrend m_trend;
    bool m_lastInProgress = false;
};
