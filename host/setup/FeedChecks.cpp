#include "host/setup/FeedChecks.h"

#include "options/Callsign.h"

#include <QRegularExpression>
#include <QStringList>

namespace FeedChecks {

QString port(const QString &text, quint16 *value)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < 1 || n > 65535)
        return QStringLiteral("\"%1\" is not a port: a whole number from 1 to 65535 (14580 for APRS-IS, 8001 for "
                              "direwolf's KISS).")
            .arg(text.trimmed());
    *value = quint16(n);
    return {};
}

QString hostName(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9.-]*[A-Za-z0-9])?$|^[0-9a-fA-F:]+$"));
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QStringLiteral("Type the server's name or address, as rotate.aprs2.net or 127.0.0.1.");
    if (!form.match(t).hasMatch())
        return QStringLiteral("\"%1\" is not a computer's name or address.").arg(t);
    return {};
}

QString callsign(const QString &text, bool emptyAllowed)
{
    const QString t = text.trimmed().toUpper();
    if (t.isEmpty())
        return emptyAllowed ? QString() : QStringLiteral("Type the callsign, as G4KDA or G4KDA-9.");
    static const QRegularExpression shape(QStringLiteral("^[A-Z0-9]+(-[0-9]{1,2})?$"));
    if (!shape.match(t).hasMatch() || !ValidateCallsign(t))
        return QStringLiteral("\"%1\" is not a callsign: letters and a digit such as G4KDA, then -1 to -15 if you "
                              "use an SSID.")
            .arg(t);
    return {};
}

QString whole(const QString &text, int low, int high, const QString &what, int *value)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < low || n > high)
        return QStringLiteral("\"%1\" is not a %2: a whole number from %3 to %4.")
            .arg(text.trimmed(), what)
            .arg(low)
            .arg(high);
    *value = n;
    return {};
}

QString path(const QString &text)
{
    static const QRegularExpression hop(QStringLiteral("^[A-Z0-9]{1,6}(-([0-9]|1[0-5]))?$"));
    const QString t = text.trimmed().toUpper();
    if (t.isEmpty())
        return {};
    const QStringList hops = t.split(u',');
    if (hops.size() > 8)
        return QStringLiteral("A path holds at most eight digipeaters.");
    for (const QString &h : hops)
        if (!hop.match(h.trimmed()).hasMatch())
            return QStringLiteral("\"%1\" is not a digipeater: as WIDE1-1 or WIDE2-1, commas between.").arg(h);
    return {};
}

} // namespace FeedChecks
