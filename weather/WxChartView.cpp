#include "weather/WxChartView.h"

#include <QChart>
#include <QCursor>
#include <QDateTimeAxis>
#include <QKeyEvent>
#include <QLegend>
#include <QLineSeries>
#include <QScatterSeries>
#include <QTime>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr qint64 kDayMs = 24 * 3600 * 1000;
constexpr qreal kZoomStep = 2.0;
constexpr qreal kKeyScrollShare = 0.1;

const char *const kUnitProperty = "wxUnit";
const char *const kDecimalsProperty = "wxDecimals";
const char *const kFixedTicksProperty = "wxFixedTicks";

// About six ticks at 1, 2, 2.5 or 5 times a power of ten, with the
// decimals the interval needs.
void fitTicks(QValueAxis *axis, qreal min, qreal max)
{
    const double span = max - min;
    if (!(span > 0) || !std::isfinite(span) || axis->property(kFixedTicksProperty).isValid())
        return;
    const double rough = span / 6.0;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double interval = power * 10;
    for (double step : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (power * step >= rough) {
            interval = power * step;
            break;
        }
    axis->setTickInterval(interval);
    const int decimals = std::clamp(int(-std::floor(std::log10(interval) + 1e-9)) + (std::fabs(interval / power - 2.5) < 1e-9 ? 1 : 0), 0, 4);
    axis->setLabelFormat(QStringLiteral("%.") + QString::number(decimals) + u'f');
}

// With a day of five-minute reports a marker on every point hides the line.
constexpr qsizetype kMostMarkedPoints = 60;

QFont boldened(QFont font)
{
    font.setBold(true);
    return font;
}

} // namespace

qint64 WxChartView::origin()
{
    static const qint64 ms = QDateTime(QDate(2000, 1, 15), QTime(0, 0)).toMSecsSinceEpoch();
    return ms;
}

WxChartView::WxChartView(const QString &objectName, const QString &title, QWidget *parent)
    : QChartView(new QChart, parent)
{
    setObjectName(objectName);
    setRenderHint(QPainter::Antialiasing);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    QChart *c = chart();
    c->setTitle(title);
    c->setTitleFont(boldened(c->titleFont()));
    c->setAnimationOptions(QChart::NoAnimation);
    c->legend()->setAlignment(Qt::AlignBottom);
    c->legend()->setVisible(true);
    // A line for a line series, so a dashed gust tells itself from the speed.
    c->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    c->setMargins(QMargins(6, 6, 6, 6));

    m_timeAxis = new QDateTimeAxis(c);
    m_timeAxis->setFormat(QStringLiteral("HH:mm"));
    m_timeAxis->setTickCount(13);
    m_timeAxis->setTitleText(QStringLiteral("Time"));
    m_timeAxis->setRange(QDateTime::fromMSecsSinceEpoch(origin()),
                         QDateTime::fromMSecsSinceEpoch(origin() + kDayMs));
    c->addAxis(m_timeAxis, Qt::AlignBottom);
}

void WxChartView::setFixedTicks(QValueAxis *axis, double interval)
{
    axis->setProperty(kFixedTicksProperty, interval);
    axis->setTickInterval(interval);
    axis->setLabelFormat(QStringLiteral("%.0f"));
}

QValueAxis *WxChartView::addValueAxis(const QString &title, const QString &unit, Qt::Alignment side)
{
    auto *axis = new QValueAxis(chart());
    axis->setTitleText(title);
    axis->setProperty(kUnitProperty, unit);
    // Ticks at round values whatever the range, also while zoomed.
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    connect(axis, &QValueAxis::rangeChanged, axis, [axis](qreal min, qreal max) { fitTicks(axis, min, max); });
    chart()->addAxis(axis, side);
    m_ranges.append({axis, false, 0, 100});
    applyRange(m_ranges.back());
    return axis;
}

QXYSeries *WxChartView::addSeries(const QString &name, const QColor &colour, QValueAxis *axis, int decimals,
                                  bool pointsOnly, Qt::PenStyle style)
{
    QXYSeries *series = nullptr;
    if (pointsOnly) {
        auto *scatter = new QScatterSeries(chart());
        scatter->setMarkerShape(QScatterSeries::MarkerShapeCircle);
        scatter->setMarkerSize(8);
        scatter->setColor(colour);
        scatter->setBorderColor(colour.darker(150));
        series = scatter;
    } else {
        auto *line = new QLineSeries(chart());
        QPen pen(colour, style == Qt::SolidLine ? 2.0 : 1.2, style);
        line->setPen(pen);
        line->setPointsVisible(true);
        line->setMarkerSize(5);
        series = line;
    }
    series->setName(name);
    series->setProperty(kUnitProperty, axis->property(kUnitProperty));
    series->setProperty(kDecimalsProperty, decimals);
    chart()->addSeries(series);
    series->attachAxis(m_timeAxis);
    series->attachAxis(axis);
    connect(series, &QXYSeries::hovered, this, [this, series](const QPointF &point, bool state) {
        if (state)
            QToolTip::showText(QCursor::pos(), pointText(series, point), this);
        else
            QToolTip::hideText();
    });
    return series;
}

QList<QXYSeries *> WxChartView::seriesList() const
{
    QList<QXYSeries *> list;
    for (QAbstractSeries *series : chart()->series())
        if (auto *xy = qobject_cast<QXYSeries *>(series))
            list << xy;
    return list;
}

void WxChartView::setPoints(QXYSeries *series, const QList<QPointF> &points)
{
    QList<QPointF> shifted;
    shifted.reserve(points.size());
    const double start = double(origin());
    for (const QPointF &p : points)
        shifted.append(QPointF(start + p.x(), p.y()));
    if (auto *line = qobject_cast<QLineSeries *>(series))
        line->setPointsVisible(shifted.size() <= kMostMarkedPoints);
    series->replace(shifted);
}

void WxChartView::clearPoints()
{
    for (QXYSeries *series : seriesList())
        series->clear();
}

void WxChartView::setValueRange(QValueAxis *axis, bool autoScale, double minimum, double maximum)
{
    for (Range &range : m_ranges)
        if (range.axis == axis) {
            range.autoScale = autoScale;
            range.minimum = minimum;
            range.maximum = maximum;
            if (!m_userMoved)
                applyRange(range);
        }
}

void WxChartView::refitAutoRanges()
{
    if (m_userMoved)
        return;
    for (const Range &range : std::as_const(m_ranges))
        if (range.autoScale)
            applyRange(range);
}

void WxChartView::applyRange(const Range &range)
{
    double low = range.minimum;
    double high = range.maximum;
    if (range.autoScale) {
        double dataLow = std::numeric_limits<double>::max();
        double dataHigh = std::numeric_limits<double>::lowest();
        for (QXYSeries *series : seriesList()) {
            if (!series->attachedAxes().contains(range.axis))
                continue;
            for (const QPointF &p : series->points()) {
                dataLow = std::min(dataLow, p.y());
                dataHigh = std::max(dataHigh, p.y());
            }
        }
        if (dataLow <= dataHigh) {
            const double pad = std::max((dataHigh - dataLow) * 0.05, 1.0);
            low = dataLow - pad;
            high = dataHigh + pad;
        }
    }
    if (!(high > low))
        high = low + 1;
    range.axis->setRange(low, high);
    if (range.autoScale)
        range.axis->applyNiceNumbers();
}

void WxChartView::moved()
{
    m_userMoved = true;
    emit viewChanged();
}

void WxChartView::zoomIn()
{
    chart()->zoom(kZoomStep);
    moved();
}

void WxChartView::zoomOut()
{
    chart()->zoom(1.0 / kZoomStep);
    moved();
}

void WxChartView::scrollBy(qreal dx, qreal dy)
{
    chart()->scroll(dx, dy);
    moved();
}

void WxChartView::resetView()
{
    m_userMoved = false;
    m_timeAxis->setRange(QDateTime::fromMSecsSinceEpoch(origin()),
                         QDateTime::fromMSecsSinceEpoch(origin() + kDayMs));
    for (const Range &range : std::as_const(m_ranges))
        applyRange(range);
    emit viewChanged();
}

void WxChartView::setMode(Mode mode)
{
    m_mode = mode;
    m_panning = false;
    setRubberBand(mode == Mode::ZoomArea ? QChartView::RectangleRubberBand : QChartView::NoRubberBand);
    setCursor(mode == Mode::Pan ? Qt::OpenHandCursor : mode == Mode::ZoomArea ? Qt::CrossCursor : Qt::ArrowCursor);
}

QString WxChartView::pointText(QXYSeries *series, const QPointF &value) const
{
    const QList<QPointF> points = series->points();
    if (points.isEmpty())
        return {};
    const QPointF *nearest = &points.front();
    for (const QPointF &p : points)
        if (std::fabs(p.x() - value.x()) < std::fabs(nearest->x() - value.x()))
            nearest = &p;
    const qint64 ms = std::clamp<qint64>(qint64(nearest->x()) - origin(), 0, kDayMs - 1);
    const QString time = QTime::fromMSecsSinceStartOfDay(int(ms)).toString(QStringLiteral("HH:mm:ss"));
    const int decimals = series->property(kDecimalsProperty).toInt();
    QString text = time + QStringLiteral("  ") + series->name() + QStringLiteral(": ")
                   + QString::number(nearest->y(), 'f', decimals);
    const QString unit = series->property(kUnitProperty).toString();
    if (!unit.isEmpty())
        text += (unit.startsWith(u'°') && unit.size() == 1 ? QString() : QStringLiteral(" ")) + unit;
    return text;
}

QImage WxChartView::image()
{
    return grab().toImage();
}

void WxChartView::mousePressEvent(QMouseEvent *event)
{
    if (m_mode == Mode::Pan && event->button() == Qt::LeftButton) {
        m_panning = true;
        m_panFrom = event->position();
        setCursor(Qt::ClosedHandCursor);
        event->accept();
        return;
    }
    QChartView::mousePressEvent(event);
}

void WxChartView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_panning) {
        const QPointF delta = event->position() - m_panFrom;
        m_panFrom = event->position();
        scrollBy(-delta.x(), delta.y());
        event->accept();
        return;
    }
    QChartView::mouseMoveEvent(event);
}

void WxChartView::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_panning && event->button() == Qt::LeftButton) {
        m_panning = false;
        setCursor(Qt::OpenHandCursor);
        event->accept();
        return;
    }
    const bool zooming = m_mode == Mode::ZoomArea;
    QChartView::mouseReleaseEvent(event);
    if (zooming && chart()->isZoomed())
        moved();
}

void WxChartView::keyPressEvent(QKeyEvent *event)
{
    const QRectF area = chart()->plotArea();
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomIn();
        break;
    case Qt::Key_Minus:
        zoomOut();
        break;
    case Qt::Key_Left:
        scrollBy(-area.width() * kKeyScrollShare, 0);
        break;
    case Qt::Key_Right:
        scrollBy(area.width() * kKeyScrollShare, 0);
        break;
    case Qt::Key_Up:
        scrollBy(0, area.height() * kKeyScrollShare);
        break;
    case Qt::Key_Down:
        scrollBy(0, -area.height() * kKeyScrollShare);
        break;
    case Qt::Key_Home:
    case Qt::Key_0:
        resetView();
        break;
    default:
        QChartView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void WxChartView::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QChartView::wheelEvent(event);
        return;
    }
    if (event->angleDelta().y() > 0)
        zoomIn();
    else if (event->angleDelta().y() < 0)
        zoomOut();
    event->accept();
}
