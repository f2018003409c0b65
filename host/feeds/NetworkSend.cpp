// The sending side of the network feeds: the APRS-IS login's answer and the
// frames both kinds of feed put on the wire.
#include "host/feeds/NetworkFeeds.h"

#include <QStringList>

bool KissFeed::writeFrame(const QString &line)
{
    QByteArray ax25;
    if (!isConnected() || !tnc2ToAx25(line, &ax25))
        return false;
    send(kissEncode(ax25));
    return true;
}

QString AprsIsFeed::addressOf(const QString &source, const QString &destination) const
{
    // A frame that starts on the internet says so; servers add their q-construct.
    return source + u'>' + destination + QStringLiteral(",TCPIP*");
}

bool AprsIsFeed::writeFrame(const QString &line)
{
    if (!canSendNow())
        return false;
    send(line.toUtf8() + "\r\n");
    return true;
}

void AprsIsFeed::readServerLine(const QString &line)
{
    // "# logresp CALL verified, server T2TEST" or "... unverified, ...".
    const QStringList words = line.mid(1).split(u' ', Qt::SkipEmptyParts);
    if (words.size() < 3 || words[0] != QLatin1String("logresp"))
        return;
    if (words[1].compare(m_settings.callsign.trimmed(), Qt::CaseInsensitive) != 0)
        return;
    QString answer = words[2];
    if (answer.endsWith(u','))
        answer.chop(1);
    if (answer != QLatin1String("verified") && answer != QLatin1String("unverified"))
        return;
    m_loginAnswer = answer;
    const bool wasVerified = m_verified;
    m_verified = answer == QLatin1String("verified");
    if (transmits())
        setState(QStringLiteral("Connected, ") + answer);
    if (m_verified && !wasVerified)
        becameReady();
}
