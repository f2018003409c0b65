#pragma once

// Shared by the knob tests: mouse events sent straight to a knob, a knob
// whose live mouse buttons the test decides, and a recorder of paint events.

#include "knob/CTwirlCtrl.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>

#include <vector>

namespace twirltest {

inline QImage render(QWidget &w)
{
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QColor at(const QImage &img, int x, int y)
{
    return QColor(img.pixel(x, y));
}

inline void mouse(QWidget &k, QEvent::Type type, QPoint p, Qt::MouseButton button,
                  Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QMouseEvent e(type, QPointF(p), k.mapToGlobal(QPointF(p)), button, buttons, mods);
    QApplication::sendEvent(&k, &e);
}

inline void press(QWidget &k, QPoint p, Qt::MouseButton b = Qt::LeftButton)
{
    mouse(k, QEvent::MouseButtonPress, p, b, b);
}

inline void release(QWidget &k, QPoint p, Qt::MouseButton b = Qt::LeftButton,
                    Qt::MouseButtons stillHeld = Qt::NoButton)
{
    mouse(k, QEvent::MouseButtonRelease, p, b, stillHeld);
}

inline void drag(QWidget &k, QPoint p)
{
    mouse(k, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
}

// A knob whose "live" mouse buttons the test decides.
class ScriptedKnob : public CTwirlCtrl
{
public:
    Qt::MouseButtons held = Qt::NoButton;

protected:
    Qt::MouseButtons asyncButtonState() const override { return held; }
};

// Records the rectangles of the paint events a widget receives.
class PaintRecorder : public QObject
{
public:
    std::vector<QRect> rects;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint) {
            for (const QRect &r : static_cast<QPaintEvent *>(e)->region())
                rects.push_back(r);
        }
        return false;
    }
};

} // namespace twirltest
