// Drawing: a cached background (ticks, shadow, rings) under the face and the
// fine mark, so that turning the knob repaints only what moves. Aliased, the
// pixels are those the knob's geometry was laid out with; antialiased, the
// same shapes are drawn smooth.

#include "CTwirlCtrl.h"

#include <QPaintEvent>
#include <QRegion>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace twirl;

namespace {

// The rectangle whose 1-pixel outline covers left..right-1 and top..bottom-1.
QRect outlineRect(const Box &b)
{
    return QRect(b.left, b.top, b.width() - 1, b.height() - 1);
}

QRect fillRect(const Box &b)
{
    return QRect(b.left, b.top, b.width(), b.height());
}

// The same outline through pixel centres, for smooth drawing.
QRectF outlineRectF(const Box &b)
{
    return QRectF(b.left + 0.5, b.top + 0.5, b.width() - 1, b.height() - 1);
}

QPointF pixelCentre(QPoint p)
{
    return QPointF(p) + QPointF(0.5, 0.5);
}

// Like pointAt, without truncating to whole pixels.
QPointF smoothPointAt(QPoint centre, int angle, int distance, int orientation = 0)
{
    const double e = normalise(qint64(angle) + orientation) / kDegreesPerRadian;
    return pixelCentre(centre) + QPointF(distance * std::sin(e), -distance * std::cos(e));
}

QPen linePen(const QColor &c, int width)
{
    QPen pen(c, width);
    // Wide lines end round, as a stroked line on the original surface did.
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// A line that starts on its first point and stops short of its last, the
// pixel rule the knob's geometry was laid out with. Wide lines are stroked.
void drawLine(QPainter &p, QPoint a, QPoint b, const QColor &colour, int width)
{
    // Long lines (ticks thousands of pixels long) are left to the clipping stroker.
    const int reach = 2 * (p.device()->width() + p.device()->height());
    if (width > 1 || (a - b).manhattanLength() > reach) {
        p.setPen(linePen(colour, width));
        p.drawLine(a, b);
        return;
    }
    const int dx = std::abs(b.x() - a.x());
    const int dy = -std::abs(b.y() - a.y());
    const int sx = a.x() < b.x() ? 1 : -1;
    const int sy = a.y() < b.y() ? 1 : -1;
    int err = dx + dy;
    QPoint c = a;
    while (c != b) {
        p.fillRect(QRect(c, QSize(1, 1)), colour);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            c.rx() += sx;
        }
        if (e2 <= dx) {
            err += dx;
            c.ry() += sy;
        }
    }
}

bool sameLayout(const Layout &a, const Layout &b)
{
    return a.outer == b.outer && a.knob == b.knob && a.outerRadius == b.outerRadius
        && a.knobRadius == b.knobRadius && a.centre == b.centre;
}

} // namespace

void CTwirlCtrl::refreshGeometry()
{
    m_fineAdjustWidth =
        short(limitFineAdjustWidth(m_fineAdjustWidthRequested, width(), height()));
    m_degreesPerFineStep = short(twirl::degreesPerFineStep(m_fineAdjustTicks));
    LayoutInput in;
    in.width = width();
    in.height = height();
    in.tickCount = m_tickCount;
    in.tickLength = m_tickLength;
    in.tickGap = m_tickGap;
    in.raised = m_appearence == _3D;
    in.raisedHeight = m_appearence3DHeight;
    in.fineAdjust = m_fineAdjust;
    in.fineAdjustWidth = m_fineAdjustWidth;
    const Layout l = computeLayout(in);
    if (!sameLayout(l, m_layout))
        m_backgroundValid = false;
    m_layout = l;
    if (m_tickCount > 0)
        m_tickTable = tickAngles(m_tickCount);
    m_layoutValid = true;
}

void CTwirlCtrl::ensureGeometry()
{
    if (!m_layoutValid)
        refreshGeometry();
}

QColor CTwirlCtrl::shown(const QColor &c) const
{
    if (isEnabled())
        return c;
    // Greyed: the colour's lightness, halfway to that of the background.
    const int v = (qGray(c.rgb()) + qGray(BackColor().rgb())) / 2;
    return QColor(v, v, v);
}

void CTwirlCtrl::renderBackground()
{
    const qreal dpr = devicePixelRatioF();
    m_background = QPixmap(size() * dpr);
    m_background.setDevicePixelRatio(dpr);
    QPainter p(&m_background);
    p.fillRect(rect(), BackColor());
    p.setRenderHint(QPainter::Antialiasing, m_antialiased);

    const Layout &l = m_layout;
    const int R = l.outerRadius;
    if (m_tickCount > 0) {
        const QColor tick = shown(m_tickColor);
        int previous = -1;
        for (int angle : m_tickTable) {
            // Rounded angles of dense ticks can repeat; draw each once.
            if (angle == previous)
                continue;
            previous = angle;
            if (m_antialiased) {
                p.setPen(linePen(tick, m_tickWidth));
                p.drawLine(smoothPointAt(l.centre, angle, R + m_tickGap),
                           smoothPointAt(l.centre, angle, R + m_tickGap + m_tickLength));
            } else {
                drawLine(p, pointAt(l.centre, angle, R + m_tickGap),
                         pointAt(l.centre, angle, R + m_tickGap + m_tickLength), tick,
                         m_tickWidth);
            }
        }
    }
    const QColor rim = shown(m_rimColor);
    const QPen rimPen(rim, 1);
    // A height past the control's size adds nothing.
    const int depth = m_appearence == _3D ? std::min<int>(m_appearence3DHeight, width() + height())
                                          : 0;
    if (depth > 0 && m_antialiased) {
        // The disc swept down and right, in the rim colour; the disc drawn
        // over it leaves a smooth crescent on the lower right.
        p.setPen(Qt::NoPen);
        p.setBrush(rim);
        for (int i = 1; i <= depth; ++i)
            p.drawEllipse(outlineRectF(l.outer).translated(i, i).adjusted(-0.5, -0.5, 0.5, 0.5));
    } else if (depth > 0) {
        p.setPen(rimPen);
        p.setBrush(Qt::NoBrush);
        // Arcs from 225 to 45 degrees the short way through the bottom right:
        // a shadow below and right of the disc.
        // Diagonal steps between aliased arcs leave a moire of gaps; the
        // in-between offsets fill them without deepening the shadow.
        const QRect disc = outlineRect(l.outer);
        for (int i = 0; i < depth; ++i) {
            p.drawArc(disc.translated(i, i), 225 * 16, 180 * 16);
            if (i + 1 < depth) {
                p.drawArc(disc.translated(i + 1, i), 225 * 16, 180 * 16);
                p.drawArc(disc.translated(i, i + 1), 225 * 16, 180 * 16);
            }
        }
    }
    p.setPen(rimPen);
    p.setBrush(shown(m_fineAdjust ? m_fineAdjustColor : m_knobColor));
    if (m_antialiased)
        p.drawEllipse(outlineRectF(l.outer));
    else
        p.drawEllipse(outlineRect(l.outer));
    p.setBrush(shown(m_knobColor));
    if (m_antialiased)
        p.drawEllipse(outlineRectF(l.knob));
    else
        p.drawEllipse(outlineRect(l.knob));
    p.end();
    m_backgroundValid = true;
    ++m_backgroundRenders;
}

QRect CTwirlCtrl::faceRect() const
{
    QRect r = fillRect(m_layout.knob);
    if (!m_text.isEmpty())
        r |= fillRect(m_layout.outer);
    return r.adjusted(-1, -1, 1, 1);
}

QRegion CTwirlCtrl::faceDiscRegion() const
{
    // A little wider than the drawn disc, whose rim pixels (smooth or not)
    // must fall inside it.
    return QRegion(fillRect(m_layout.knob).adjusted(-2, -2, 2, 2), QRegion::Ellipse);
}

QRect CTwirlCtrl::captionRect() const
{
    if (m_text.isEmpty())
        return QRect();
    const Layout &l = m_layout;
    const QFontMetrics fm(font());
    const int x = (l.outer.left + l.outer.right) / 2;
    const int y = (l.outer.top + l.outer.bottom - fm.height()) / 2;
    const int w = fm.horizontalAdvance(m_text);
    return QRect(x - w / 2, y, w, fm.height());
}

QRect CTwirlCtrl::fineMarkRect(int angle) const
{
    const Layout &l = m_layout;
    const int mid = (l.knobRadius + l.outerRadius) / 2;
    const int half = m_fineAdjustLineLength / 2;
    const QPoint a = pointAt(l.centre, angle, mid - half, m_orientation);
    const QPoint b = pointAt(l.centre, angle, mid + half, m_orientation);
    const int m = m_indicatorLineWidth + 1;
    return QRect(a, b).normalized().adjusted(-m, -m, m, m);
}

void CTwirlCtrl::redrawFace()
{
    if (!isVisible())
        return;
    ensureGeometry();
    if (m_inPaint)
        update(faceRect());
    else
        repaint(faceRect());
}

void CTwirlCtrl::moveFineIndicator(int angle)
{
    m_fineAdjustPosition = short(angle);
    if (!m_fineAdjust || !m_fineAdjustIndicator || !isVisible())
        return;
    ensureGeometry();
    // The mark lives in the ring: leaving the face out keeps this repaint
    // from drawing the indicator (and announcing a tick snap) again.
    const QRegion r = (QRegion(fineMarkRect(m_lastFineAngle)) + fineMarkRect(angle))
        - faceDiscRegion();
    if (r.isEmpty())
        return;
    if (m_inPaint)
        update(r);
    else
        repaint(r);
}

void CTwirlCtrl::paintEvent(QPaintEvent *event)
{
    m_inPaint = true;
    refreshGeometry();
    const qreal dpr = devicePixelRatioF();
    if (!m_backgroundValid || m_background.size() != size() * dpr)
        renderBackground();

    QPainter p(this);
    p.drawPixmap(0, 0, m_background);
    p.setRenderHint(QPainter::Antialiasing, m_antialiased);
    if (event->region().intersects(faceDiscRegion()))
        drawFace(p);
    else if (event->region().intersects(captionRect().adjusted(-2, -2, 2, 2)))
        drawCaption(p);
    if (m_fineAdjust && m_fineAdjustIndicator)
        drawFineIndicator(p);
    if (hasFocus()) {
        // A ring just inside the rim: a rectangle at the widget's edge
        // would cut through the rim of a knob that fills its widget.
        const Box &o = m_layout.outer;
        p.setPen(QPen(palette().color(QPalette::Highlight), 1));
        p.setBrush(Qt::NoBrush);
        for (int i : {2, 3}) {
            const Box ring{o.left + i, o.top + i, o.right - i, o.bottom - i};
            if (m_antialiased)
                p.drawEllipse(outlineRectF(ring));
            else
                p.drawEllipse(outlineRect(ring));
        }
    }
    m_inPaint = false;
}

void CTwirlCtrl::drawFace(QPainter &p)
{
    const Layout &l = m_layout;
    p.setPen(QPen(shown(m_rimColor), 1));
    p.setBrush(shown(m_knobColor));
    if (m_antialiased)
        p.drawEllipse(outlineRectF(l.knob));
    else
        p.drawEllipse(outlineRect(l.knob));

    int theta = m_position;
    if (m_tickSnapping && m_tickCount >= 1 && !m_tickTable.empty()) {
        const int tick = nearestTick(m_tickTable, m_position);
        theta = m_tickTable[size_t(tick - 1)];
        // Evaluated on the side: the turn that PositionChanged reports is the
        // one the user made, not the distance to the tick.
        const AngleChange snap = angleChangeToValue(knobState(), theta);
        emit TickSnap(short(theta), qint32(snap.value));
    }
    drawIndicator(p, theta);
    drawCaption(p);
}

void CTwirlCtrl::drawCaption(QPainter &p)
{
    if (m_text.isEmpty())
        return;
    p.save();
    p.setClipRect(fillRect(m_layout.outer), Qt::IntersectClip);
    p.setFont(font());
    p.setPen(shown(ForeColor()));
    p.drawText(captionRect(), Qt::AlignHCenter | Qt::AlignTop, m_text);
    p.restore();
}

void CTwirlCtrl::drawIndicator(QPainter &p, int angle)
{
    const Layout &l = m_layout;
    const int r = l.knobRadius;
    const QPoint c = l.centre;
    const QColor colour = shown(m_indicatorColor);
    switch (m_indicatorStyle) {
    case isDot: {
        const QPoint d = pointAt(c, angle, r - 5, m_orientation);
        if (m_antialiased) {
            // The same dot and dark edge, round: a dark disc up and left of
            // a lighter one.
            const QPointF centre = smoothPointAt(c, angle, r - 5, m_orientation);
            p.setPen(Qt::NoPen);
            p.setBrush(shown(Qt::black));
            p.drawEllipse(centre - QPointF(0.5, 0.5), 2.0, 2.0);
            p.setBrush(colour);
            p.drawEllipse(centre, 1.6, 1.6);
            break;
        }
        // A 4 x 4 block whose top row and left column are black: a dot
        // with a shadow edge that stays visible on a light face.
        const QColor edge = shown(Qt::black);
        for (int dy = -2; dy <= 1; ++dy) {
            for (int dx = -2; dx <= 1; ++dx) {
                const QColor &col = (dx == -2 || dy == -2) ? edge : colour;
                p.fillRect(QRect(d.x() + dx, d.y() + dy, 1, 1), col);
            }
        }
        break;
    }
    case isLine:
        if (m_antialiased) {
            p.setPen(linePen(colour, m_indicatorLineWidth));
            p.drawLine(pixelCentre(c),
                       smoothPointAt(c, angle, r - m_indicatorLineWidth, m_orientation));
        } else {
            drawLine(p, c, pointAt(c, angle, r - m_indicatorLineWidth, m_orientation), colour,
                     m_indicatorLineWidth);
        }
        break;
    case isPointer: {
        p.setPen(QPen(colour, 1));
        p.setBrush(colour);
        if (m_antialiased) {
            const QPointF pts[3] = {smoothPointAt(c, angle, r - 3, m_orientation),
                                    smoothPointAt(c, angle + 45, r / 2, m_orientation),
                                    smoothPointAt(c, angle - 45, r / 2, m_orientation)};
            p.drawPolygon(pts, 3);
        } else {
            const QPoint pts[3] = {pointAt(c, angle, r - 3, m_orientation),
                                   pointAt(c, angle + 45, r / 2, m_orientation),
                                   pointAt(c, angle - 45, r / 2, m_orientation)};
            p.drawPolygon(pts, 3);
        }
        break;
    }
    case isHalfShaded: {
        const Box k = l.knob;
        const Box inner{k.left + 1, k.top + 1, k.right - 1, k.bottom - 1};
        // From angle - 90 anticlockwise to angle + 90: the half opposite the angle.
        const int e = normalise(qint64(angle) + m_orientation);
        p.setPen(QPen(colour, 1));
        p.setBrush(colour);
        if (m_antialiased)
            p.drawChord(outlineRectF(inner), (180 - e) * 16, 180 * 16);
        else
            p.drawChord(outlineRect(inner), (180 - e) * 16, 180 * 16);
        break;
    }
    default:
        break;
    }
}

void CTwirlCtrl::drawFineIndicator(QPainter &p)
{
    const Layout &l = m_layout;
    const int mid = (l.knobRadius + l.outerRadius) / 2;
    const int half = m_fineAdjustLineLength / 2;
    // The old mark was erased by restoring the cached ring under it; painting
    // it over in the ring colour would also take pixels off a rim it touches.
    m_lastFineAngle = m_fineAdjustPosition;
    p.save();
    // The mark stays in the ring, off the face, whatever its length.
    p.setClipRegion(QRegion(rect()) - faceDiscRegion(), Qt::IntersectClip);
    const QColor colour = shown(m_indicatorColor);
    if (m_antialiased) {
        p.setPen(linePen(colour, m_indicatorLineWidth));
        p.drawLine(smoothPointAt(l.centre, m_lastFineAngle, mid - half, m_orientation),
                   smoothPointAt(l.centre, m_lastFineAngle, mid + half, m_orientation));
    } else {
        drawLine(p, pointAt(l.centre, m_lastFineAngle, mid - half, m_orientation),
                 pointAt(l.centre, m_lastFineAngle, mid + half, m_orientation), colour,
                 m_indicatorLineWidth);
    }
    p.restore();
}

void CTwirlCtrl::resizeEvent(QResizeEvent *event)
{
    m_layoutValid = false;
    m_backgroundValid = false;
    QWidget::resizeEvent(event);
}

void CTwirlCtrl::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::FontChange:
        // An inherited font changes the caption; the base class repaints.
        break;
    case QEvent::PaletteChange:
        // Colours that follow the palette are baked into the background.
        m_backgroundValid = false;
        break;
    case QEvent::EnabledChange:
        m_backgroundValid = false;
        if (!isEnabled()) {
            stopSpin();
            endPress();
        }
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void CTwirlCtrl::hideEvent(QHideEvent *event)
{
    stopSpin();
    endPress();
    QWidget::hideEvent(event);
}

void CTwirlCtrl::focusInEvent(QFocusEvent *event)
{
    update();
    QWidget::focusInEvent(event);
}

void CTwirlCtrl::focusOutEvent(QFocusEvent *event)
{
    update();
    QWidget::focusOutEvent(event);
}
