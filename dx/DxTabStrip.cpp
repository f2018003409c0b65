#include "dx/DxTabStrip.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QTabBar>

namespace {

QIcon markIcon(const QColor &colour)
{
    QPixmap picture(10, 10);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(colour.darker(150));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(1, 1, 8, 8));
    return QIcon(picture);
}

} // namespace

DxTabStrip::DxTabStrip(QWidget *parent) : QWidget(parent), m_bar(new QTabBar(this))
{
    m_bar->setObjectName(QStringLiteral("tabBar"));
    m_bar->setExpanding(false);
    m_bar->setUsesScrollButtons(true);
    m_marks[1] = markIcon(QColor(0, 160, 0));
    m_marks[2] = markIcon(QColor(220, 40, 0));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_bar);
    setFocusProxy(m_bar);
    connect(m_bar, &QTabBar::currentChanged, this, &DxTabStrip::barChanged);
}

int DxTabStrip::addTab(const QString &caption)
{
    m_tabs.append({caption, true, 0});
    m_bar->addTab(caption);
    return count() - 1;
}

int DxTabStrip::barIndex(int index) const
{
    if (index < 0 || index >= count() || !m_tabs[index].visible)
        return -1;
    int shown = 0;
    for (int i = 0; i < index; ++i)
        shown += m_tabs[i].visible ? 1 : 0;
    return shown;
}

int DxTabStrip::indexAt(int barIndex) const
{
    for (int i = 0, shown = 0; i < count(); ++i)
        if (m_tabs[i].visible && shown++ == barIndex)
            return i;
    return -1;
}

void DxTabStrip::setTabVisible(int index, bool visible)
{
    if (index < 0 || index >= count() || m_tabs[index].visible == visible)
        return;
    // The bar may report a new current tab while it changes: the table is
    // brought up to date first.
    if (visible) {
        m_tabs[index].visible = true;
        const int at = barIndex(index);
        m_bar->insertTab(at, m_marks[qBound(0, m_tabs[index].mark, 2)], m_tabs[index].caption);
    } else {
        const int at = barIndex(index);
        m_tabs[index].visible = false;
        m_bar->removeTab(at);
    }
}

void DxTabStrip::setTabMark(int index, int mark)
{
    if (index < 0 || index >= count() || m_tabs[index].mark == mark)
        return;
    m_tabs[index].mark = mark;
    if (const int at = barIndex(index); at >= 0)
        m_bar->setTabIcon(at, m_marks[qBound(0, mark, 2)]);
}

void DxTabStrip::setCurrentIndex(int index)
{
    if (const int at = barIndex(index); at >= 0)
        m_bar->setCurrentIndex(at);
}

void DxTabStrip::selectNext(int step)
{
    const int shown = m_bar->count();
    if (shown > 0)
        m_bar->setCurrentIndex(((m_bar->currentIndex() + step) % shown + shown) % shown);
}

void DxTabStrip::barChanged(int barIndex)
{
    const int index = indexAt(barIndex);
    if (index == m_current)
        return;
    m_current = index;
    emit currentChanged(index);
}
