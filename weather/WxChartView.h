#pragma once

#include <QChartView>
#include <QList>
#include <QPointF>

class QDateTimeAxis;
class QValueAxis;
class QXYSeries;

// One weather chart: time of day across, one or two value axes, series with
// a legend, a tooltip with the time and value of the point under the mouse,
// and the zoom and pan the chart tool window drives (also from the keyboard:
// + and - zoom, the arrows pan, Home resets).
class WxChartView : public QChartView
{
    Q_OBJECT
public:
    enum class Mode { Select, ZoomArea, Pan };

    WxChartView(const QString &objectName, const QString &title, QWidget *parent = nullptr);

    // A value axis on the left or right; its title carries the unit.
    QValueAxis *addValueAxis(const QString &title, const QString &unit, Qt::Alignment side);
    // Ticks at this interval, not fitted to the range (the compass axis).
    static void setFixedTicks(QValueAxis *axis, double interval);
    // A line with its points marked, or points alone; decimals for the tooltip.
    QXYSeries *addSeries(const QString &name, const QColor &colour, QValueAxis *axis, int decimals,
                         bool pointsOnly = false, Qt::PenStyle style = Qt::SolidLine);
    QList<QXYSeries *> seriesList() const;
    QDateTimeAxis *timeAxis() const { return m_timeAxis; }

    // Points with x in milliseconds after midnight.
    void setPoints(QXYSeries *series, const QList<QPointF> &points);
    void clearPoints();
    // Fixed limits, or (autoScale) limits that fit the points of the axis's
    // series, falling back to the fixed ones when there are none.
    void setValueRange(QValueAxis *axis, bool autoScale, double minimum, double maximum);
    // Applies the ranges again to a chart the user has not zoomed or panned.
    void refitAutoRanges();

    void zoomIn();
    void zoomOut();
    // The whole day and the set ranges again.
    void resetView();
    void scrollBy(qreal dx, qreal dy);
    void setMode(Mode mode);
    Mode mode() const { return m_mode; }
    // True once the user zoomed or panned, until a reset.
    bool userMoved() const { return m_userMoved; }

    // "14:05:00  Temperature: 18.3 °C" for the point of the series nearest
    // (in time) to the value position; empty when the series has no points.
    QString pointText(QXYSeries *series, const QPointF &value) const;
    // The chart as the user sees it.
    QImage image();

    // X values are milliseconds since the epoch on a fixed day without a
    // clock change, so the time axis shows only the time of day.
    static qint64 origin();

signals:
    void viewChanged();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    struct Range
    {
        QValueAxis *axis = nullptr;
        bool autoScale = false;
        double minimum = 0;
        double maximum = 0;
    };
    void applyRange(const Range &range);
    void moved();

    QDateTimeAxis *m_timeAxis = nullptr;
    QList<Range> m_ranges;
    Mode m_mode = Mode::Select;
    bool m_userMoved = false;
    bool m_panning = false;
    QPointF m_panFrom;
};
