#include "ui/frmTp_3D.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QToolButton>

namespace {

bool g_aborted = false;

const char *const kTips[3] = {"Close, Don't Save", "Close and Save",
                              "Click and Hold to Undock, Right Click to Dock"};
// A cross, a tick and a grip.
const char16_t *const kFaces[3] = {u"\u2715", u"\u2713", u"\u2630"};

} // namespace

bool frmTp_3D::aborted() { return g_aborted; }
void frmTp_3D::setAborted(bool on) { g_aborted = on; }

frmTp_3D::frmTp_3D(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmTp_3D"));
    setWindowTitle(QStringLiteral("frmTp"));
    setModal(true);
    tOutTimer.setInterval(200);
    connect(&tOutTimer, &QTimer::timeout, this, &frmTp_3D::tOutTimer_Timer);

    for (int i = 0; i < 3; ++i) {
        auto *button = new QToolButton(this);
        button->setObjectName(QStringLiteral("cmdJ%1").arg(i));
        button->setToolTip(QLatin1String(kTips[i]));
        button->setText(QString::fromUtf16(kFaces[i]));
        button->setAccessibleName(QLatin1String(kTips[i]));
        button->setAutoRaise(false);
        cmdJ[i] = button;
    }
    connect(cmdJ[0], &QToolButton::clicked, this, [this] { closeSaving(false); });
    connect(cmdJ[1], &QToolButton::clicked, this, [this] { closeSaving(true); });
    cmdJ[2]->setCursor(Qt::SizeAllCursor);
    cmdJ[2]->installEventFilter(this);
}

void frmTp_3D::setColumns(const QList<Column> &columns, int rowHeight, const QFont *font)
{
    qDeleteAll(txtEd);
    txtEd.clear();
    m_tags.clear();
    int left = 0;
    QWidget *previous = nullptr;
    for (const Column &column : columns) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("txtEd"));
        box->setGeometry(left, 0, column.width, rowHeight);
        box->setText(column.text);
        box->setCursorPosition(0);
        box->setToolTip(QStringLiteral("Original: ") + column.text);
        box->setProperty("column", column.index);
        if (font)
            box->setFont(*font);
        // A thin outline in the highlight colour marks the row being edited
        // without taking the height a frame would need.
        box->setFrame(false);
        box->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid palette(highlight); padding: 0 1px; }"));
        box->installEventFilter(this);
        connect(box, &QLineEdit::returnPressed, this, [this] { closeSaving(true); });
        if (previous)
            setTabOrder(previous, box);
        previous = box;
        txtEd.append(box);
        m_tags.append(column.index);
        left += column.width;
    }
    for (QToolButton *button : cmdJ) {
        button->setGeometry(left, 0, ButtonWidth, rowHeight);
        button->raise();
        if (previous)
            setTabOrder(previous, button);
        previous = button;
        left += ButtonWidth;
    }
    setFixedSize(left, rowHeight);
    int size = 0;
    for (int tag : m_tags)
        size = qMax(size, tag + 1);
    if (m_results.size() < size)
        setResultSize(size);
}

void frmTp_3D::setResultSize(int size)
{
    while (m_results.size() < size)
        m_results.append(QString());
}

void frmTp_3D::setHoverClose(bool on)
{
    if (on)
        tOutTimer.start();
    else
        tOutTimer.stop();
}

void frmTp_3D::tOutTimer_Timer()
{
    if (!frameGeometry().contains(QCursor::pos()))
        close();
}

void frmTp_3D::closeSaving(bool save)
{
    setAborted(!save);
    close();
}

bool frmTp_3D::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == cmdJ[2])
        return handleEvent(event);
    auto *box = qobject_cast<QLineEdit *>(watched);
    if (box && txtEd.contains(box)) {
        if (event->type() == QEvent::Enter) {
            box->setFocus(Qt::MouseFocusReason);
        } else if (event->type() == QEvent::FocusIn) {
            // After the click that gave the focus has placed the cursor.
            QTimer::singleShot(0, box, &QLineEdit::selectAll);
        }
    }
    return QDialog::eventFilter(watched, event);
}

// The handle: a left drag moves the window, a right press puts it back where
// it was before the first drag.
bool frmTp_3D::handleEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (!m_homeKnown) {
            m_home = pos();
            m_homeKnown = true;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            if (mouse->button() == Qt::LeftButton) {
                m_dragging = true;
                m_dragOffset = mouse->globalPosition().toPoint() - pos();
            } else if (mouse->button() == Qt::RightButton) {
                move(m_home);
            }
            return true;
        }
        if (m_dragging && (mouse->buttons() & Qt::LeftButton))
            move(mouse->globalPosition().toPoint() - m_dragOffset);
        return m_dragging;
    }
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        return true;
    default:
        return false;
    }
}

void frmTp_3D::mousePressEvent(QMouseEvent *event)
{
    // A click on the background between the boxes.
    event->accept();
    close();
}

void frmTp_3D::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        closeSaving(false);
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmTp_3D::collect()
{
    if (m_collected)
        return;
    m_collected = true;
    for (int i = 0; i < txtEd.size(); ++i)
        m_results[m_tags[i]] = txtEd[i]->text();
    tOutTimer.stop();
}

void frmTp_3D::closeEvent(QCloseEvent *event)
{
    collect();
    QDialog::closeEvent(event);
}

void frmTp_3D::done(int result)
{
    collect();
    QDialog::done(result);
}
