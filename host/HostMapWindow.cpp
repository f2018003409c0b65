#include "host/HostMapWindow.h"

#include "host/EmbeddedHostMap.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {
constexpr double WheelStep = 1.25;
constexpr int KeyPanPixels = 80;
// A paint may take at most this share of the time between repaints.
constexpr int PaintShare = 10;
}

HostMapView::HostMapView(EmbeddedHostMap *map, QWidget *parent)
    : QWidget(parent)
    , m_map(map)
{
    setObjectName(QStringLiteral("hostMapView"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 150);
    m_repaintTimer.setSingleShot(true);
    connect(&m_repaintTimer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    connect(map, &EmbeddedHostMap::contentChanged, this, &HostMapView::scheduleRepaint);
}

void HostMapView::scheduleRepaint()
{
    if (m_repaintTimer.isActive())
        return;
    const qint64 since = m_sincePaint.isValid() ? m_sincePaint.elapsed() : m_repaintInterval;
    m_repaintTimer.start(int(std::max<qint64>(0, m_repaintInterval - since)));
}

void HostMapView::paintEvent(QPaintEvent *)
{
    QElapsedTimer took;
    took.start();
    QPainter painter(this);
    m_map->render(painter);
    m_repaintInterval = int(std::clamp<qint64>(took.elapsed() * PaintShare, MinRepaintInterval, MaxRepaintInterval));
    m_sincePaint.start();
}

void HostMapView::resizeEvent(QResizeEvent *)
{
    m_map->setSize(size());
}

void HostMapView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    m_moved = false;
    m_dragFrom = event->position().toPoint();
}

void HostMapView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    const QPoint now = event->position().toPoint();
    m_map->projection().panBy(now - m_dragFrom);
    m_dragFrom = now;
    m_moved = true;
    update();
}

void HostMapView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_dragging)
        return;
    m_dragging = false;
    if (m_moved)
        m_map->userChangedView();
}

void HostMapView::wheelEvent(QWheelEvent *event)
{
    const int steps = event->angleDelta().y() / 120;
    if (steps == 0)
        return;
    m_map->projection().zoomAt(event->position(), std::pow(WheelStep, steps));
    m_map->userChangedView();
    update();
}

void HostMapView::keyPressEvent(QKeyEvent *event)
{
    MapProjection &projection = m_map->projection();
    const QPointF centre(width() / 2.0, height() / 2.0);
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        projection.zoomAt(centre, 2.0);
        break;
    case Qt::Key_Minus:
        projection.zoomAt(centre, 0.5);
        break;
    case Qt::Key_Left: projection.panBy(QPointF(KeyPanPixels, 0)); break;
    case Qt::Key_Right: projection.panBy(QPointF(-KeyPanPixels, 0)); break;
    case Qt::Key_Up: projection.panBy(QPointF(0, KeyPanPixels)); break;
    case Qt::Key_Down: projection.panBy(QPointF(0, -KeyPanPixels)); break;
    case Qt::Key_Home: projection.reset(); break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    m_map->userChangedView();
    update();
}

HostMapWindow::HostMapWindow(EmbeddedHostMap *map, QWidget *parent)
    : QWidget(parent)
    , m_view(new HostMapView(map, this))
    , m_statusBar(new QStatusBar(this))
    , m_summary(new QLabel(this))
{
    setObjectName(QStringLiteral("HostMapWindow"));
    setWindowTitle(Caption);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_statusBar);
    m_statusBar->setObjectName(QStringLiteral("hostStatusBar"));
    m_statusBar->setSizeGripEnabled(false);
    m_statusBar->addWidget(m_summary);
    resize(800, 600 + m_statusBar->sizeHint().height());
}

void HostMapWindow::setStatusLines(const QStringList &feeds, const QString &summary)
{
    m_summary->setText(summary);
    while (m_feedLabels.size() < feeds.size()) {
        auto *label = new QLabel(this);
        label->setFrameShape(QFrame::StyledPanel);
        m_statusBar->addWidget(label);
        m_feedLabels.append(label);
    }
    for (int i = 0; i < m_feedLabels.size(); ++i)
        m_feedLabels[i]->setText(i < feeds.size() ? feeds[i] : QString());
}

QString HostMapWindow::statusText() const
{
    QStringList parts{m_summary->text()};
    for (QLabel *label : m_feedLabels)
        parts.append(label->text());
    return parts.join(QStringLiteral(" | "));
}

void HostMapWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit closing();
}
