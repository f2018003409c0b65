#include "TwirlIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QtMath>

namespace {

QPixmap drawIcon(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QPointF c(s / 2, s / 2);
    const qreal outer = s * 0.47;
    const qreal knob = s * 0.34;
    p.setPen(QPen(Qt::black, qMax(1.0, s / 24)));
    for (int i = 0; i < 8; ++i) {
        const qreal a = qDegreesToRadians(i * 45.0);
        const QPointF dir(qSin(a), -qCos(a));
        p.drawLine(c + dir * (knob + s * 0.05), c + dir * outer);
    }
    QRadialGradient g(c - QPointF(knob / 3, knob / 3), knob * 1.6);
    g.setColorAt(0, QColor(190, 190, 190));
    g.setColorAt(1, QColor(96, 96, 96));
    p.setBrush(g);
    p.setPen(QPen(Qt::black, qMax(1.0, s / 32)));
    p.drawEllipse(c, knob, knob);
    const qreal a = qDegreesToRadians(45.0);
    const QPointF dot = c + QPointF(qSin(a), -qCos(a)) * knob * 0.62;
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(dot, s / 14 + 0.5, s / 14 + 0.5);
    return pm;
}

} // namespace

QIcon twirlIcon()
{
    QIcon icon;
    for (int size : {16, 22, 32, 48, 64})
        icon.addPixmap(drawIcon(size));
    return icon;
}
