#pragma once

#include <QWidget>

class Messenger;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

// The home station's messages: one conversation per correspondent (newest
// at the bottom, unread counts in the list), a line to write to a "To"
// callsign, and the bulletins heard in a tab of their own. Everything from
// the air is shown as plain text.
class MessagesWindow : public QWidget
{
    Q_OBJECT
public:
    explicit MessagesWindow(Messenger *messenger, QWidget *parent = nullptr);

    void showAndRaise();
    // The correspondent whose conversation is shown.
    QString current() const { return m_current; }
    void showConversation(const QString &correspondent);

protected:
    void changeEvent(QEvent *event) override;

private:
    void refresh();
    void sendTyped();

    Messenger *m_messenger;
    QString m_current;
    QTabWidget *m_tabs;
    QListWidget *m_correspondents;
    QPlainTextEdit *m_conversation;
    QPlainTextEdit *m_bulletins;
    QLineEdit *m_to;
    QLineEdit *m_text;
    QPushButton *m_send;
    QLabel *m_status;
};
