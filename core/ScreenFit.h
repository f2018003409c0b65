#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>

class QWidget;

// Windows that open where the user can see all of them: inside the screen's
// available area (clear of panels and docks), and dialogs at least as wide
// as their captions.
namespace ScreenFit {

// The space the window manager's frame takes round a window. Known once the
// window has been decorated; before that, the main window's frame is the best
// guess (the same manager decorates both), and none when there is no main window.
QMargins frameMargins(const QWidget *window);

// The available area of the screen the window is on (or will open on).
QRect availableArea(const QWidget *window);

// Where a window whose frame has this size and would sit at this place goes
// instead: the same place when the whole frame fits in the area, else moved
// in, and no larger than the area.
QRect fitFrame(const QRect &frame, const QRect &area);

// Moves the window (shrinking it when it is larger than the area) so that its
// frame lies inside the available area.
void keepInside(QWidget *window);

// The narrowest a window may be to show its whole caption in a title bar,
// beside the title bar's icon and buttons.
int captionWidth(const QWidget *window);

// Watches every window the program shows and fits it as it opens.
class Fitter : public QObject
{
public:
    explicit Fitter(QObject *parent = nullptr);
    ~Fitter() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace ScreenFit
