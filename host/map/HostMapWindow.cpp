#include "host/map/HostMapWindow.h"

#include "host/map/EmbeddedHostMap.h"
#include "host/tiles/HostMapTiles.h"

#include "core/Prompts.h"
#include "core/ScreenFit.h"
#include "core/SettingsStore.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {
constexpr int WheelNotch = 120;
constexpr int KeyPanPixels = 80;

// The host's own per-user settings, beside its "Program Folder".
const QString PlacementApplication = QStringLiteral("Peak Systems");
const QString PlacementSection = QStringLiteral("Host Map");
constexpr int MinimumBeside = 400;  // narrower than this there is no room beside
// A paint may take at most this share of the time between repaints.
constexpr int PaintShare = 10;

} // namespace

QRect HostMapWindow::besidePlace(const QRect &main, const QRect &screen, QSize wanted, QSize smallest)
{
    const int room = qMax(MinimumBeside, smallest.width());
    const int top = qBound(screen.top(), main.top(), screen.bottom() - 200);
    const int height = qMin(wanted.height(), screen.bottom() + 1 - top);
    if (screen.right() - main.right() >= room) {
        const int width = qMin(wanted.width(), screen.right() - main.right());
        return {main.right() + 1, top, width, height};
    }
    if (main.left() - screen.left() >= room) {
        const int width = qMin(wanted.width(), main.left() - screen.left());
        return {main.left() - width, top, width, height};
    }
    const QSize size = wanted.boundedTo(screen.size() / 2).expandedTo(smallest).boundedTo(screen.size());
    return {screen.right() + 1 - size.width(), screen.bottom() + 1 - size.height(), size.width(), size.height()};
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
    if (m_moved) {
        m_map->userChangedView();
        return;
    }
    if (m_picking) {
        m_picking = false;
        unsetCursor();
        double latitude = 0, longitude = 0;
        m_map->projection().toDegrees(event->position(), &latitude, &longitude);
        emit positionPicked(latitude, longitude);
    }
}

void HostMapView::pickPosition()
{
    m_picking = true;
    setCursor(Qt::CrossCursor);
}

void HostMapView::wheelEvent(QWheelEvent *event)
{
    // A wheel notch is one zoom level; touchpads send small steps that add up.
    m_wheel += event->angleDelta().y();
    const int steps = m_wheel / WheelNotch;
    if (steps == 0)
        return;
    m_wheel -= steps * WheelNotch;
    const int before = m_map->projection().zoom();
    m_map->projection().zoomAt(event->position(), steps);
    if (m_map->projection().zoom() == before)
        return;
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
        projection.zoomAt(centre, 1);
        break;
    case Qt::Key_Minus:
        projection.zoomAt(centre, -1);
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

HostMapWindow::HostMapWindow(EmbeddedHostMap *map, HostMapTiles *tiles, QWidget *parent)
    : QWidget(parent)
    , m_view(new HostMapView(map, this))
    , m_statusBar(new QStatusBar(this))
    , m_summary(new QLabel(this))
    , m_tiles(tiles)
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
    // Feed states come from a file the user edits: shown as they are, never as markup.
    m_summary->setTextFormat(Qt::PlainText);

    auto *menus = new QMenuBar(this);
    QMenu *file = menus->addMenu(QStringLiteral("&File"));
    m_station = file->addAction(QStringLiteral("&Station..."), this, &HostMapWindow::stationRequested);
    m_station->setObjectName(QStringLiteral("actStation"));
    m_feeds = file->addAction(QStringLiteral("&Feeds..."), this, &HostMapWindow::feedsRequested);
    m_feeds->setObjectName(QStringLiteral("actFeeds"));
    QAction *messages = file->addAction(QStringLiteral("&Messages..."), this, &HostMapWindow::messagesRequested);
    messages->setObjectName(QStringLiteral("actMessages"));
    file->addSeparator();
    m_quit = file->addAction(QStringLiteral("&Quit"));
    m_quit->setObjectName(QStringLiteral("actQuit"));
    m_quit->setShortcut(QKeySequence::Quit);
    connect(m_quit, &QAction::triggered, this, &HostMapWindow::confirmQuit);
    if (m_tiles) {
        m_mapMenu = menus->addMenu(QStringLiteral("&Map"));
        m_mapMenu->setObjectName(QStringLiteral("mnuMap"));
        m_mapProblem = new QLabel(this);
        m_mapProblem->setObjectName(QStringLiteral("lblMapProblem"));
        m_mapProblem->setTextFormat(Qt::PlainText);
        m_mapProblem->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        m_mapProblem->hide();
        m_statusBar->addWidget(m_mapProblem, 1);
        fillMapMenu();
        connect(m_tiles, &HostMapTiles::changed, this, &HostMapWindow::fillMapMenu);
        connect(m_tiles, &HostMapTiles::offlineMapRefused, this, [](const QString &path, const QString &reason) {
            Prompts::instance().message(
                QStringLiteral("%1 cannot be used as an offline map: %2").arg(QFileInfo(path).fileName(), reason),
                OpenOfflineMapTitle, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        });
    }
    layout->setMenuBar(menus);
    resize(800, 600 + m_statusBar->sizeHint().height());
}

void HostMapWindow::fillMapMenu()
{
    m_mapMenu->clear();
    QAction *open = m_mapMenu->addAction(QStringLiteral("&Open Offline Map..."), this, &HostMapWindow::openOfflineMap);
    open->setObjectName(QStringLiteral("actOpenOfflineMap"));
    // Each file: ticked while open or being read; unticking closes it, and
    // ticking one closed for a fault tries it again.
    const QList<HostMapTiles::OfflineMap> &maps = m_tiles->offlineMapList();
    if (!maps.isEmpty())
        m_mapMenu->addSeparator();
    for (const HostMapTiles::OfflineMap &map : maps) {
        QString text = map.name;
        if (map.state == HostMapTiles::State::Opening)
            text += QStringLiteral(" (reading...)");
        else if (map.state == HostMapTiles::State::Off)
            text += QStringLiteral(" (closed: %1)").arg(map.problem);
        QAction *file = m_mapMenu->addAction(text);
        file->setObjectName(QStringLiteral("actOfflineMap"));
        file->setCheckable(true);
        file->setChecked(map.state != HostMapTiles::State::Off);
        file->setToolTip(map.path);
        file->setStatusTip(map.path);
        // Queued: the menu is rebuilt, and this action deleted, by the change.
        connect(file, &QAction::toggled, this, [this, path = map.path](bool on) {
            QMetaObject::invokeMethod(
                this, [this, path, on] { on ? m_tiles->retryOfflineMap(path) : m_tiles->closeOfflineMap(path); },
                Qt::QueuedConnection);
        });
    }
    m_mapProblem->setText(m_tiles->problem());
    m_mapProblem->setToolTip(m_tiles->problem());
    m_mapProblem->setVisible(!m_tiles->problem().isEmpty());
    m_mapMenu->addSeparator();
    QAction *offline = m_mapMenu->addAction(QStringLiteral("Work O&ffline"));
    offline->setObjectName(QStringLiteral("actWorkOffline"));
    offline->setCheckable(true);
    offline->setChecked(m_tiles->workOffline());
    offline->setEnabled(m_tiles->hasServer() && !m_tiles->offlineForced());
    connect(offline, &QAction::toggled, this, [this](bool on) {
        QMetaObject::invokeMethod(this, [this, on] { m_tiles->setWorkOffline(on); }, Qt::QueuedConnection);
    });
}

void HostMapWindow::openOfflineMap()
{
    const QStringList open = m_tiles->offlineMaps();
    const QString folder = open.isEmpty() ? QDir::homePath() : QFileInfo(open.last()).absolutePath();
    const QString path = Prompts::instance().openFileName(
        OpenOfflineMapTitle, folder, QStringLiteral("MBTiles files (*.mbtiles);;All files (*)"));
    if (path.isEmpty())
        return;
    QString reason;
    // A file that can be looked at is answered later, by offlineMapRefused when it is bad.
    if (!m_tiles->openOfflineMap(path, &reason))
        Prompts::instance().message(
            QStringLiteral("%1 cannot be used as an offline map: %2").arg(QFileInfo(path).fileName(), reason),
            OpenOfflineMapTitle, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
}

void HostMapWindow::confirmQuit()
{
    if (Prompts::instance().message(QuitQuestion, Caption, Prompts::Buttons::YesNo, Prompts::Icon::Question)
        == Prompts::Answer::Yes)
        emit quitRequested();
}

void HostMapWindow::placeAndShow(const QWidget *beside)
{
    if (!m_placed) {
        m_placed = true;
        SettingsStore &store = SettingsStore::instance();
        auto stored = [&store](const char *key, bool *ok) {
            return store.value(PlacementApplication, PlacementSection, QLatin1String(key)).toInt(ok);
        };
        bool ok[4] = {};
        const QRect remembered(stored("Left", &ok[0]), stored("Top", &ok[1]), stored("Width", &ok[2]),
                               stored("Height", &ok[3]));
        const QScreen *screen = beside ? beside->screen() : QGuiApplication::primaryScreen();
        const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
        // The place is for the whole frame, title bar and borders included.
        const QMargins frame = ScreenFit::frameMargins(this);
        if (ok[0] && ok[1] && ok[2] && ok[3] && remembered.width() > 0 && remembered.height() > 0) {
            resize(remembered.size());
            move(remembered.topLeft());
            ScreenFit::keepInside(this);
        } else if (beside) {
            const QRect place = besidePlace(beside->frameGeometry(), available, size().grownBy(frame),
                                            minimumSizeHint().grownBy(frame));
            resize(place.size().shrunkBy(frame));
            move(place.topLeft());
        }
    }
    show();
    raise();
    activateWindow();
}

void HostMapWindow::rememberPlacement() const
{
    if (!m_placed)
        return;
    SettingsStore &store = SettingsStore::instance();
    const QPoint at = pos();
    store.write(PlacementApplication, PlacementSection, QStringLiteral("Left"), QString::number(at.x()));
    store.write(PlacementApplication, PlacementSection, QStringLiteral("Top"), QString::number(at.y()));
    store.write(PlacementApplication, PlacementSection, QStringLiteral("Width"), QString::number(width()));
    store.write(PlacementApplication, PlacementSection, QStringLiteral("Height"), QString::number(height()));
}

void HostMapWindow::setStatusLines(const QStringList &feeds, const QString &summary)
{
    m_summary->setText(summary);
    while (m_feedLabels.size() < feeds.size()) {
        auto *label = new QLabel(this);
        label->setFrameShape(QFrame::StyledPanel);
        label->setTextFormat(Qt::PlainText);
        // A growing count must not widen the window past the screen's edge.
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        m_statusBar->addWidget(label, 1);
        m_feedLabels.append(label);
    }
    for (int i = 0; i < m_feedLabels.size(); ++i) {
        m_feedLabels[i]->setText(i < feeds.size() ? feeds[i] : QString());
        m_feedLabels[i]->setToolTip(m_feedLabels[i]->text());
    }
}

QString HostMapWindow::statusText() const
{
    QStringList parts{m_summary->text()};
    if (m_mapProblem && !m_mapProblem->text().isEmpty())
        parts.append(m_mapProblem->text());
    for (QLabel *label : m_feedLabels)
        parts.append(label->text());
    return parts.join(QStringLiteral(" | "));
}

void HostMapWindow::closeEvent(QCloseEvent *event)
{
    // The host keeps running; Kestrel brings the view back with "Host Map".
    event->ignore();
    rememberPlacement();
    hide();
}
