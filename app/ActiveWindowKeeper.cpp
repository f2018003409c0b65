#include "app/ActiveWindowKeeper.h"

#include <QApplication>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

ActiveWindowKeeper::ActiveWindowKeeper(QMdiArea *area)
    : QObject(area)
    , m_area(area)
{
    connect(area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *sub) {
        if (sub)
            m_last = sub;
    });
    // Application events reach only a filter on the application, which sees
    // every event; the test below is all it costs.
    qApp->installEventFilter(this);
}

ActiveWindowKeeper::~ActiveWindowKeeper()
{
    qApp->removeEventFilter(this);
}

bool ActiveWindowKeeper::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ApplicationDeactivate:
        m_away = true;
        break;
    case QEvent::ApplicationActivate:
        cameBack();
        break;
    case QEvent::WindowDeactivate:
        if (watched == m_area->window())
            m_away = true;
        break;
    case QEvent::WindowActivate:
        if (watched == m_area->window())
            cameBack();
        break;
    default:
        break;
    }
    return false;
}

void ActiveWindowKeeper::cameBack()
{
    m_away = false;
    // After the area has handled the same event its own way.
    if (m_restoreQueued)
        return;
    m_restoreQueued = true;
    QTimer::singleShot(0, this, &ActiveWindowKeeper::restore);
}

void ActiveWindowKeeper::restore()
{
    m_restoreQueued = false;
    if (m_away || m_area->activeSubWindow() || !m_last || !m_last->isVisible() || !m_area->isVisible())
        return;
    m_area->setActiveSubWindow(m_last);
}
