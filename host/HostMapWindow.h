#pragma once

#include <QLabel>
#include <QPoint>
#include <QWidget>

class EmbeddedHostMap;
class QStatusBar;

// The map area of the host's window: paints the host map, pans on drag,
// zooms on the wheel and with + and -, Home goes back to the home station.
class HostMapView : public QWidget
{
    Q_OBJECT
public:
    HostMapView(EmbeddedHostMap *map, QWidget *parent = nullptr);
    QSize sizeHint() const override { return {800, 600}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    EmbeddedHostMap *m_map;
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
