#include "host/messages/MessagesWindow.h"

#include "host/aprs/AprsMessage.h"
#include "host/messages/Messenger.h"

#include <QDateTime>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QString clock(qint64 seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

void setPlainText(QPlainTextEdit *edit, const QString &text)
{
    if (edit->toPlainText() == text)
        return;
    edit->setPlainText(text);
    edit->verticalScrollBar()->setValue(edit->verticalScrollBar()->maximum());
}

} // namespace

MessagesWindow::MessagesWindow(Messenger *messenger, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_messenger(messenger)
{
    setObjectName(QStringLiteral("frmMessages"));
    setWindowTitle(QStringLiteral("Messages"));
    m_tabs = new QTabWidget(this);

    auto *talk = new QWidget;
    m_correspondents = new QListWidget;
    m_correspondents->setObjectName(QStringLiteral("lstCorrespondents"));
    m_conversation = new QPlainTextEdit;
    m_conversation->setObjectName(QStringLiteral("txtConversation"));
    m_conversation->setReadOnly(true);
    auto *split = new QSplitter;
    split->addWidget(m_correspondents);
    split->addWidget(m_conversation);
    split->setStretchFactor(1, 3);
    split->setSizes({150, 450});

    m_to = new QLineEdit;
    m_to->setObjectName(QStringLiteral("txtTo"));
    m_to->setMaxLength(9);
    m_to->setPlaceholderText(QStringLiteral("Callsign"));
    m_text = new QLineEdit;
    m_text->setObjectName(QStringLiteral("txtMessage"));
    m_text->setMaxLength(aprsmsg::MaxText);
    m_text->setPlaceholderText(QStringLiteral("Message, at most %1 characters").arg(aprsmsg::MaxText));
    m_send = new QPushButton(QStringLiteral("&Send"));
    m_send->setObjectName(QStringLiteral("cmdSend"));
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setTextFormat(Qt::PlainText);

    auto *line = new QHBoxLayout;
    line->addWidget(new QLabel(QStringLiteral("To")));
    line->addWidget(m_to);
    line->addWidget(m_text, 1);
    line->addWidget(m_send);
    auto *talkLayout = new QVBoxLayout(talk);
    talkLayout->addWidget(split, 1);
    talkLayout->addLayout(line);
    talkLayout->addWidget(m_status);
    m_tabs->addTab(talk, QStringLiteral("Conversations"));

    m_bulletins = new QPlainTextEdit;
    m_bulletins->setObjectName(QStringLiteral("txtBulletins"));
    m_bulletins->setReadOnly(true);
    m_tabs->addTab(m_bulletins, QStringLiteral("Bulletins"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    resize(640, 420);

    connect(m_send, &QPushButton::clicked, this, &MessagesWindow::sendTyped);
    connect(m_text, &QLineEdit::returnPressed, this, &MessagesWindow::sendTyped);
    connect(m_correspondents, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        if (item)
            showConversation(item->data(Qt::UserRole).toString());
    });
    connect(m_messenger, &Messenger::changed, this, &MessagesWindow::refresh);
    refresh();
}

void MessagesWindow::showAndRaise()
{
    show();
    raise();
    activateWindow();
    if (!m_current.isEmpty())
        m_messenger->markRead(m_current);
}

void MessagesWindow::changeEvent(QEvent *event)
{
    // What is on the screen in front of the user counts as read.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_current.isEmpty())
        m_messenger->markRead(m_current);
    QWidget::changeEvent(event);
}

void MessagesWindow::showConversation(const QString &correspondent)
{
    if (m_current.compare(correspondent, Qt::CaseInsensitive) != 0) {
        m_current = correspondent;
        m_to->setText(correspondent);
    }
    if (isVisible())
        m_messenger->markRead(correspondent);
    refresh();
}

void MessagesWindow::refresh()
{
    const MessageStore &store = m_messenger->store();
    const QStringList calls = store.correspondents();
    if (m_current.isEmpty() && !calls.isEmpty())
        m_current = calls.first();

    const QSignalBlocker block(m_correspondents);
    m_correspondents->clear();
    for (const QString &call : calls) {
        const int unread = store.unread(call);
        auto *item = new QListWidgetItem(unread > 0 ? QStringLiteral("%1 (%2)").arg(call).arg(unread) : call);
        item->setData(Qt::UserRole, call);
        m_correspondents->addItem(item);
        if (call.compare(m_current, Qt::CaseInsensitive) == 0)
            m_correspondents->setCurrentItem(item);
    }

    QStringList lines;
    for (const StoredMessage &m : store.conversation(m_current)) {
        if (m.outgoing)
            lines.append(QStringLiteral("%1  %2 > %3: %4  [%5]")
                             .arg(clock(m.time), m.ownCall, m.correspondent, m.text, messageStateText(m.state)));
        else
            lines.append(QStringLiteral("%1  %2: %3").arg(clock(m.time), m.correspondent, m.text));
    }
    setPlainText(m_conversation, lines.join(u'\n'));

    QStringList bulletins;
    for (const StoredBulletin &b : store.bulletins())
        bulletins.append(QStringLiteral("%1  %2 %3: %4").arg(clock(b.time), b.source, b.addressee, b.text));
    setPlainText(m_bulletins, bulletins.join(u'\n'));
    m_tabs->setTabText(1, QStringLiteral("Bulletins (%1)").arg(store.bulletins().size()));
}

void MessagesWindow::sendTyped()
{
    QString error;
    const QString to = m_to->text().trimmed().toUpper();
    if (!m_messenger->send(to, m_text->text(), &error)) {
        m_status->setText(error);
        return;
    }
    m_status->setText(QStringLiteral("Sent to %1; waiting for the acknowledgement.").arg(to));
    m_text->clear();
    m_current = to;
    refresh();
}
