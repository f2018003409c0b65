#pragma once

#include "orbiter/EarthBackground.h"
#include "orbiter/Scene.h"

#include <QWidget>

namespace orbiter {

// The drawing surface of the three graphic views. It only forwards: the
// painting is done by the painter functions, the picking by their hit tests.
class OrbiterCanvas : public QWidget
{
    Q_OBJECT
public:
    explicit OrbiterCanvas(QWidget *parent = nullptr);

    // 1 world, 2 horizon, 3 globe.
    void setStyle(int style);
    int style() const { return m_style; }
    void setScene(const Scene &scene);

    // Draws the current view into an image of any size (tests, screenshots).
    void render(QPainter &p, const QRectF &area);

    QSize sizeHint() const override { return {720, 420}; }
    QSize minimumSizeHint() const override { return {240, 160}; }

signals:
    // The user picked a satellite (its tracker entry number).
    void satellitePicked(int entry);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int m_style = 1;
    Scene m_scene;
    EarthBackgrounds m_backgrounds;
};

} // namespace orbiter
