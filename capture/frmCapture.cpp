#include "capture/frmCapture.h"

#include "core/ErrorReport.h"
#include "core/HostApplication.h"
#include "core/HostMap.h"
#include "core/Prompts.h"
#include "core/SharedState.h"
#include "core/Utilities.h"
#include "core/WholeFileWriter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

namespace {

const QString kSaveTitle = QStringLiteral("Save Capture As");
const QString kSaveFilter = QStringLiteral("BMP File (*.bmp);;All Files (*.*)");
constexpr qint16 kVerticalSmallChange = 80;
constexpr qint16 kHorizontalSmallChange = 40;

std::function<QWidget *()> &opener()
{
    static std::function<QWidget *()> function;
    return function;
}

} // namespace

// The picture itself: draws the bitmap and, while the left button is held,
// the rubber band over it. The band is drawn over the picture, never into
// it, so taking it away leaves the picture exactly as it was.
class CapturePicture : public QWidget
{
public:
    explicit CapturePicture(frmCapture *owner, QWidget *parent)
        : QWidget(parent), m_owner(owner)
    {
        setObjectName(QStringLiteral("picInner"));
        setAttribute(Qt::WA_OpaquePaintEvent, true);
        setCursor(Qt::CrossCursor);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter painter(this);
        const QImage &picture = m_owner->picture();
        if (picture.isNull())
            painter.fillRect(event->rect(), palette().window());
        else
            painter.drawImage(event->rect(), picture, event->rect());
        const QRect band = m_owner->rubberBand();
        if (band.isNull())
            return;
        // Each pixel under the box turns to its inverse, as an XOR pen would.
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(band);
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            m_owner->buttonDown(event->position().toPoint());
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (event->buttons() & Qt::LeftButton)
            m_owner->pointerMoved(event->position().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            m_owner->buttonUp(event->position().toPoint());
    }

private:
    frmCapture *m_owner;
};

frmCapture::frmCapture(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmCapture"));
    setFocusPolicy(Qt::StrongFocus);

    picOuter = new QWidget(this);
    picOuter->setObjectName(QStringLiteral("picOuter"));
    picOuter->setAutoFillBackground(true);
    picInner = new CapturePicture(this, picOuter);
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    VScroll1 = new QScrollBar(Qt::Vertical, this);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    connect(VScroll1, &QScrollBar::valueChanged, this, [this] { m_scroll.MoveV(VScroll1, picInner); });
    connect(HScroll1, &QScrollBar::valueChanged, this, [this] { m_scroll.MoveH(HScroll1, picInner); });
    resize(480, 360);
}

frmCapture::~frmCapture() = default;

void frmCapture::setWindowOpener(std::function<QWidget *()> function)
{
    opener() = std::move(function);
}

void frmCapture::GrabImage(qint32 nStartx, qint32 nStarty, qint32 nWidth, qint32 nHeight)
{
    setPicture(QImage());
    HostApplication *host = shared().host;
    HostMap *map = host ? host->map() : nullptr;
    if (!map) {
        reportError(QStringLiteral("GrabImage"), QStringLiteral("The host program's map is not available"));
        return;
    }
    if (nWidth == 0 && nHeight == 0) {
        const QSize whole = map->size();
        nWidth = whole.width();
        nHeight = whole.height();
    }
    this->nTopx = nStartx;
    this->nTopy = nStarty;
    this->nWidth = nWidth;
    this->nHeight = nHeight;
    watchMap(map);
    m_mapMoved = false;
    // The copy comes back as a picture; the user's clipboard is left alone.
    const QImage image = map->copyArea(nStartx, nStarty, nWidth, nHeight);
    if (image.isNull()) {
        reportError(QStringLiteral("GrabImage"), QStringLiteral("The host program could not copy that area of its map"));
        return;
    }
    setPicture(image);
}

void frmCapture::watchMap(HostMap *map)
{
    if (m_watchedMap == map)
        return;
    if (m_watchedMap)
        disconnect(m_watchedMap, nullptr, this, nullptr);
    m_watchedMap = map;
    connect(map, &HostMap::MapHasChanged, this, [this] { m_mapMoved = true; });
}

void frmCapture::setPicture(const QImage &image)
{
    m_picture = image;
    picInner->resize(image.isNull() ? QSize(0, 0) : image.size());
    picInner->move(0, 0);
    HScroll1->setValue(0);
    VScroll1->setValue(0);
    if (!image.isNull() && !m_fitted)
        fitFrameToPicture();
    layoutControls();
    picInner->update();
}

void frmCapture::fitFrameToPicture()
{
    m_fitted = true;
    auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
    QMdiArea *area = sub ? sub->mdiArea() : nullptr;
    const QSize room = area ? area->viewport()->size() : QSize(900, 650);
    // The frame's title bar and borders; before the sub-window is first laid
    // out they come from the style.
    QSize frame;
    if (sub) {
        const QMargins margins = sub->contentsMargins();
        frame = QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
        if (frame.isNull()) {
            const int border = sub->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, sub);
            frame = QSize(2 * border, sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub) + border);
        }
    }
    // The whole picture when the frame has room for it; else as much as fits,
    // with the scroll bars that then appear.
    const QSize space = room - frame;
    QSize wanted = m_picture.size();
    if (wanted.width() > space.width() || wanted.height() > space.height()) {
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        wanted = (wanted + QSize(bar, bar)).boundedTo(space);
    }
    wanted = wanted.expandedTo(QSize(160, 120));
    if (!sub) {
        resize(wanted);
        return;
    }
    sub->resize(wanted + frame);
    // Where the area placed it, it may reach past the visible part: pull it in.
    if (area) {
        const QSize view = area->viewport()->size();
        sub->move(std::clamp(sub->x(), 0, std::max(0, view.width() - sub->width())),
                  std::clamp(sub->y(), 0, std::max(0, view.height() - sub->height())));
    }
}

void frmCapture::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutControls();
}

void frmCapture::layoutControls()
{
    // A bar only where the picture is larger than the view; a bar on one
    // side takes room from the other, which may then need its own.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QSize picture = picInner->size();
    bool horizontal = false;
    bool vertical = false;
    for (int pass = 0; pass < 2; ++pass) {
        horizontal = picture.width() > width() - (vertical ? bar : 0);
        vertical = picture.height() > height() - (horizontal ? bar : 0);
    }
    const int viewWidth = std::max(0, width() - (vertical ? bar : 0));
    const int viewHeight = std::max(0, height() - (horizontal ? bar : 0));
    picOuter->setGeometry(0, 0, viewWidth, viewHeight);
    VScroll1->setGeometry(viewWidth, 0, bar, viewHeight);
    HScroll1->setGeometry(0, viewHeight, viewWidth, bar);
    VScroll1->setVisible(vertical);
    HScroll1->setVisible(horizontal);
    SetUpScrollBars();
}

void frmCapture::SetUpScrollBars()
{
    const int innerWidth = picInner->width();
    const int innerHeight = picInner->height();
    m_scroll.SetUpScrollBars(HScroll1, VScroll1, innerHeight - picOuter->height(), kVerticalSmallChange,
                             innerHeight / 3, innerWidth - picOuter->width(), kHorizontalSmallChange,
                             innerWidth / 2);
    m_scroll.MoveV(VScroll1, picInner);
    m_scroll.MoveH(HScroll1, picInner);
}

QRect frmCapture::rubberBand() const
{
    if (!m_dragging)
        return {};
    return QRect(m_start, m_end).normalized();
}

QPoint frmCapture::clampToPicture(const QPoint &at) const
{
    // The band stays on the picture: an area beyond it holds no map.
    return QPoint(std::clamp(at.x(), 0, std::max(0, m_picture.width())),
                  std::clamp(at.y(), 0, std::max(0, m_picture.height())));
}

void frmCapture::buttonDown(const QPoint &at)
{
    if (m_picture.isNull())
        return;
    m_dragging = true;
    m_start = m_end = clampToPicture(at);
    picInner->update();
}

void frmCapture::pointerMoved(const QPoint &at)
{
    if (!m_dragging)
        return;
    const QRect before = rubberBand();
    m_end = clampToPicture(at);
    picInner->update(before.united(rubberBand()).adjusted(-2, -2, 2, 2));
}

void frmCapture::cancelBand()
{
    if (!m_dragging)
        return;
    m_dragging = false;
    picInner->update();
}

void frmCapture::buttonUp(const QPoint &at)
{
    if (!m_dragging)
        return;
    m_end = clampToPicture(at);
    picInner->update();
    if (m_end.x() == m_start.x() || m_end.y() == m_start.y()) {
        cancelBand();
        return;
    }
    // The band stays while the question is open, so the user sees the area.
    const auto answer = Prompts::instance().message(CopyQuestion, CopyTitle, Prompts::Buttons::YesNo,
                                                    Prompts::Icon::Question);
    const QPoint start = m_start;
    const QPoint end = m_end;
    cancelBand();
    if (answer != Prompts::Answer::Yes)
        return;
    // Dragged up or to the left: the same area as the opposite drag.
    copyToNewWindow(QRect(std::min(start.x(), end.x()), std::min(start.y(), end.y()),
                          std::abs(end.x() - start.x()), std::abs(end.y() - start.y())));
}

void frmCapture::copyToNewWindow(const QRect &area)
{
    QWidget *window = opener() ? opener()() : nullptr;
    if (!window && !opener()) {
        auto *own = new frmCapture;
        own->setAttribute(Qt::WA_DeleteOnClose, true);
        own->setWindowTitle(windowTitle());
        own->show();
        window = own;
    }
    auto *next = qobject_cast<frmCapture *>(window);
    if (!next)
        return;
    const qint32 x = area.x() + nTopx;
    const qint32 y = area.y() + nTopy;
    if (!m_mapMoved) {
        next->GrabImage(x, y, area.width(), area.height());
        return;
    }
    // The map has moved since: its pixels there show something else now, so
    // the new window takes what this one shows.
    next->nTopx = x;
    next->nTopy = y;
    next->nWidth = area.width();
    next->nHeight = area.height();
    next->setPicture(m_picture.copy(area));
    next->m_mapMoved = true;
}

void frmCapture::SaveScreenCapture()
{
    if (m_picture.isNull()) {
        reportError(QStringLiteral("SaveScreenCapture"), QStringLiteral("There is no picture to save"));
        return;
    }
    QString path = Prompts::instance().saveFileName(kSaveTitle, GetDataFolder() + QStringLiteral("/Captures"),
                                                    kSaveFilter, QString());
    if (path.isEmpty())
        return;
    QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix.isEmpty()) {
        path += QStringLiteral(".bmp");
        suffix = QStringLiteral("bmp");
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!m_picture.save(&buffer, suffix == QLatin1String("png") ? "PNG" : "BMP")) {
        reportError(QStringLiteral("SaveScreenCapture"), QStringLiteral("The picture could not be encoded"));
        return;
    }
    QString error;
    if (!WholeFileWriter::save(path, bytes, &error))
        reportError(QStringLiteral("SaveScreenCapture"), error);
}

void frmCapture::keyPressEvent(QKeyEvent *event)
{
    QScrollBar *bar = (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) ? HScroll1 : VScroll1;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up: bar->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
    case Qt::Key_Right:
    case Qt::Key_Down: bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
    case Qt::Key_PageUp: VScroll1->triggerAction(QAbstractSlider::SliderPageStepSub); break;
    case Qt::Key_PageDown: VScroll1->triggerAction(QAbstractSlider::SliderPageStepAdd); break;
    case Qt::Key_Home:
        HScroll1->setValue(0);
        VScroll1->setValue(0);
        break;
    case Qt::Key_End:
        HScroll1->setValue(HScroll1->maximum());
        VScroll1->setValue(VScroll1->maximum());
        break;
    case Qt::Key_Escape: cancelBand(); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void frmCapture::wheelEvent(QWheelEvent *event)
{
    const QPoint delta = event->angleDelta();
    const bool sideways = delta.x() != 0 || (event->modifiers() & Qt::ShiftModifier);
    QScrollBar *bar = sideways ? HScroll1 : VScroll1;
    const int steps = (sideways && delta.x() != 0 ? delta.x() : delta.y()) / 120;
    bar->setValue(bar->value() - steps * bar->singleStep());
    event->accept();
}
