#include "core/ScreenFit.h"

#include "core/MainWindowPort.h"
#include "core/Utilities.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace ScreenFit {

namespace {

// Windows fitted once already: a window the user has moved since is left
// where they put it when it is shown again.
const char *const kFittedProperty = "kestrelScreenFitted";

QMargins marginsOf(const QWidget *window)
{
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

bool isFittedKind(const QWidget *widget)
{
    if (!widget->isWindow())
        return false;
    switch (widget->windowType()) {
    case Qt::Window:
    case Qt::Dialog:
    case Qt::Sheet:
    case Qt::Tool:
        return true;
    default:
        return false;  // menus, tips, pop-ups and the splash place themselves
    }
}

} // namespace

QMargins frameMargins(const QWidget *window)
{
    if (!window)
        return {};
    if (const QMargins own = marginsOf(window); !own.isNull())
        return own;
    const QWidget *main = MainWindowPort::widget();
    if (main && main != window && main->isVisible())
        return marginsOf(main);
    return {};
}

QRect availableArea(const QWidget *window)
{
    const QScreen *screen = nullptr;
    if (window) {
        const QWidget *anchor = window->parentWidget() ? window->parentWidget()->window() : MainWindowPort::widget();
        screen = window->isVisible() || !anchor ? window->screen() : anchor->screen();
    }
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QRect fitFrame(const QRect &frame, const QRect &area)
{
    if (area.isEmpty())
        return frame;
    const QSize size = frame.size().boundedTo(area.size());
    const int left = std::clamp(frame.left(), area.left(), area.right() + 1 - size.width());
    const int top = std::clamp(frame.top(), area.top(), area.bottom() + 1 - size.height());
    return {left, top, size.width(), size.height()};
}

void keepInside(QWidget *window)
{
    if (!window)
        return;
    const QMargins margins = frameMargins(window);
    const QRect inner = window->geometry();
    const QRect frame = inner.marginsAdded(margins);
    const QRect fitted = fitFrame(frame, availableArea(window));
    if (fitted == frame)
        return;
    const QSize innerSize = fitted.marginsRemoved(margins).size().expandedTo(window->minimumSize());
    if (innerSize != inner.size())
        window->resize(innerSize);
    // move() places the frame's corner.
    window->move(fitted.topLeft());
}

int captionWidth(const QWidget *window)
{
    if (!window || window->windowTitle().isEmpty())
        return 0;
    // Title bars mostly set the caption in bold at about the body size.
    QFont font = QApplication::font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    // The icon and three buttons, each about as wide as the bar is high, and room either side.
    const int button = metrics.height() + 12;
    return metrics.horizontalAdvance(window->windowTitle()) + 4 * button + 32;
}

Fitter::Fitter(QObject *parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

Fitter::~Fitter()
{
    qApp->removeEventFilter(this);
}

bool Fitter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Show || !watched->isWidgetType())
        return false;
    auto *window = static_cast<QWidget *>(watched);
    if (!isFittedKind(window) || window == MainWindowPort::widget() || window->property(kFittedProperty).toBool())
        return false;
    window->setProperty(kFittedProperty, true);
    if (qobject_cast<QDialog *>(window)) {
        const int wanted = std::min(captionWidth(window), availableArea(window).width());
        if (window->width() < wanted) {
            const int grow = wanted - window->width();
            window->setMinimumWidth(std::max(window->minimumWidth(), wanted));
            window->resize(wanted, window->height());
            // Still centred where it was put.
            window->move(window->x() - grow / 2, window->y());
        }
    }
    keepInside(window);
    return false;
}

} // namespace ScreenFit
