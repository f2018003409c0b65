#pragma once

#include <QChartView>
#include <QList>
#include <QPointF>
#include <QPointer>

class QDateTimeAxis;
class QRubberBand;
class QValueAxis;
class QXYSeries;

// One weather chart: time of day across, one or two value axes, series with
// a legend, a tooltip with the time and value of the point under the mouse,
// and the zoom and pan the chart tool window drives (also from the keyboard:
// + and - zoom, the arrows pan, Home resets; Ctrl and the wheel zoom).
//
// Every change of what an axis shows goes through this class, which fits the
// tick spacing before Qt lays the axis out: Qt lays out range / spacing ticks
// the moment a range changes, so a stale spacing can mean millions of them.
class WxChartView : public QChartView
{
    Q_OBJECT
public:
    enum class Mode { Select, ZoomArea, Pan };

    // More ticks than this never stand on an axis, not even for a moment.
    static constexpr int MostTicks = 12;

    WxChartView(const QString &objectName, const QString &title, QWidget *parent = nullptr);

    // A value axis on the left or right; its title carries the unit. Readings
    // outside lowest to highest cannot be real: they are not drawn and do not
    // stretch the axis, and no zoom or setting takes the axis beyond them.
    QValueAxis *addValueAxis(const QString &title, const QString &unit, Qt::Alignment side, double lowest,
                             double highest);
    // Ticks at this interval while it gives a sensible number of them (the
    // compass axis), fitted ones otherwise.
    static void setFixedTicks(QValueAxis *axis, double interval);
    // A line with its points marked, or points alone; decimals for the tooltip.
    QXYSeries *addSeries(const QString &name, const QColor &colour, QValueAxis *axis, int decimals,
                         bool pointsOnly = false, Qt::PenStyle style = Qt::SolidLine);
    QList<QXYSeries *> seriesList() const;
    QDateTimeAxis *timeAxis() const { return m_timeAxis; }

    // Points with x in milliseconds after midnight; readings the series's
    // axis cannot show are left out.
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
    // By pixels: positive dx moves on in time, positive dy to higher values.
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
        double lowest = 0;  // what the axis can show at all
        double highest = 0;
    };
    const Range *rangeOf(const QAbstractAxis *axis) const;
    void applyRange(const Range &range);
    // Shows [low, high] of a value axis (or of the time axis, in ms after
    // midnight), kept inside what it can show.
    void showValues(const Range &range, double low, double high);
    void showTimes(double low, double high);
    // The view scaled by factor (above 1 zooms in) about a point of the plot,
    // as fractions of its width and height.
    void zoomAbout(qreal factor, QPointF fraction);
    void zoomToRectangle(const QRectF &rect);
    void moved();

    QDateTimeAxis *m_timeAxis = nullptr;
    QList<Range> m_ranges;
    Mode m_mode = Mode::Select;
    bool m_userMoved = false;
    bool m_panning = false;
    QPointF m_panFrom;
    QPointer<QRubberBand> m_band;
    QPoint m_bandFrom;
};
