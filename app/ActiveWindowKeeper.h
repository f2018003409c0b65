#pragma once

#include <QObject>
#include <QPointer>

class QMdiArea;
class QMdiSubWindow;

// QMdiArea forgets its active window while the program has lost the focus
// (to another program, or a dialog that is not its own) and does not always
// activate it again when the focus comes back. This remembers the window and
// gives it back, so that the window list's tick and the commands that act on
// the active window keep following it.
class ActiveWindowKeeper : public QObject
{
    Q_OBJECT
public:
    explicit ActiveWindowKeeper(QMdiArea *area);
    ~ActiveWindowKeeper() override;

    // The program, or the area's own window, has not got the focus: the area
    // reports no active window then, though the user left one.
    bool away() const { return m_away; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cameBack();
    void restore();

    QMdiArea *m_area;
    QPointer<QMdiSubWindow> m_last;
    bool m_away = false;
    bool m_restoreQueued = false;
};
