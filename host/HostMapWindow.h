#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QPoint>
#include <QTimer>
#include <QWidget>

class EmbeddedHostMap;
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
};

// The host's top-level window "Host Map": the map and a status bar with the
// state of every feed. Closing it closes the host.
class HostMapWindow : public QWidget
{
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Host Map");

    explicit HostMapWindow(EmbeddedHostMap *map, QWidget *parent = nullptr);

    HostMapView *view() const { return m_view; }
    void setStatusLines(const QStringList &feeds, const QString &summary);
    QString statusText() const;

signals:
    void closing();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    HostMapView *m_view;
    QStatusBar *m_statusBar;
    QLabel *m_summary;
    QList<QLabel *> m_feedLabels;
};
