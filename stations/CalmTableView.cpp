#include "CalmTableView.h"

CalmTableView::CalmTableView(QWidget *parent) : QTableView(parent)
{
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(IntervalMs);
    connect(&m_quiet, &QTimer::timeout, this, &CalmTableView::catchUp);
}

bool CalmTableView::takeNow()
{
    if (m_quiet.isActive())
        return false;
    m_quiet.start();
    ++m_immediate;
    return true;
}

void CalmTableView::catchUp()
{
    if (!m_repaintDue && !m_layoutDue)
        return;  // the interval passed without changes: the view is quiet again
    ++m_deferred;
    const bool layout = m_layoutDue;
    m_repaintDue = m_layoutDue = false;
    m_quiet.start();  // what follows within the next interval waits for it
    if (layout)
        QTableView::doItemsLayout();
    else
        viewport()->update();
}

void CalmTableView::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                                const QList<int> &roles)
{
    if (takeNow() || !isVisible())
        QTableView::dataChanged(topLeft, bottomRight, roles);
    else
        m_repaintDue = true;
}

void CalmTableView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    // The view lays its items out again shortly after rows arrive; that
    // layout is what repaints, so it is the one held back.
    m_rowsInserted = true;
    QTableView::rowsInserted(parent, start, end);
}

void CalmTableView::doItemsLayout()
{
    const bool fromInsert = m_rowsInserted;
    m_rowsInserted = false;
    if (!fromInsert || !isVisible() || takeNow()) {
        m_layoutDue = false;
        QTableView::doItemsLayout();
        return;
    }
    m_layoutDue = true;
}
