#pragma once

#include <QIcon>
#include <QPainterPath>
#include <QWidget>

// Shown while the main window is created: the title and "Version x.y.z".
class frmSplash : public QWidget
{
    Q_OBJECT
public:
    explicit frmSplash(QWidget *parent = nullptr);
    static QString versionText();
    // The program's icon: the kestrel of the splash on a sky-blue disc.
    static QIcon appIcon();
    // A kestrel in flight, wings spanning -80..80, centred on the origin.
    static QPainterPath birdPath();

protected:
    void paintEvent(QPaintEvent *event) override;
};
