// The station's messages as the main window shows them: the unread count in
// the status bar and a notice when one arrives.
#include "app/frmMain.h"

#include "app/AppIcon.h"

#include <QLabel>
#include <QStatusBar>
#include <QSystemTrayIcon>

namespace {
constexpr int NoticeMs = 10000;

// Some desktops read a notice's body as markup: text from the air loses the
// characters that would make it so.
QString noticeText(QString text)
{
    text.removeIf([](QChar c) { return c == u'<' || c == u'>' || c == u'&' || c.unicode() < 0x20; });
    return text;
}
} // namespace

void frmMain::showUnreadMessages(int count)
{
    m_messagesPanel->setVisible(count > 0);
    m_messagesPanel->setText(count == 1 ? QStringLiteral("1 unread message")
                                        : QStringLiteral("%1 unread messages").arg(count));
}

void frmMain::notifyMessage(const QString &from, const QString &text)
{
    const QString title = QStringLiteral("Message from %1").arg(from);
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        if (!m_tray) {
            m_tray = new QSystemTrayIcon(AppIcon::icon(), this);
            connect(m_tray, &QSystemTrayIcon::messageClicked, this, [this] {
                if (m_host)
                    m_host->showMessagesWindow();
            });
            m_tray->show();
        }
        m_tray->showMessage(title, noticeText(text), QSystemTrayIcon::Information, NoticeMs);
        return;
    }
    statusBar()->showMessage(title + QStringLiteral(": ") + text, NoticeMs);
}
