#include "host/messages/Messenger.h"

#include "host/aprs/AprsMessage.h"
#include "host/aprs/Tnc2.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <limits>

namespace {

constexpr int SaveDelayMs = 2000;

QString baseCall(const QString &call)
{
    const qsizetype dash = call.indexOf(u'-');
    return dash >= 0 ? call.left(dash) : call;
}

} // namespace

Messenger::Messenger(const QString &storePath, QObject *parent)
    : QObject(parent)
    , m_store(storePath)
{
    if (!m_store.load(&m_loadError)) {
        // Kept aside for the user rather than overwritten by the next save.
        const QString aside = storePath + QStringLiteral(".unreadable");
        QFile::remove(aside);
        if (QFile::rename(storePath, aside)) {
            m_loadError.clear();
            m_store.load();
        }
        qWarning("Host: messages not read, kept as %s", qPrintable(aside));
    }
    m_retryTimer.setSingleShot(true);
    connect(&m_retryTimer, &QTimer::timeout, this, &Messenger::retryDue);
    m_saveTimer.setSingleShot(true);
    connect(&m_saveTimer, &QTimer::timeout, this, [this] {
        QString error;
        if (!m_store.save(&error))
            qWarning("Host: messages not saved: %s", qPrintable(error));
    });
    // Messages still being sent when the program ended go on where they were.
    for (const StoredMessage &m : m_store.messages())
        if (m.outgoing && m.state == StoredMessage::State::Sending)
            m_nextTryMs.insert(m.id, 0);
    if (!m_nextTryMs.isEmpty())
        m_retryTimer.start(SaveDelayMs);
}

Messenger::~Messenger()
{
    // A file that could not be read is left for the user, not replaced.
    if (m_loadError.isEmpty() && m_saveTimer.isActive())
        m_store.save();
}

qint64 Messenger::nowMs() const
{
    return m_nowMs ? m_nowMs() : QDateTime::currentMSecsSinceEpoch();
}

void Messenger::setOwnCalls(const QString &homeCall, const QStringList &answerFor)
{
    m_home = homeCall.trimmed().toUpper();
    m_answerFor.clear();
    for (const QString &call : answerFor)
        if (!call.trimmed().isEmpty())
            m_answerFor.append(call.trimmed().toUpper());
}

bool Messenger::answersFor(const QString &callsign) const
{
    const QString call = callsign.trimmed().toUpper();
    if (call.isEmpty())
        return false;
    if (call == m_home)
        return true;
    for (const QString &pattern : m_answerFor) {
        if (pattern.endsWith(QLatin1String("-*")) ? baseCall(call) == pattern.chopped(2) : call == pattern)
            return true;
    }
    return false;
}

bool Messenger::hear(const Tnc2Frame &frame, QObject *via)
{
    AprsMessage message;
    if (m_home.isEmpty() || !aprsmsg::parse(frame.payload, &message))
        return false;
    const QString from = frame.source.toUpper();
    // Our own frames heard back (a digipeater, an echo) are not news.
    if (answersFor(from))
        return false;
    if (message.kind == AprsMessage::Kind::Bulletin) {
        StoredBulletin bulletin;
        bulletin.source = from;
        bulletin.addressee = message.addressee.toUpper();
        bulletin.text = message.text;
        bulletin.time = nowMs() / 1000;
        if (m_store.addBulletin(bulletin))
            commit(false);
        return true;
    }
    if (!answersFor(message.addressee))
        return false;
    switch (message.kind) {
    case AprsMessage::Kind::Ack:
        answered(from, message.number, StoredMessage::State::Delivered);
        break;
    case AprsMessage::Kind::Reject:
        answered(from, message.number, StoredMessage::State::Refused);
        break;
    default:
        if (!message.replyAck.isEmpty())
            answered(from, message.replyAck, StoredMessage::State::Delivered);
        received(from, message.addressee.toUpper(), message.text, message.number, message.replyAckForm, via);
        break;
    }
    return true;
}

void Messenger::received(const QString &from, const QString &to, const QString &text, const QString &number,
                         bool replyAckForm, QObject *via)
{
    if (!number.isEmpty()) {
        // Acknowledged every time: the sender retries because it missed our ack.
        if (m_sender)
            m_sender(aprsmsg::ackPayload(from, number), via);
        if (replyAckForm)
            m_replyAck.insert(from, number);
    }
    const qint64 now = nowMs() / 1000;
    if (!number.isEmpty()) {
        const StoredMessage *earlier = m_store.findNumbered(from, number, false);
        if (earlier && now - earlier->time < RepeatWindowSeconds)
            return;
    } else if (text.isEmpty()) {
        return;
    }
    StoredMessage m;
    m.correspondent = from;
    m.ownCall = to;
    m.text = text;
    m.number = number;
    m.time = now;
    m.state = StoredMessage::State::Received;
    m.unread = true;
    m_store.add(m);
    commit(true);
    emit messageArrived(from, text);
}

void Messenger::answered(const QString &from, const QString &number, StoredMessage::State state)
{
    StoredMessage *m = m_store.findNumbered(from, number, true);
    // A late ack still means it arrived; a refused or delivered one stays so.
    if (!m || (m->state != StoredMessage::State::Sending && m->state != StoredMessage::State::NotAcknowledged))
        return;
    m->state = state;
    m_nextTryMs.remove(m->id);
    commit(false);
    scheduleRetry();
}

bool Messenger::send(const QString &to, const QString &text, QString *errorText)
{
    auto fail = [&](const QString &reason) {
        if (errorText)
            *errorText = reason;
        return false;
    };
    const QString call = to.trimmed().toUpper();
    if (m_home.isEmpty())
        return fail(QStringLiteral("No home callsign is set."));
    static const QRegularExpression callPattern(QStringLiteral("^[A-Z0-9]{1,6}(-[A-Z0-9]{1,2})?$"));
    if (!callPattern.match(call).hasMatch())
        return fail(QStringLiteral("\"%1\" is not a callsign.").arg(to.trimmed()));
    const QString clean = aprsmsg::cleanText(text);
    if (clean.isEmpty())
        return fail(QStringLiteral("The message is empty."));
    StoredMessage m;
    m.outgoing = true;
    m.correspondent = call;
    m.ownCall = m_home;
    m.text = clean;
    m.number = m_store.takeNumber();
    m.time = nowMs() / 1000;
    m.state = StoredMessage::State::Sending;
    const qint64 id = m_store.add(m);
    transmitMessage(*m_store.find(id));
    commit(false);
    scheduleRetry();
    return true;
}

void Messenger::transmitMessage(StoredMessage &m)
{
    ++m.tries;
    const QString payload =
        aprsmsg::messagePayload(m.correspondent, m.text, m.number, m_replyAck.contains(m.correspondent),
                                m_replyAck.value(m.correspondent));
    if (m_sender)
        m_sender(payload, nullptr);
    // 30 s after the first try, 60 s after the second ... and as long again
    // after the last before it counts as not acknowledged.
    m_nextTryMs.insert(m.id, nowMs() + (m_firstRetryMs << std::min(m.tries - 1, 10)));
}

void Messenger::retryDue()
{
    const qint64 now = nowMs();
    bool changed = false;
    const QList<qint64> ids = m_nextTryMs.keys();
    for (qint64 id : ids) {
        if (m_nextTryMs.value(id) > now)
            continue;
        StoredMessage *m = m_store.find(id);
        if (!m || m->state != StoredMessage::State::Sending) {
            m_nextTryMs.remove(id);
            continue;
        }
        if (m->tries >= Tries) {
            m->state = StoredMessage::State::NotAcknowledged;
            m_nextTryMs.remove(id);
        } else {
            transmitMessage(*m);
        }
        changed = true;
    }
    if (changed)
        commit(false);
    scheduleRetry();
}

void Messenger::scheduleRetry()
{
    if (m_nextTryMs.isEmpty()) {
        m_retryTimer.stop();
        return;
    }
    qint64 next = std::numeric_limits<qint64>::max();
    for (qint64 due : m_nextTryMs)
        next = std::min(next, due);
    m_retryTimer.start(int(std::clamp<qint64>(next - nowMs(), 0, 24 * 3600 * 1000LL)));
}

void Messenger::markRead(const QString &correspondent)
{
    if (m_store.markRead(correspondent))
        commit(true);
}

void Messenger::commit(bool unreadMayChange)
{
    if (m_loadError.isEmpty() && !m_saveTimer.isActive())
        m_saveTimer.start(SaveDelayMs);
    emit changed();
    if (unreadMayChange)
        emit unreadChanged(m_store.unread());
}
