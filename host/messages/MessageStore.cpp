#include "host/messages/MessageStore.h"

#include <QFile>
#include <QSaveFile>
#include <QUrl>

namespace {

const QByteArray Header = "Kestrel messages 1";
constexpr int NumberRange = 36 * 36;

QByteArray field(const QString &text)
{
    // Tabs, line ends and "%" all become %XX; nothing else needs to.
    return QUrl::toPercentEncoding(text, " !\"#$&'()*+,-./:;<=>?@[\\]^_`{|}~");
}

QString unfield(const QByteArray &bytes)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(bytes));
}

QString base36(int value)
{
    static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    return QString(QChar(digits[(value / 36) % 36])) + QChar(digits[value % 36]);
}

} // namespace

QString messageStateText(StoredMessage::State state)
{
    switch (state) {
    case StoredMessage::State::Received:
        return QStringLiteral("received");
    case StoredMessage::State::Sending:
        return QStringLiteral("sending");
    case StoredMessage::State::Delivered:
        return QStringLiteral("delivered");
    case StoredMessage::State::Refused:
        return QStringLiteral("refused");
    case StoredMessage::State::NotAcknowledged:
        return QStringLiteral("not acknowledged");
    }
    return {};
}

MessageStore::MessageStore(const QString &path)
    : m_path(path)
{
}

bool MessageStore::load(QString *errorText)
{
    m_messages.clear();
    m_bulletins.clear();
    QFile file(m_path);
    if (m_path.isEmpty() || !file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (errorText)
            *errorText = file.errorString();
        return false;
    }
    if (file.readLine(256).trimmed() != Header) {
        if (errorText)
            *errorText = QStringLiteral("%1 is not a message file").arg(m_path);
        return false;
    }
    while (!file.atEnd()) {
        // Only the line end goes: an empty last field, or a text ending in
        // a blank, is part of the record.
        QByteArray line = file.readLine(64 * 1024);
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        const QList<QByteArray> f = line.split('\t');
        bool ok = true;
        if (f.size() == 11 && f[0] == "M") {
            StoredMessage m;
            m.id = f[1].toLongLong(&ok);
            const int state = f[3].toInt();
            m.outgoing = f[2] == "out";
            m.time = f[4].toLongLong();
            m.tries = f[5].toInt();
            m.unread = f[6] == "1";
            m.number = unfield(f[7]).left(5);
            m.correspondent = unfield(f[8]).left(9);
            m.ownCall = unfield(f[9]).left(9);
            m.text = unfield(f[10]).left(256);
            if (!ok || m.correspondent.isEmpty() || state < 0 || state > int(StoredMessage::State::NotAcknowledged))
                continue;
            m.state = StoredMessage::State(state);
            m_nextId = std::max(m_nextId, m.id + 1);
            m_messages.append(m);
        } else if (f.size() == 5 && f[0] == "B") {
            StoredBulletin b;
            b.time = f[1].toLongLong();
            b.source = unfield(f[2]).left(9);
            b.addressee = unfield(f[3]).left(9);
            b.text = unfield(f[4]).left(256);
            m_bulletins.append(b);
        } else if (f.size() == 2 && f[0] == "N") {
            const int n = f[1].toInt(&ok);
            if (ok)
                m_nextNumber = std::clamp(n, 0, NumberRange - 1);
        }
    }
    return true;
}

bool MessageStore::save(QString *errorText) const
{
    if (m_path.isEmpty())
        return true;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (errorText)
            *errorText = file.errorString();
        return false;
    }
    file.write(Header + '\n');
    file.write("N\t" + QByteArray::number(m_nextNumber) + '\n');
    for (const StoredMessage &m : m_messages)
        file.write("M\t" + QByteArray::number(m.id) + '\t' + (m.outgoing ? "out" : "in") + '\t'
                   + QByteArray::number(int(m.state)) + '\t' + QByteArray::number(m.time) + '\t'
                   + QByteArray::number(m.tries) + '\t' + (m.unread ? "1" : "0") + '\t' + field(m.number) + '\t'
                   + field(m.correspondent) + '\t' + field(m.ownCall) + '\t' + field(m.text) + '\n');
    for (const StoredBulletin &b : m_bulletins)
        file.write("B\t" + QByteArray::number(b.time) + '\t' + field(b.source) + '\t' + field(b.addressee) + '\t'
                   + field(b.text) + '\n');
    if (!file.commit()) {
        if (errorText)
            *errorText = file.errorString();
        return false;
    }
    return true;
}

StoredMessage *MessageStore::find(qint64 id)
{
    for (StoredMessage &m : m_messages)
        if (m.id == id)
            return &m;
    return nullptr;
}

StoredMessage *MessageStore::findNumbered(const QString &correspondent, const QString &number, bool outgoing)
{
    for (qsizetype i = m_messages.size() - 1; i >= 0; --i) {
        StoredMessage &m = m_messages[i];
        if (m.outgoing == outgoing && m.number == number
            && m.correspondent.compare(correspondent, Qt::CaseInsensitive) == 0)
            return &m;
    }
    return nullptr;
}

qint64 MessageStore::add(StoredMessage message)
{
    message.id = m_nextId++;
    m_messages.append(message);
    if (m_messages.size() > MaxMessages)
        m_messages.remove(0, m_messages.size() - MaxMessages);
    return message.id;
}

bool MessageStore::addBulletin(const StoredBulletin &bulletin)
{
    for (const StoredBulletin &b : m_bulletins)
        if (b.source == bulletin.source && b.addressee == bulletin.addressee && b.text == bulletin.text)
            return false;
    m_bulletins.append(bulletin);
    if (m_bulletins.size() > MaxBulletins)
        m_bulletins.remove(0, m_bulletins.size() - MaxBulletins);
    return true;
}

QStringList MessageStore::correspondents() const
{
    QStringList calls;
    for (qsizetype i = m_messages.size() - 1; i >= 0; --i)
        if (!calls.contains(m_messages[i].correspondent, Qt::CaseInsensitive))
            calls.append(m_messages[i].correspondent);
    return calls;
}

QList<StoredMessage> MessageStore::conversation(const QString &correspondent) const
{
    QList<StoredMessage> out;
    for (const StoredMessage &m : m_messages)
        if (m.correspondent.compare(correspondent, Qt::CaseInsensitive) == 0)
            out.append(m);
    return out;
}

int MessageStore::unread(const QString &correspondent) const
{
    int count = 0;
    for (const StoredMessage &m : m_messages)
        if (m.unread && (correspondent.isEmpty() || m.correspondent.compare(correspondent, Qt::CaseInsensitive) == 0))
            ++count;
    return count;
}

bool MessageStore::markRead(const QString &correspondent)
{
    bool changed = false;
    for (StoredMessage &m : m_messages)
        if (m.unread && m.correspondent.compare(correspondent, Qt::CaseInsensitive) == 0) {
            m.unread = false;
            changed = true;
        }
    return changed;
}

QString MessageStore::takeNumber()
{
    const QString number = base36(m_nextNumber);
    m_nextNumber = (m_nextNumber + 1) % NumberRange;
    return number;
}
