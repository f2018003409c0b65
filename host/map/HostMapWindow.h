#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QPoint>
#include <QTimer>
#include <QWidget>

class EmbeddedHostMap;
class HostMapTiles;
class QAction;
class QMenu;
class QStatusBar;

// The map area of the host's window: paints the host map, pans on drag,
// zooms on the wheel and with + and -, Home goes back to the home station.
// Changes from the feed repaint at most a few times a second, and less
// often when a paint is slow, so that a busy feed cannot keep the
// user-interface thread painting; the user's own moves repaint at once.
class HostMapView : public QWidget
{
    Q_OBJECT
public:
    HostMapView(EmbeddedHostMap *map, QWidget *parent = nullptr);
    QSize sizeHint() const override { return {800, 600}; }

    // The shortest time between two repaints for feed changes, in ms.
    int repaintInterval() const { return m_repaintInterval; }
    static constexpr int MinRepaintInterval = 200;
    static constexpr int MaxRepaintInterval = 2000;

    // The next click (not a drag) on the map gives its place instead.
    void pickPosition();
    bool isPicking() const { return m_picking; }

signals:
    void positionPicked(double latitude, double longitude);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void scheduleRepaint();

    EmbeddedHostMap *m_map;
    QTimer m_repaintTimer;
    QElapsedTimer m_sincePaint;
    int m_repaintInterval = MinRepaintInterval;
    QPoint m_dragFrom;
    bool m_dragging = false;
    bool m_moved = false;
    int m_wheel = 0;  // wheel turn not yet a whole zoom level
    bool m_picking = false;
};

// The host's top-level window "Host Map": the map and a status bar with the
// state of every feed. It is only a view: its close box hides it, and the
// host ends only through its "Quit" command, which asks first.
class HostMapWindow : public QWidget
{
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Host Map");
    static inline const QString QuitQuestion =
        QStringLiteral("Quit the APRS host? Kestrel closes with it.");

    static inline const QString OpenOfflineMapTitle = QStringLiteral("Open Offline Map");

    // tiles: where the map's pictures come from, for the Map menu (none without).
    explicit HostMapWindow(EmbeddedHostMap *map, HostMapTiles *tiles = nullptr, QWidget *parent = nullptr);

    HostMapView *view() const { return m_view; }
    void setStatusLines(const QStringList &feeds, const QString &summary);
    QString statusText() const;
    QAction *quitAction() const { return m_quit; }
    QAction *stationAction() const { return m_station; }
    QAction *feedsAction() const { return m_feeds; }
    QMenu *mapMenu() const { return m_mapMenu; }

    // Shows the window where the user last left it; the first time, beside
    // the given window (not over its menus). From then on its place is kept.
    void placeAndShow(const QWidget *beside);
    // Stores the place and size, when the window was placed by placeAndShow.
    void rememberPlacement() const;
    // The first place: right of the main window when there is room (for the
    // window at its smallest, at least), else left of it, else the lower right
    // of the screen, clear of the main window's menus and toolbars.
    static QRect besidePlace(const QRect &main, const QRect &screen, QSize wanted, QSize smallest = {});

signals:
    // The user chose Quit and confirmed it.
    void quitRequested();
    // File > Station... and File > Feeds...
    void stationRequested();
    void feedsRequested();
    // The user asked for the Messages window.
    void messagesRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void confirmQuit();
    void fillMapMenu();
    void openOfflineMap();

    HostMapView *m_view;
    QStatusBar *m_statusBar;
    QLabel *m_summary;
    QLabel *m_mapProblem = nullptr;  // an offline map closed for a fault
    QList<QLabel *> m_feedLabels;
    QAction *m_quit = nullptr;
    QAction *m_station = nullptr;
    QAction *m_feeds = nullptr;
    HostMapTiles *m_tiles;
    QMenu *m_mapMenu = nullptr;
    bool m_placed = false;
};
