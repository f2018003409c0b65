#include "app/frmSplash.h"

#include "app/AppIcon.h"
#include "core/AppInfo.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

frmSplash::frmSplash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(AppInfo::Title);
    setFixedSize(420, 240);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QString frmSplash::versionText()
{
    return QStringLiteral("Version %1.%2.%3")
        .arg(KESTREL_VERSION_MAJOR).arg(KESTREL_VERSION_MINOR).arg(KESTREL_VERSION_PATCH);
}

void frmSplash::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(24, 54, 96));
    sky.setColorAt(1, QColor(70, 120, 170));
    p.fillRect(rect(), sky);

    p.save();
    p.translate(330, 95);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(214, 140, 60));
    p.drawPath(AppIcon::birdPath());
    p.restore();

    p.setPen(Qt::white);
    QFont title = font();
    title.setPointSize(30);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(28, 120, width() - 56, 50), Qt::AlignLeft | Qt::AlignVCenter, AppInfo::Title);
    QFont small = font();
    small.setPointSize(11);
    p.setFont(small);
    p.drawText(QRect(30, 170, width() - 60, 24), Qt::AlignLeft | Qt::AlignVCenter, versionText());
    p.setPen(QColor(200, 215, 235));
    p.drawText(QRect(30, 196, width() - 60, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("APRS station, weather, DX and satellite monitor"));
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
