#pragma once

#include "host/messages/MessageStore.h"

#include <QHash>
#include <QObject>
#include <QTimer>
#include <functional>

struct Tnc2Frame;

// Two-way messaging for the home station: hears messages addressed to the
// calls the user answers for, acknowledges them at once, keeps
// conversations and bulletins, and sends messages with retries (30 s,
// doubling, five tries) until they are acknowledged or refused.
class Messenger : public QObject
{
    Q_OBJECT
public:
    static constexpr int Tries = 5;
    static constexpr qint64 FirstRetryMs = 30000;
    // A repeat of a numbered message within this time is the same message.
    static constexpr qint64 RepeatWindowSeconds = 2 * 3600;

    // Sends one information field from the home station, on the feed a
    // message came by (an opaque pointer the caller gave hear()) or on
    // every transmitting feed when via is null; false when nothing took it.
    using Sender = std::function<bool(const QString &payload, QObject *via)>;

    explicit Messenger(const QString &storePath, QObject *parent = nullptr);
    ~Messenger() override;

    // The home callsign and the others answered for ("CALL", or "CALL-*"
    // for every SSID of a call).
    void setOwnCalls(const QString &homeCall, const QStringList &answerFor = {});
    bool answersFor(const QString &callsign) const;
    QString homeCall() const { return m_home; }
    void setSender(Sender sender) { m_sender = std::move(sender); }
    // Tests shorten the retries and set the time.
    void setFirstRetryMs(qint64 ms) { m_firstRetryMs = ms; }
    void setClock(std::function<qint64()> nowMs) { m_nowMs = std::move(nowMs); }

    // One frame heard; true when it was a message, ack or bulletin taken here.
    bool hear(const Tnc2Frame &frame, QObject *via);
    // Sends a new message; false with the reason when it cannot be sent.
    bool send(const QString &to, const QString &text, QString *errorText = nullptr);

    const MessageStore &store() const { return m_store; }
    int unread() const { return m_store.unread(); }
    void markRead(const QString &correspondent);
    QString loadError() const { return m_loadError; }
    // Runs the retries that are due now (the timer does it by itself).
    void retryDue();
    // The host is closing: nothing more is tried.
    void stopRetries() { m_retryTimer.stop(); }

signals:
    void changed();
    void unreadChanged(int count);
    // A new message to the home station (not a repeat).
    void messageArrived(const QString &from, const QString &text);

private:
    qint64 nowMs() const;
    void received(const QString &from, const QString &to, const QString &text, const QString &number,
                  bool replyAckForm, QObject *via);
    void answered(const QString &from, const QString &number, StoredMessage::State state);
    void transmitMessage(StoredMessage &message);
    void scheduleRetry();
    void commit(bool unreadMayChange);

    MessageStore m_store;
    QString m_loadError;
    QString m_home;
    QStringList m_answerFor;
    Sender m_sender;
    std::function<qint64()> m_nowMs;
    qint64 m_firstRetryMs = FirstRetryMs;
    QHash<qint64, qint64> m_nextTryMs;   // message id -> when it is tried again (or given up)
    QHash<QString, QString> m_replyAck;  // correspondent -> last number heard, for those using reply-acks
    QTimer m_retryTimer;
    QTimer m_saveTimer;
};
