#include "weather/WxChartView.h"

#include <QChart>
#include <QCursor>
#include <QDateTimeAxis>
#include <QKeyEvent>
#include <QLegend>
#include <QLineSeries>
#include <QRubberBand>
#include <QScatterSeries>
#include <QTime>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr qint64 kDayMs = 24 * 3600 * 1000;
constexpr double kShortestTimeSpan = 60 * 1000.0;  // ms
// The narrowest view, as a share of what the axis can show: well below any
// reading's resolution, well above where the arithmetic runs out of digits.
constexpr double kShortestShare = 1e-6;
constexpr qreal kZoomStep = 2.0;
constexpr qreal kKeyScrollShare = 0.1;
constexpr int kWheelStep = 120;
constexpr int kSmallestBand = 4;  // pixels of a zoom rectangle that count as a drag

const char *const kUnitProperty = "wxUnit";
const char *const kDecimalsProperty = "wxDecimals";
const char *const kFixedTicksProperty = "wxFixedTicks";

// About six ticks at 1, 2, 2.5 or 5 times a power of ten.
double niceInterval(double span)
{
    const double rough = span / 6.0;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double step : {1.0, 2.0, 2.5, 5.0})
        if (power * step >= rough)
            return power * step;
    return power * 10;
}

double intervalFor(const QValueAxis *axis, double span)
{
    const double fixed = axis->property(kFixedTicksProperty).toDouble();
    if (fixed > 0 && span / fixed >= 2 && span / fixed <= WxChartView::MostTicks - 1)
        return fixed;
    return niceInterval(span);
}

// The decimals a label at every tick needs: 2 for 0.25, 0 for 20.
int decimalsFor(double interval)
{
    for (int decimals = 0; decimals < 6; ++decimals) {
        const double scaled = interval * std::pow(10.0, decimals);
        if (std::fabs(scaled - std::round(scaled)) < 1e-6 * scaled)
            return decimals;
    }
    return 6;
}

// Qt lays an axis out as soon as its range, spacing or anchor changes. So the
// spacing first widens to suit the old range, the new one and any mix of the
// two (the minimum changes before the maximum), then the range changes, and
// only then does the spacing narrow to fit it.
void setAxis(QValueAxis *axis, double low, double high)
{
    const double interval = intervalFor(axis, high - low);
    const double hull = std::max(axis->max(), high) - std::min(axis->min(), low);
    axis->setTickInterval(std::max({axis->tickInterval(), interval, hull / (WxChartView::MostTicks - 2)}));
    axis->setRange(low, high);
    axis->setTickInterval(interval);
    // Ticks are counted from the anchor: a far one overflows Qt's count.
    axis->setTickAnchor(std::floor(low / interval) * interval);
    axis->setLabelFormat(QStringLiteral("%.") + QString::number(decimalsFor(interval)) + u'f');
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
    setAxis(axis, axis->min(), axis->max());
}

QValueAxis *WxChartView::addValueAxis(const QString &title, const QString &unit, Qt::Alignment side, double lowest,
                                      double highest)
{
    auto *axis = new QValueAxis(chart());
    axis->setTitleText(title);
    axis->setProperty(kUnitProperty, unit);
    // Ticks at round values whatever the range, also while zoomed; a
    // spacing goes in before the kind of ticks that uses it.
    axis->setRange(0, 1);
    axis->setTickInterval(1);
    axis->setTickAnchor(0);
    axis->setTickType(QValueAxis::TicksDynamic);
    chart()->addAxis(axis, side);
    if (!(highest > lowest))
        highest = lowest + 1;
    m_ranges.append({axis, false, lowest, highest, lowest, highest});
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
    const Range *range = nullptr;
    for (QAbstractAxis *axis : series->attachedAxes())
        if (const Range *found = rangeOf(axis))
            range = found;
    QList<QPointF> shifted;
    shifted.reserve(points.size());
    const double start = double(origin());
    for (const QPointF &p : points)
        if (!range || (p.y() >= range->lowest && p.y() <= range->highest))
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

const WxChartView::Range *WxChartView::rangeOf(const QAbstractAxis *axis) const
{
    for (const Range &range : m_ranges)
        if (range.axis == axis)
            return &range;
    return nullptr;
}

void WxChartView::applyRange(const Range &range)
{
    double low = std::isfinite(range.minimum) ? range.minimum : range.lowest;
    double high = std::isfinite(range.maximum) ? range.maximum : range.highest;
    if (range.autoScale) {
        // The points are all inside what the axis can show.
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
            const double interval = niceInterval(dataHigh - dataLow + 2 * pad);
            low = std::floor((dataLow - pad) / interval) * interval;
            high = std::ceil((dataHigh + pad) / interval) * interval;
        }
    }
    if (!(high > low))
        high = low + 1;
    showValues(range, low, high);
}

void WxChartView::showValues(const Range &range, double low, double high)
{
    if (!std::isfinite(low) || !std::isfinite(high)) {
        low = range.lowest;
        high = range.highest;
    }
    const double whole = range.highest - range.lowest;
    const double span = std::clamp(high - low, whole * kShortestShare, whole);
    low = std::clamp((low + high - span) / 2, range.lowest, range.highest - span);
    setAxis(range.axis, low, low + span);
}

void WxChartView::showTimes(double low, double high)
{
    if (!std::isfinite(low) || !std::isfinite(high)) {
        low = 0;
        high = double(kDayMs);
    }
    const double span = std::clamp(high - low, kShortestTimeSpan, double(kDayMs));
    low = std::clamp((low + high - span) / 2, 0.0, kDayMs - span);
    // Ticks less than a minute apart need their seconds, and room for them.
    const bool seconds = span < 12 * kShortestTimeSpan;
    m_timeAxis->setFormat(seconds ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm"));
    m_timeAxis->setTickCount(seconds ? 7 : 13);
    m_timeAxis->setRange(QDateTime::fromMSecsSinceEpoch(origin() + qint64(std::llround(low))),
                         QDateTime::fromMSecsSinceEpoch(origin() + qint64(std::llround(low + span))));
}

void WxChartView::moved()
{
    m_userMoved = true;
    emit viewChanged();
}

void WxChartView::zoomAbout(qreal factor, QPointF fraction)
{
    const double t0 = double(m_timeAxis->min().toMSecsSinceEpoch() - origin());
    const double t1 = double(m_timeAxis->max().toMSecsSinceEpoch() - origin());
    const double at = t0 + fraction.x() * (t1 - t0);
    const double timeSpan = (t1 - t0) / factor;
    showTimes(at - fraction.x() * timeSpan, at - fraction.x() * timeSpan + timeSpan);
    for (const Range &range : std::as_const(m_ranges)) {
        const double v0 = range.axis->min();
        const double v1 = range.axis->max();
        const double value = v0 + fraction.y() * (v1 - v0);
        const double span = (v1 - v0) / factor;
        showValues(range, value - fraction.y() * span, value - fraction.y() * span + span);
    }
    moved();
}

void WxChartView::zoomIn()
{
    zoomAbout(kZoomStep, {0.5, 0.5});
}

void WxChartView::zoomOut()
{
    zoomAbout(1.0 / kZoomStep, {0.5, 0.5});
}

void WxChartView::zoomToRectangle(const QRectF &rect)
{
    const QRectF plot = chart()->plotArea();
    const QRectF area = chart()->mapFromScene(mapToScene(rect.toAlignedRect())).boundingRect().intersected(plot);
    if (area.width() < 1 || area.height() < 1)
        return;
    const double left = (area.left() - plot.left()) / plot.width();
    const double right = (area.right() - plot.left()) / plot.width();
    const double bottom = (plot.bottom() - area.bottom()) / plot.height();
    const double top = (plot.bottom() - area.top()) / plot.height();
    const double t0 = double(m_timeAxis->min().toMSecsSinceEpoch() - origin());
    const double t1 = double(m_timeAxis->max().toMSecsSinceEpoch() - origin());
    showTimes(t0 + left * (t1 - t0), t0 + right * (t1 - t0));
    for (const Range &range : std::as_const(m_ranges)) {
        const double v0 = range.axis->min();
        const double v1 = range.axis->max();
        showValues(range, v0 + bottom * (v1 - v0), v0 + top * (v1 - v0));
    }
    moved();
}

void WxChartView::scrollBy(qreal dx, qreal dy)
{
    const QRectF plot = chart()->plotArea();
    if (plot.width() <= 0 || plot.height() <= 0)
        return;
    const double t0 = double(m_timeAxis->min().toMSecsSinceEpoch() - origin());
    const double t1 = double(m_timeAxis->max().toMSecsSinceEpoch() - origin());
    const double shift = dx / plot.width() * (t1 - t0);
    showTimes(t0 + shift, t1 + shift);
    for (const Range &range : std::as_const(m_ranges)) {
        const double v0 = range.axis->min();
        const double v1 = range.axis->max();
        const double up = dy / plot.height() * (v1 - v0);
        showValues(range, v0 + up, v1 + up);
    }
    moved();
}

void WxChartView::resetView()
{
    m_userMoved = false;
    showTimes(0, double(kDayMs));
    for (const Range &range : std::as_const(m_ranges))
        applyRange(range);
    emit viewChanged();
}

void WxChartView::setMode(Mode mode)
{
    m_mode = mode;
    m_panning = false;
    if (m_band)
        m_band->hide();
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

// The zoom rectangle is drawn here rather than by QChartView, whose zoom
// would change the axes' ranges behind this class's back. With its rubber
// band unused QChartView adds nothing to the plain view's mouse handling,
// and its press handler reads the item under the pointer without checking
// there is one (Qt 6.4): a press beside the chart, which a held button
// brings, crashed it. So the plain view takes the mouse.
void WxChartView::mousePressEvent(QMouseEvent *event)
{
    if (m_mode == Mode::Pan && event->button() == Qt::LeftButton) {
        m_panning = true;
        m_panFrom = event->position();
        setCursor(Qt::ClosedHandCursor);
        event->accept();
        return;
    }
    if (m_mode == Mode::ZoomArea && event->button() == Qt::LeftButton) {
        if (!m_band)
            m_band = new QRubberBand(QRubberBand::Rectangle, viewport());
        m_bandFrom = event->position().toPoint();
        m_band->setGeometry(QRect(m_bandFrom, QSize()));
        m_band->show();
        event->accept();
        return;
    }
    if (m_mode == Mode::ZoomArea && event->button() == Qt::RightButton) {
        zoomOut();
        event->accept();
        return;
    }
    QGraphicsView::mousePressEvent(event);
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
    if (m_band && m_band->isVisible()) {
        m_band->setGeometry(QRect(m_bandFrom, event->position().toPoint()).normalized());
        event->accept();
        return;
    }
    QGraphicsView::mouseMoveEvent(event);
}

void WxChartView::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_panning && event->button() == Qt::LeftButton) {
        m_panning = false;
        setCursor(Qt::OpenHandCursor);
        event->accept();
        return;
    }
    if (m_band && m_band->isVisible() && event->button() == Qt::LeftButton) {
        m_band->hide();
        const QRect rect = QRect(m_bandFrom, event->position().toPoint()).normalized();
        if (rect.width() >= kSmallestBand && rect.height() >= kSmallestBand)
            zoomToRectangle(rect);
        event->accept();
        return;
    }
    if (m_mode == Mode::ZoomArea && event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QGraphicsView::mouseReleaseEvent(event);
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
    // Only Ctrl and the wheel zoom, about the pointer; the plain wheel is the
    // window's to scroll with.
    const int delta = event->angleDelta().y();
    if (!(event->modifiers() & Qt::ControlModifier) || delta == 0) {
        event->ignore();
        return;
    }
    const QRectF plot = chart()->plotArea();
    const QPointF at = chart()->mapFromScene(mapToScene(event->position().toPoint()));
    QPointF fraction(0.5, 0.5);
    if (plot.contains(at))
        fraction = {(at.x() - plot.left()) / plot.width(), (plot.bottom() - at.y()) / plot.height()};
    zoomAbout(std::pow(kZoomStep, double(delta) / kWheelStep), fraction);
    event->accept();
}
