#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <functional>

#include "capture/cPicScroll.h"
#include "core/WindowInterfaces.h"

class HostMap;
class QScrollBar;
class CapturePicture;

// A map capture: a copy of an area of the host's map in a scrollable
// picture. Dragging a rectangle over it (left button) copies that area of
// the map into a new capture window; the save command writes the picture as
// a bitmap.
class frmCapture : public QWidget, public CaptureWindow
{
    Q_OBJECT
public:
    static inline const QString CopyQuestion = QStringLiteral("Are you sure you wish to copy this area of the map.");
    static inline const QString CopyTitle = QStringLiteral("Copy Map");

    explicit frmCapture(QWidget *parent = nullptr);
    ~frmCapture() override;

    // Fills the window from that area of the host map, in map pixels; all
    // four 0 means the whole map.
    void GrabImage(qint32 nStartx, qint32 nStarty, qint32 nWidth, qint32 nHeight);
    // CaptureWindow
    void grabMap(int x, int y, int width, int height) override { GrabImage(x, y, width, height); }
    void SaveScreenCapture() override;

    const QImage &picture() const { return m_picture; }
    // The rubber band while the left button is held, else empty.
    QRect rubberBand() const;
    // True once the host map was panned or zoomed after this picture was
    // taken: its map positions no longer show what the picture shows.
    bool mapMoved() const { return m_mapMoved; }

    // How a drag opens the next capture window: counted, captioned, shown and
    // listed by the program. Without one the window opens on its own.
    static void setWindowOpener(std::function<QWidget *()> opener);

    // The map position of the picture's top-left corner and its size, in map pixels.
    qint32 nTopx = 0;
    qint32 nTopy = 0;
    qint32 nWidth = 0;
    qint32 nHeight = 0;

    QWidget *picOuter = nullptr;
    QWidget *picInner = nullptr;  // the picture, moved inside picOuter as the bars scroll
    QScrollBar *HScroll1 = nullptr;
    QScrollBar *VScroll1 = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    friend class CapturePicture;
    void buttonDown(const QPoint &at);
    void pointerMoved(const QPoint &at);
    void buttonUp(const QPoint &at);
    void cancelBand();

    void setPicture(const QImage &image);
    void layoutControls();
    void SetUpScrollBars();
    void fitFrameToPicture();
    void watchMap(HostMap *map);
    void copyToNewWindow(const QRect &area);
    QPoint clampToPicture(const QPoint &at) const;

    cPicScroll m_scroll;
    QImage m_picture;
    QPointer<HostMap> m_watchedMap;
    bool m_mapMoved = false;
    bool m_fitted = false;
    bool m_dragging = false;
    QPoint m_start;
    QPoint m_end;
};
