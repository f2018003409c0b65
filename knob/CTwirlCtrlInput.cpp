// Mouse, auto-spin, keyboard and wheel: every way of turning the knob goes
// through the same value rules and fires the same signals.

#include "CTwirlCtrl.h"

#include "TwirlNotifyScope.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>

using namespace twirl;

namespace {

short buttonCode(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

short shiftCode(Qt::KeyboardModifiers m)
{
    short s = 0;
    if (m & Qt::ShiftModifier)
        s |= 1;
    if (m & Qt::ControlModifier)
        s |= 2;
    if (m & Qt::AltModifier)
        s |= 4;
    return s;
}

} // namespace

void CTwirlCtrl::fireStockMouse(QMouseEvent *event, bool down)
{
    const QPoint p = event->position().toPoint();
    const short button = buttonCode(event->button());
    const short shift = shiftCode(event->modifiers());
    if (down)
        emit MouseDown(button, shift, p.x(), p.y());
    else
        emit MouseUp(button, shift, p.x(), p.y());
}

void CTwirlCtrl::mousePressEvent(QMouseEvent *event)
{
    ensureGeometry();
    const QPoint p = event->position().toPoint();
    const Layout &l = m_layout;
    const bool fine = inFineRing(m_fineAdjust, l.centre, l.knobRadius, p);
    if (event->button() == Qt::LeftButton) {
        m_pressInFineRing = fine;
        m_lastMouseAngle = short(angleOf(l.centre, p));
        if (m_autoSpin) {
            startSpin();
        } else if (m_snapToMouse && !fine) {
            // Pretend the press was on the indicator, then drag it to the mouse.
            m_lastMouseAngle = short(
                angleOf(l.centre, pointAt(l.centre, m_position, l.knobRadius, m_orientation)));
            knobDrag(p);
        }
    } else if (event->button() == Qt::RightButton) {
        m_pressInFineRing = fine;
        if (m_autoSpin)
            startSpin();
    }
    fireStockMouse(event, true);
    const short button = buttonCode(event->button());
    if (button == 1 || button == 2) {
        if (fine)
            emit MouseDownFine(button);
        else
            emit MouseDownCoarse(button);
    }
    notePress(event);
}

void CTwirlCtrl::mouseReleaseEvent(QMouseEvent *event)
{
    fireStockMouse(event, false);
    if (!(event->buttons() & (Qt::LeftButton | Qt::RightButton)))
        endPress();
}

void CTwirlCtrl::notePress(QMouseEvent *event)
{
    if (m_pressed || !(event->button() & (Qt::LeftButton | Qt::RightButton)))
        return;
    m_pressed = true;
    emit pressed();
}

void CTwirlCtrl::endPress()
{
    if (!m_pressed)
        return;
    m_pressed = false;
    emit released();
}

void CTwirlCtrl::mouseDoubleClickEvent(QMouseEvent *event)
{
    ensureGeometry();
    const QPoint p = event->position().toPoint();
    const bool left = event->button() == Qt::LeftButton;
    const bool right = event->button() == Qt::RightButton;
    if (left || right) {
        m_pressInFineRing = inFineRing(m_fineAdjust, m_layout.centre, m_layout.knobRadius, p);
        if (m_autoSpin)
            startSpin();
    }
    // The second press of a double click is still a press for the host.
    fireStockMouse(event, true);
    if (left)
        emit LeftDblClick();
    else if (right)
        emit RightDblClick();
    notePress(event);
}

void CTwirlCtrl::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_autoSpin && event->buttons() == Qt::LeftButton
        && event->modifiers() == Qt::NoModifier) {
        ensureGeometry();
        const QPoint p = event->position().toPoint();
        if (m_pressInFineRing)
            fineDrag(p);
        else
            knobDrag(p);
    }
    QWidget::mouseMoveEvent(event);
}

void CTwirlCtrl::knobDrag(QPoint p)
{
    const int a = angleOf(m_layout.centre, p);
    if (a == m_lastMouseAngle)
        return;
    applyAngleChange(normalise(qint64(m_position) + a - m_lastMouseAngle));
    m_lastMouseAngle = short(a);
}

void CTwirlCtrl::fineDrag(QPoint p)
{
    const int a = angleOf(m_layout.centre, p);
    if (a == m_lastMouseAngle)
        return;
    const int proposed = normalise(qint64(m_fineAdjustPosition) + a - m_lastMouseAngle);
    const int t = shortestTurn(m_fineAdjustPosition, proposed);
    const int n = normalise(qint64(m_fineAdjustPosition) + t);
    if (n != m_fineAdjustPosition) {
        moveFineIndicator(n);
        applyFineRotation(t);
    }
    m_lastMouseAngle = short(a);
}

Qt::MouseButtons CTwirlCtrl::asyncButtonState() const
{
    return QGuiApplication::mouseButtons();
}

void CTwirlCtrl::startSpin()
{
    stopSpin();
    // One tick per displayed frame: more would only draw frames nobody sees.
    const QScreen *s = screen();
    const qreal hz = s && s->refreshRate() >= 1 ? s->refreshRate() : 60.0;
    m_spinTimer->setInterval(std::max(1, int(1000.0 / hz)));
    m_spinClock.start();
    m_spinLastMs = 0;
    m_spinTimeMs = 0;
    m_spinTurned = 0;
    m_spinTimer->start();
}

void CTwirlCtrl::stopSpin()
{
    m_spinTimer->stop();
}

void CTwirlCtrl::spinTick()
{
    const Qt::MouseButtons b = asyncButtonState();
    if (!(b & (Qt::LeftButton | Qt::RightButton))) {
        stopSpin();
        return;
    }
    const qint64 now = m_spinClock.elapsed();
    m_spinTimeMs += std::min<qint64>(now - m_spinLastMs, kSpinMaxCatchUpMs);
    m_spinLastMs = now;
    const qint64 total = spinDegrees(m_spinTimeMs, m_autoSpinSpeed);
    const qint64 turn = total - m_spinTurned;
    m_spinTurned = total;
    if (turn == 0)
        return;
    // The left button turns anticlockwise, also when both are held.
    const int step = int((b & Qt::LeftButton) ? -turn : turn);
    NotifyScope scope(*this);
    if (m_pressInFineRing) {
        moveFineIndicator(normalise(qint64(m_fineAdjustPosition) + step));
        applyFineRotation(step);
    } else {
        applyAngleChange(normalise(qint64(m_position) + step));
    }
}

void CTwirlCtrl::keyPressEvent(QKeyEvent *event)
{
    const qint64 tenth = std::max<qint64>(1, span(m_min, m_max) / 10);
    qint64 target = m_value;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Right: target += 1; break;
    case Qt::Key_Down:
    case Qt::Key_Left: target -= 1; break;
    case Qt::Key_PageUp: target += tenth; break;
    case Qt::Key_PageDown: target -= tenth; break;
    case Qt::Key_Home: target = m_min; break;
    case Qt::Key_End: target = m_max; break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    setValue(qint32(std::clamp<qint64>(target, m_min, std::max(m_min, m_max))));
    event->accept();
}

void CTwirlCtrl::wheelEvent(QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    const bool fine = event->modifiers() & Qt::ControlModifier;
    // At the end it is turned towards (and without a wrapping fine ring) the
    // knob cannot move: the wheel goes on to scroll whatever holds it.
    const bool stuck = delta == 0 || ((!fine || !m_wrap)
                                      && (delta > 0 ? m_value >= m_max : m_value <= m_min));
    if (stuck) {
        m_wheelAccumulator = 0;
        event->ignore();
        return;
    }
    m_wheelAccumulator += delta;
    const int steps = m_wheelAccumulator / 120;
    m_wheelAccumulator -= steps * 120;
    if (steps != 0) {
        NotifyScope scope(*this);
        if (fine) {
            // A fine step: the fine ring turns by one value step's worth.
            const int rotation = steps * m_degreesPerFineStep;
            moveFineIndicator(normalise(qint64(m_fineAdjustPosition) + rotation));
            applyFineRotation(rotation);
        } else {
            setValue(qint32(std::clamp<qint64>(qint64(m_value) + steps, m_min,
                                               std::max(m_min, m_max))));
        }
    }
    event->accept();
}
