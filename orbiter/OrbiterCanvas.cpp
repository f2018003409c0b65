#include "orbiter/OrbiterCanvas.h"

#include "orbiter/GlobePainter.h"
#include "orbiter/HorizonPainter.h"
#include "orbiter/WorldMapPainter.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace orbiter {

OrbiterCanvas::OrbiterCanvas(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("picDisplay"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("Satellite display"));
    setToolTip(QStringLiteral("Click a satellite to follow it; Up and Down pick the previous or next one"));
}

void OrbiterCanvas::setStyle(int style)
{
    m_style = style;
    update();
}

void OrbiterCanvas::setScene(const Scene &scene)
{
    m_scene = scene;
    update();
}

void OrbiterCanvas::render(QPainter &p, const QRectF &area)
{
    const DisplayOptions &o = m_scene.options;
    const bool shading = o.sunFootprint;
    switch (m_style) {
    case 2:
        paintHorizon(p, area, m_scene);
        break;
    case 3: {
        const GlobeFrame f = globeFrame(area, m_scene.observer.latitude, m_scene.observer.longitude);
        const QImage &globe = m_backgrounds.globe(int(2 * f.radius), f.latitude, f.longitude, m_scene.sun.latitude,
                                                  m_scene.sun.longitude, shading);
        paintGlobe(p, area, m_scene, globe);
        break;
    }
    default: {
        const QRectF map = worldMapRect(area);
        const QImage &world = m_backgrounds.world(map.size().toSize(), m_scene.sun.latitude, m_scene.sun.longitude,
                                                  shading);
        paintWorldMap(p, area, m_scene, world);
        break;
    }
    }
}

void OrbiterCanvas::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    render(p, QRectF(rect()));
}

void OrbiterCanvas::mousePressEvent(QMouseEvent *event)
{
    const QRectF area(rect());
    const QPointF at = event->position();
    int index = -1;
    switch (m_style) {
    case 2:
        index = horizonSatelliteAt(m_scene, area, at);
        break;
    case 3:
        index = globeSatelliteAt(m_scene, area, at);
        break;
    default:
        index = worldSatelliteAt(m_scene, area, at);
    }
    if (index >= 0)
        emit satellitePicked(m_scene.satellites[std::size_t(index)].entry);
    QWidget::mousePressEvent(event);
}

void OrbiterCanvas::keyPressEvent(QKeyEvent *event)
{
    const int count = int(m_scene.satellites.size());
    if (count > 0 && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        const int step = event->key() == Qt::Key_Down ? 1 : -1;
        const int index = ((std::max(0, m_scene.selected) + step) % count + count) % count;
        emit satellitePicked(m_scene.satellites[std::size_t(index)].entry);
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace orbiter
