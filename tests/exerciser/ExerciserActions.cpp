// The random things a user does: tools and menus, tabs, keys, the wheel and
// drags in charts, views and maps, typing, rows, arranging and closing windows.
#include "Exerciser.h"

#include "app/frmMain.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

namespace {

// Hand-offs to programs outside the run, which a run must not start.
const QStringList kOutside = {QStringLiteral("cmdSysInfo")};

const QList<Qt::Key> kKeys = {Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Equal, Qt::Key_0,     Qt::Key_Left,
                              Qt::Key_Right, Qt::Key_Up,    Qt::Key_Down,  Qt::Key_Home,  Qt::Key_End,
                              Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Space, Qt::Key_Return, Qt::Key_Tab,
                              Qt::Key_Delete, Qt::Key_F2,    Qt::Key_Escape, Qt::Key_A,    Qt::Key_Backspace};

const QStringList kValidTexts = {
    QStringLiteral("51.30.00N"), QStringLiteral("000.07.50W"), QStringLiteral("SU 123 456"), QStringLiteral("TQ3080"),
    QStringLiteral("G4KWA"),     QStringLiteral("N0CALL-9"),  QStringLiteral("14025.0"),    QStringLiteral("10"),
    QStringLiteral("0"),         QStringLiteral("60"),        QStringLiteral("1050"),       QStringLiteral("-5"),
    QStringLiteral("IO91"),      QStringLiteral("12"),        QStringLiteral("Europe/London"), QStringLiteral("20M"),
};
const QStringList kJunkTexts = {
    QStringLiteral("ýþ\u00e9\u4e2d\u0627\U0001F600"), QStringLiteral("%s%n%x"), QStringLiteral("../../../etc/passwd"),
    QStringLiteral("-99999999999"), QStringLiteral("1e308"), QStringLiteral("nan"), QStringLiteral("<b>bold</b>"),
    QStringLiteral("'; DROP"), QStringLiteral("\t\r\n"), QStringLiteral("|||,,,:::"), QStringLiteral("   "),
    QStringLiteral("99.99.99Z"), QStringLiteral("-0"), QStringLiteral("0x7fffffff"),
};

QPoint somewhereIn(const QWidget *widget, QRandomGenerator &random)
{
    const int w = qMax(1, widget->width());
    const int h = qMax(1, widget->height());
    return QPoint(int(random.bounded(w)), int(random.bounded(h)));
}

QString describe(const QWidget *widget)
{
    QString text = QString::fromLatin1(widget->metaObject()->className());
    if (!widget->objectName().isEmpty())
        text += u' ' + widget->objectName();
    if (const QWidget *window = widget->window(); window && !window->windowTitle().isEmpty())
        text += QStringLiteral(" in \"%1\"").arg(window->windowTitle());
    return text;
}

} // namespace

bool Exerciser::allowedTarget(QWidget *widget) const
{
    if (!widget || !widget->isVisible() || !widget->isEnabled())
        return false;
    if (kOutside.contains(widget->objectName()))
        return false;
    // The main toolbar is used through its tools.
    for (const QWidget *w = widget; w; w = w->parentWidget())
        if (w->objectName() == QLatin1String("tbToolBar"))
            return false;
    return true;
}

template<typename T>
T *Exerciser::pickChild(QWidget *window, const std::function<bool(T *)> &usable)
{
    if (!window)
        return nullptr;
    QList<T *> found;
    for (T *child : window->findChildren<T *>())
        if (allowedTarget(child) && child->window() == window->window() && (!usable || usable(child)))
            found << child;
    if (auto *self = qobject_cast<T *>(window); self && allowedTarget(self) && (!usable || usable(self)))
        found << self;
    return found.isEmpty() ? nullptr : pick(found);
}

QWidget *Exerciser::pickWindow()
{
    QList<QWidget *> windows;
    for (QMdiSubWindow *sub : m_main.mdiArea()->subWindowList())
        if (sub->isVisible() && !sub->isMinimized() && sub->widget())
            windows << sub->widget();
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top != &m_main && top->isVisible() && !top->isMinimized() && !qobject_cast<QMenu *>(top)
            && !top->inherits("QDialog") && top->windowType() != Qt::Popup && top->windowType() != Qt::ToolTip)
            windows << top;
    QWidget *active = m_main.activeChild();
    if (active && chance(50))
        return active;
    return windows.isEmpty() ? nullptr : pick(windows);
}

QString Exerciser::randomText()
{
    switch (m_random.bounded(6)) {
    case 0:
    case 1:
    case 2: return pick(kValidTexts);
    case 3: return pick(kJunkTexts);
    case 4: {
        QString text;
        const int length = int(m_random.bounded(40));
        for (int i = 0; i < length; ++i)
            text += QChar(char16_t(0x20 + m_random.bounded(0x2500)));
        return text;
    }
    default: return QString(int(200 + m_random.bounded(3000)), QChar(u'0' + char16_t(m_random.bounded(75))));
    }
}

// One key a step, as fingers type: every key is its own event, with the
// event loop turning in between.
void Exerciser::type(QWidget *field, const QString &text, bool enter)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\t')
            m_typing.push_back({field, Qt::Key_Tab, {}});
        else if (c == u'\r' || c == u'\n')
            m_typing.push_back({field, Qt::Key_Return, {}});
        else if (c.isHighSurrogate() && i + 1 < text.size())
            m_typing.push_back({field, Qt::Key_unknown, text.mid(i++, 2)});
        else
            m_typing.push_back({field, Qt::Key_unknown, QString(c)});
    }
    if (enter)
        m_typing.push_back({field, Qt::Key_Return, {}});
}

bool Exerciser::typeNext()
{
    if (m_typing.empty())
        return false;
    const Keystroke stroke = m_typing.front();
    m_typing.pop_front();
    QWidget *modal = QApplication::activeModalWidget();
    // A field that went, or that a dialog now covers, gets no more keys.
    if (!stroke.target || !stroke.target->isVisible() || (modal && stroke.target->window() != modal)) {
        m_typing.clear();
        return false;
    }
    // QTest's own typing knows ASCII only; other characters go as their text.
    if (stroke.key != Qt::Key_unknown)
        QTest::keyClick(stroke.target, stroke.key);
    else
        QTest::sendKeyEvent(QTest::Click, stroke.target, Qt::Key_unknown, stroke.text, Qt::NoModifier);
    return true;
}

void Exerciser::randomAction(QWidget *within)
{
    if (within) {
        switch (m_random.bounded(6)) {
        case 0:
        case 1: clickSomething(within); break;
        case 2: typeText(within); break;
        case 3: switchTab(within); break;
        case 4: useRows(within); break;
        default: pressKey(within); break;
        }
        return;
    }
    // Busy users close windows too; without that a long run only opens them.
    if (m_main.mdiArea()->subWindowList().size() > 16) {
        closeWindow();
        return;
    }
    const int roll = int(m_random.bounded(100));
    if (roll < 18) useTool();
    else if (roll < 24) openMenu();
    else if (roll < 29) chooseCombo();
    else if (roll < 37) switchTab(pickWindow());
    else if (roll < 49) pressKey(pickWindow());
    else if (roll < 57) turnWheel(pickWindow());
    else if (roll < 63) drag(pickWindow());
    else if (roll < 72) clickSomething(pickWindow());
    else if (roll < 79) typeText(pickWindow());
    else if (roll < 87) useRows(pickWindow());
    else if (roll < 93) arrangeWindows();
    else if (roll < 96) closeWindow();
    else reopenMissingKind();
}

void Exerciser::useTool()
{
    QList<QAction *> tools;
    for (QAction *action : m_main.findChildren<QAction *>())
        if (action->objectName().startsWith(QLatin1String("ID_")) && action->isEnabled() && !action->menu()
            && action->objectName() != QLatin1String("ID_Window"))
            tools << action;
    if (tools.isEmpty())
        return;
    QAction *action = pick(tools);
    log(QStringLiteral("tool %1").arg(action->objectName()));
    auto *toolbar = m_main.findChild<QToolBar *>(QStringLiteral("tbToolBar"));
    QWidget *button = toolbar ? toolbar->widgetForAction(action) : nullptr;
    if (button && button->isVisible() && chance(60))
        QTest::mouseClick(button, Qt::LeftButton);
    else
        action->trigger();
}

void Exerciser::openMenu()
{
    QList<QToolButton *> menus;
    if (auto *toolbar = m_main.findChild<QToolBar *>(QStringLiteral("tbToolBar")))
        for (QToolButton *button : toolbar->findChildren<QToolButton *>())
            if (button->menu() && button->isVisible())
                menus << button;
    QList<QMenuBar *> bars;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top != &m_main && top->isVisible())
            for (QMenuBar *bar : top->findChildren<QMenuBar *>())
                if (bar->isVisible())
                    bars << bar;
    if (!bars.isEmpty() && chance(15)) {
        QMenuBar *bar = pick(bars);
        const QList<QAction *> titles = bar->actions();
        if (!titles.isEmpty()) {
            QAction *title = pick(titles);
            log(QStringLiteral("menu bar \"%1\" of %2").arg(title->text(), describe(bar)));
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
        }
        return;
    }
    if (menus.isEmpty())
        return;
    QToolButton *button = pick(menus);
    log(QStringLiteral("menu \"%1\"").arg(button->text()));
    QTest::mouseClick(button, Qt::LeftButton);
}

void Exerciser::chooseCombo()
{
    QList<QComboBox *> boxes;
    for (const char *id : {"ID_Orbits", "ID_PlotInterval", "ID_WxDates", "ID_Font", "ID_FontSize"})
        if (QComboBox *box = m_main.combo(QString::fromLatin1(id)); box && box->isEnabled() && box->count() > 0)
            boxes << box;
    if (boxes.isEmpty())
        return;
    QComboBox *box = pick(boxes);
    box->setFocus();
    if (box->isEditable() && chance(40)) {
        const QString text = chance(70) ? QString::number(m_random.bounded(6, 30)) : randomText().left(20);
        log(QStringLiteral("type \"%1\" into %2").arg(text, box->objectName()));
        box->lineEdit()->selectAll();
        type(box->lineEdit(), text, true);
        return;
    }
    if (chance(30)) {
        log(QStringLiteral("open the list of %1").arg(box->objectName()));
        QTest::mouseClick(box, Qt::LeftButton);  // the list is answered on the next step
        return;
    }
    const bool down = chance(60);
    log(QStringLiteral("%1 in %2").arg(down ? QStringLiteral("Down") : QStringLiteral("Up"), box->objectName()));
    QTest::keyClick(box, down ? Qt::Key_Down : Qt::Key_Up);
}

void Exerciser::switchTab(QWidget *window)
{
    QTabBar *bar = pickChild<QTabBar>(window, [](QTabBar *b) { return b->count() > 1; });
    if (!bar) {
        if (window && chance(30)) {
            log(QStringLiteral("Ctrl+Tab in %1").arg(describe(window)));
            QWidget *target = window->focusWidget() ? window->focusWidget() : window;
            QTest::keyClick(target, Qt::Key_Tab, Qt::ControlModifier);
        }
        return;
    }
    QList<int> shown;
    for (int i = 0; i < bar->count(); ++i)
        if (bar->isTabVisible(i) && bar->isTabEnabled(i) && !bar->tabRect(i).isEmpty())
            shown << i;
    if (shown.isEmpty())
        return;
    const int tab = pick(shown);
    log(QStringLiteral("tab \"%1\" of %2").arg(bar->tabText(tab), describe(bar)));
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
}

void Exerciser::pressKey(QWidget *window)
{
    QWidget *target = pickChild<QWidget>(window, [](QWidget *w) { return w->focusPolicy() != Qt::NoFocus; });
    if (!target)
        return;
    const Qt::Key key = pick(kKeys);
    const Qt::KeyboardModifiers modifiers = key == Qt::Key_A && chance(50) ? Qt::ControlModifier : Qt::NoModifier;
    log(QStringLiteral("key %1 in %2").arg(QKeySequence(key | modifiers).toString(), describe(target)));
    target->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(target, key, modifiers);
}

void Exerciser::turnWheel(QWidget *window)
{
    QWidget *target = pickChild<QWidget>(window, [](QWidget *w) { return w->width() > 20 && w->height() > 20; });
    if (!target)
        return;
    const int notches = (chance(50) ? 1 : -1) * (chance(80) ? 1 : 3);
    const Qt::KeyboardModifiers modifiers = chance(25) ? Qt::ControlModifier : Qt::NoModifier;
    const QPoint at = somewhereIn(target, m_random);
    log(QStringLiteral("wheel %1%2 at %3,%4 in %5")
            .arg(modifiers ? QStringLiteral("Ctrl+") : QString())
            .arg(notches)
            .arg(at.x())
            .arg(at.y())
            .arg(describe(target)));
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, notches * 120), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
}

void Exerciser::drag(QWidget *window)
{
    QWidget *target = pickChild<QWidget>(window, [](QWidget *w) { return w->width() > 40 && w->height() > 40; });
    if (!target)
        return;
    const Qt::MouseButton button = chance(85) ? Qt::LeftButton : Qt::RightButton;
    const QPoint from = somewhereIn(target, m_random);
    const QPoint to = somewhereIn(target, m_random);
    log(QStringLiteral("drag %1,%2 to %3,%4 in %5").arg(from.x()).arg(from.y()).arg(to.x()).arg(to.y()).arg(describe(target)));
    QPointer<QWidget> alive(target);
    QTest::mousePress(target, button, {}, from);
    for (int i = 1; i <= 3 && alive; ++i)
        QTest::mouseMove(target, from + (to - from) * i / 3);
    if (alive)
        QTest::mouseRelease(target, button, {}, to);
}

void Exerciser::clickSomething(QWidget *window)
{
    if (chance(70)) {
        QAbstractButton *button = pickChild<QAbstractButton>(window);
        if (!button)
            return;
        log(QStringLiteral("click \"%1\" %2").arg(button->text(), describe(button)));
        QTest::mouseClick(button, Qt::LeftButton);
        return;
    }
    QWidget *target = pickChild<QWidget>(window, [](QWidget *w) { return w->width() > 4; });
    if (!target)
        return;
    const QPoint at = somewhereIn(target, m_random);
    const bool twice = chance(25);
    log(QStringLiteral("%1 at %2,%3 in %4").arg(twice ? QStringLiteral("double-click") : QStringLiteral("click")).arg(at.x()).arg(at.y()).arg(describe(target)));
    if (twice)
        QTest::mouseDClick(target, Qt::LeftButton, {}, at);
    else
        QTest::mouseClick(target, Qt::LeftButton, {}, at);
}

void Exerciser::typeText(QWidget *window)
{
    QWidget *field = pickChild<QWidget>(window, [](QWidget *w) {
        if (auto *line = qobject_cast<QLineEdit *>(w))
            return !line->isReadOnly();
        if (auto *plain = qobject_cast<QPlainTextEdit *>(w))
            return !plain->isReadOnly();
        if (auto *rich = qobject_cast<QTextEdit *>(w))
            return !rich->isReadOnly();
        return qobject_cast<QAbstractSpinBox *>(w) != nullptr;
    });
    if (!field)
        return;
    const QString text = randomText();
    field->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    if (text.size() > 60) {
        // Long texts come from the clipboard, as people paste them.
        log(QStringLiteral("paste %1 characters into %2").arg(text.size()).arg(describe(field)));
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    } else {
        log(QStringLiteral("type \"%1\" into %2").arg(text, describe(field)));
        type(field, text, chance(40));
        return;
    }
    if (chance(40))
        QTest::keyClick(field, Qt::Key_Return);
}

void Exerciser::useRows(QWidget *window)
{
    QAbstractItemView *view = pickChild<QAbstractItemView>(
        window, [](QAbstractItemView *v) { return v->model() && v->model()->rowCount() > 0; });
    if (!view)
        return;
    QAbstractItemModel *model = view->model();
    const int row = int(m_random.bounded(model->rowCount()));
    const QModelIndex index = model->index(row, 0);
    switch (m_random.bounded(6)) {
    case 0:
    case 1: {
        view->scrollTo(index);
        const QRect cell = view->visualRect(index);
        log(QStringLiteral("click row %1 of %2").arg(row).arg(describe(view)));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        break;
    }
    case 2: {
        view->scrollTo(index);
        log(QStringLiteral("double-click row %1 of %2").arg(row).arg(describe(view)));
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
        break;
    }
    case 3: {
        view->scrollTo(index);
        const QPoint at = view->visualRect(index).center();
        log(QStringLiteral("context menu on row %1 of %2").arg(row).arg(describe(view)));
        QContextMenuEvent menu(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view->viewport(), &menu);
        break;
    }
    case 4: {
        auto *table = qobject_cast<QTableView *>(view);
        QHeaderView *header = table ? table->horizontalHeader() : nullptr;
        if (!header || !header->isVisible() || header->count() == 0)
            break;
        const int section = int(m_random.bounded(header->count()));
        const int x = header->sectionViewportPosition(section) + header->sectionSize(section) / 2;
        log(QStringLiteral("click heading %1 of %2").arg(section).arg(describe(view)));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
        break;
    }
    default: {
        const Qt::Key key = pick(QList<Qt::Key>{Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_End, Qt::Key_Home});
        log(QStringLiteral("key %1 in %2").arg(QKeySequence(key).toString(), describe(view)));
        view->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(view, key);
        break;
    }
    }
}

void Exerciser::arrangeWindows()
{
    QMdiSubWindow *sub = m_main.mdiArea()->activeSubWindow();
    switch (m_random.bounded(6)) {
    case 0: {
        const QSize size(int(m_random.bounded(500, 1700)), int(m_random.bounded(380, 1100)));
        log(QStringLiteral("resize the main window to %1x%2").arg(size.width()).arg(size.height()));
        if (m_main.isMaximized() || m_main.isMinimized())
            m_main.showNormal();
        m_main.resize(size);
        break;
    }
    case 1:
        if (sub) {
            const QSize size(int(m_random.bounded(120, 900)), int(m_random.bounded(90, 700)));
            log(QStringLiteral("resize %1 to %2x%3").arg(sub->windowTitle()).arg(size.width()).arg(size.height()));
            sub->resize(size);
        }
        break;
    case 2:
        if (sub) {
            log(QStringLiteral("move %1").arg(sub->windowTitle()));
            sub->move(int(m_random.bounded(-100, 600)), int(m_random.bounded(-50, 400)));
        }
        break;
    case 3:
        if (sub) {
            const int how = int(m_random.bounded(3));
            log(QStringLiteral("%1 %2").arg(QStringList{QStringLiteral("minimise"), QStringLiteral("maximise"),
                                                        QStringLiteral("restore")}[how],
                                            sub->windowTitle()));
            if (how == 0) sub->showMinimized();
            else if (how == 1) sub->showMaximized();
            else sub->showNormal();
        }
        break;
    case 4: {
        const QList<QMdiSubWindow *> subs = m_main.mdiArea()->subWindowList();
        QList<QMdiSubWindow *> shown;
        for (QMdiSubWindow *each : subs)
            if (each->isVisible())
                shown << each;
        if (!shown.isEmpty()) {
            QMdiSubWindow *next = pick(shown);
            log(QStringLiteral("activate %1").arg(next->windowTitle()));
            m_main.mdiArea()->setActiveSubWindow(next);
        }
        break;
    }
    default: {
        QWidget *top = pickWindow();
        if (top && top->isWindow()) {
            const QSize size(int(m_random.bounded(200, 1200)), int(m_random.bounded(150, 900)));
            log(QStringLiteral("resize %1 to %2x%3").arg(describe(top)).arg(size.width()).arg(size.height()));
            top->resize(size);
        }
        break;
    }
    }
}

void Exerciser::closeWindow()
{
    QWidget *window = pickWindow();
    if (!window)
        return;
    // Through the window's own Close, which a window that only goes with the
    // program (the main station list) does not offer.
    if (auto *sub = qobject_cast<QMdiSubWindow *>(window->parentWidget())) {
        QMenu *menu = sub->systemMenu();
        QAction *close = nullptr;
        for (QAction *action : menu ? menu->actions() : QList<QAction *>())
            if (action->text().remove(u'&').startsWith(QLatin1String("Close")) && action->isEnabled() && action->isVisible())
                close = action;
        if (!close)
            return;
        log(QStringLiteral("close %1").arg(describe(window)));
        close->trigger();
        return;
    }
    log(QStringLiteral("close %1").arg(describe(window)));
    window->close();
}
