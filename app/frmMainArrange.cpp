// Where the main window's child windows go: tiling, cascading, minimised
// windows, and the place and size of a window shown for the first time.
#include "app/frmMain.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

namespace {

// Smaller than this a list shows too little to be of use, whatever the frame.
constexpr QSize kSmallestUseful(360, 220);

} // namespace

QList<QMdiSubWindow *> frmMain::arrangedWindows() const
{
    QList<QMdiSubWindow *> shown;
    for (QMdiSubWindow *sub : m_mdi->subWindowList())
        if (sub->isVisible() && !sub->isMinimized())
            shown << sub;
    return shown;
}

QSize frmMain::usefulChildSize() const
{
    const QSize area = m_mdi->viewport()->size();
    return (area * 2 / 3).expandedTo(kSmallestUseful).boundedTo(area);
}

int frmMain::cascadeStep() const
{
    return style()->pixelMetric(QStyle::PM_TitleBarHeight) + 4;
}

QPoint frmMain::cascadePlace(int index, QSize size) const
{
    const QSize area = m_mdi->viewport()->size();
    const int step = cascadeStep();
    // Start again at the top left before a window would reach past the frame.
    const int room = qMin(area.width() - size.width(), area.height() - size.height());
    const int places = qMax(1, room / step + 1);
    const int offset = (index % places) * step;
    return {offset, offset};
}

void frmMain::tileWindows(Qt::Orientation bands)
{
    const QList<QMdiSubWindow *> windows = arrangedWindows();
    const int n = int(windows.size());
    const QSize area = m_mdi->viewport()->size();
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow *sub = windows[i];
        sub->showNormal();
        if (bands == Qt::Horizontal) {
            // One above the other, each the full width.
            const int top = area.height() * i / n;
            sub->setGeometry(0, top, area.width(), area.height() * (i + 1) / n - top);
        } else {
            // Side by side, each the full height.
            const int left = area.width() * i / n;
            sub->setGeometry(left, 0, area.width() * (i + 1) / n - left, area.height());
        }
    }
}

void frmMain::cascadeWindows()
{
    const QList<QMdiSubWindow *> windows = arrangedWindows();
    const QSize size = usefulChildSize();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow *sub = windows[i];
        sub->showNormal();
        sub->setGeometry(QRect(cascadePlace(i, size), size));
    }
    if (windows.isEmpty())
        return;
    // Activating a window restacks the others, so the stack is set after.
    m_mdi->setActiveSubWindow(windows.last());
    for (QMdiSubWindow *sub : windows)
        sub->raise();
}

void frmMain::arrangeIcons()
{
    int x = 0;
    for (QMdiSubWindow *sub : m_mdi->subWindowList())
        if (sub->isMinimized() && sub->isVisible()) {
            sub->move(x, m_mdi->viewport()->height() - sub->height());
            x += sub->width();
        }
}

void frmMain::placeNewChild(QMdiSubWindow *sub)
{
    const QSize size = usefulChildSize();
    const int others = int(arrangedWindows().size()) - (sub->isVisible() ? 1 : 0);
    sub->setGeometry(QRect(cascadePlace(others, size), size));
}
