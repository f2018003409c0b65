#pragma once

#include <QIcon>
#include <QList>
#include <QWidget>

class QTabBar;

// A row of tabs that can be hidden and shown again in place, each with a
// new-spot mark (0 none, 1 new spot, 2 new notified spot) drawn on it.
// Indices count every tab, shown or hidden, in the order they were added.
// Hidden tabs are taken out of the bar rather than hidden in it, so that a
// bar that scrolls lays out only what it shows.
class DxTabStrip : public QWidget
{
    Q_OBJECT
public:
    explicit DxTabStrip(QWidget *parent = nullptr);

    int addTab(const QString &caption);
    int count() const { return int(m_tabs.size()); }
    QString tabText(int index) const { return m_tabs.value(index).caption; }
    bool isTabVisible(int index) const { return m_tabs.value(index).visible; }
    void setTabVisible(int index, bool visible);
    int tabMark(int index) const { return m_tabs.value(index).mark; }
    void setTabMark(int index, int mark);

    // -1 when no tab is shown. Selecting a hidden tab does nothing.
    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index);
    // The next (step 1) or previous (-1) shown tab, round the end.
    void selectNext(int step);

    QTabBar *bar() const { return m_bar; }

signals:
    void currentChanged(int index);

private:
    struct Tab
    {
        QString caption;
        bool visible = true;
        int mark = 0;
    };
    int barIndex(int index) const;
    int indexAt(int barIndex) const;
    void barChanged(int barIndex);

    QTabBar *m_bar;
    QList<Tab> m_tabs;
    QIcon m_marks[3];
    int m_current = -1;
};
