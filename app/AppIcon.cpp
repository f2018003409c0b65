#include "app/AppIcon.h"

#include <QPainter>
#include <QPixmap>

namespace AppIcon {

namespace {

const QColor kDisc(40, 90, 150);
const QColor kBird(235, 160, 70);
// The icon's own coordinates: a 180 by 180 square, the disc filling it.
constexpr double kSide = 180.0;

QString number(double value)
{
    return QString::number(value, 'g', 6);
}

} // namespace

QPainterPath birdPath()
{
    QPainterPath bird;
    bird.moveTo(0, 0);
    bird.cubicTo(-30, -25, -60, -30, -80, -20);
    bird.cubicTo(-55, -12, -30, -2, -8, 8);
    bird.lineTo(-4, 30);
    bird.lineTo(6, 30);
    bird.lineTo(8, 8);
    bird.cubicTo(30, -2, 55, -12, 80, -20);
    bird.cubicTo(60, -30, 30, -25, 0, 0);
    return bird;
}

QImage render(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kSide, size / kSide);
    p.setPen(Qt::NoPen);
    p.setBrush(kDisc);
    p.drawEllipse(QRectF(0, 0, kSide, kSide));
    p.translate(kSide / 2, kSide / 2);
    p.setBrush(kBird);
    p.drawPath(birdPath());
    return image;
}

QByteArray svg()
{
    // Written from the path's own elements, so it cannot drift from render().
    const QPainterPath bird = birdPath();
    QString d;
    for (int i = 0; i < bird.elementCount(); ++i) {
        const QPainterPath::Element e = bird.elementAt(i);
        const QString point = number(e.x + kSide / 2) + u',' + number(e.y + kSide / 2);
        if (e.type == QPainterPath::MoveToElement)
            d += QStringLiteral("M") + point;
        else if (e.type == QPainterPath::LineToElement)
            d += QStringLiteral(" L") + point;
        else if (e.type == QPainterPath::CurveToElement)
            d += QStringLiteral(" C") + point;
        else
            d += u' ' + point;
    }
    d += QStringLiteral(" Z");
    const QString text = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"180\" height=\"180\" viewBox=\"0 0 180 180\">\n"
        "  <title>Kestrel</title>\n"
        "  <circle cx=\"90\" cy=\"90\" r=\"90\" fill=\"%1\"/>\n"
        "  <path d=\"%2\" fill=\"%3\"/>\n"
        "</svg>\n")
        .arg(kDisc.name(), d, kBird.name());
    return text.toUtf8();
}

QIcon icon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(render(size)));
    return icon;
}

} // namespace AppIcon
