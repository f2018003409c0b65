#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One message to or from the home station.
struct StoredMessage
{
    enum class State { Received, Sending, Delivered, Refused, NotAcknowledged };
    qint64 id = 0;            // local, increasing
    bool outgoing = false;
    QString correspondent;    // the other station
    QString ownCall;          // the call of ours it was addressed to or sent as
    QString text;
    QString number;           // empty for a message sent without one
    qint64 time = 0;          // seconds since the epoch
    State state = State::Received;
    int tries = 0;
    bool unread = false;
};

// A bulletin or announcement heard (addressed "BLN...").
struct StoredBulletin
{
    QString source;
    QString addressee;
    QString text;
    qint64 time = 0;
};

// The messages and bulletins, kept in one UTF-8 text file written whole
// (through a temporary file) by its only writer. Text from the air is stored
// percent-encoded, so no character of it can break a line or a field.
class MessageStore
{
public:
    static inline const QString FileName = QStringLiteral("Messages.txt");
    static constexpr int MaxMessages = 5000;
    static constexpr int MaxBulletins = 1000;

    explicit MessageStore(const QString &path = QString());

    // Missing is no error (nothing kept yet); unreadable lines are skipped.
    bool load(QString *errorText = nullptr);
    bool save(QString *errorText = nullptr) const;
    QString path() const { return m_path; }

    const QList<StoredMessage> &messages() const { return m_messages; }
    const QList<StoredBulletin> &bulletins() const { return m_bulletins; }
    StoredMessage *find(qint64 id);
    // The latest message of this direction with this correspondent and number.
    StoredMessage *findNumbered(const QString &correspondent, const QString &number, bool outgoing);
    qint64 add(StoredMessage message);
    // False when the same bulletin is already kept.
    bool addBulletin(const StoredBulletin &bulletin);

    // Correspondents, the one with the latest message first.
    QStringList correspondents() const;
    QList<StoredMessage> conversation(const QString &correspondent) const;
    int unread(const QString &correspondent = QString()) const;
    // True when something changed.
    bool markRead(const QString &correspondent);

    // The next number for a message to send, 2 characters (what reply-acks
    // carry), counted on across restarts.
    QString takeNumber();

private:
    QString m_path;
    QList<StoredMessage> m_messages;
    QList<StoredBulletin> m_bulletins;
    qint64 m_nextId = 1;
    int m_nextNumber = 1;
};

QString messageStateText(StoredMessage::State state);
