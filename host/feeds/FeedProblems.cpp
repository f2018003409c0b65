#include "host/feeds/FeedProblems.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

QString explainSocketError(QAbstractSocket::SocketError error, const FeedSettings &feed, const QString &systemText)
{
    const QString where = feed.host + u':' + QString::number(feed.port);
    QString hint;
    switch (feed.type) {
    case FeedSettings::Type::Kiss: hint = QStringLiteral("is the TNC running?"); break;
    case FeedSettings::Type::AprsIs: hint = QStringLiteral("are the server and port right?"); break;
    case FeedSettings::Type::DxCluster: hint = QStringLiteral("are the cluster and port right?"); break;
    case FeedSettings::Type::Gpsd: hint = QStringLiteral("is gpsd running?"); break;
    default: break;
    }
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return QStringLiteral("connection refused by %1 \u2014 %2").arg(where, hint);
    case QAbstractSocket::HostNotFoundError:
        return QStringLiteral("no computer called %1 was found \u2014 is the name right, and the network up?")
            .arg(feed.host);
    case QAbstractSocket::SocketTimeoutError:
        return QStringLiteral("%1 did not answer \u2014 %2").arg(where, hint);
    case QAbstractSocket::NetworkError:
        return QStringLiteral("the network to %1 is down \u2014 is this computer online?").arg(where);
    case QAbstractSocket::SocketAccessError:
        return QStringLiteral("this computer does not allow the connection to %1").arg(where);
    default:
        return QStringLiteral("%1: %2").arg(where, systemText);
    }
}

namespace {

bool number(const QString &text, double low, double high)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value) && value >= low && value <= high;
}

// One part, without its leading "-"; empty when good.
QString checkPart(const QString &part)
{
    const QStringList f = part.split(u'/');
    const QString kind = f[0].toLower();
    const qsizetype args = f.size() - 1;
    auto need = [&](const char *form) { return QStringLiteral("\"%1\" should read %2").arg(part, QLatin1String(form)); };
    auto allNonEmpty = [&] {
        for (qsizetype i = 1; i < f.size(); ++i)
            if (f[i].isEmpty())
                return false;
        return args > 0;
    };
    if (kind == QLatin1String("r")) {
        if (args != 3 || !number(f[1], -90, 90) || !number(f[2], -180, 180) || !number(f[3], 0.001, 20000))
            return need("r/lat/lon/km, as r/51.75/-1.25/100");
        return {};
    }
    if (kind == QLatin1String("m")) {
        if (args != 1 || !number(f[1], 0.001, 20000))
            return need("m/km, as m/50");
        return {};
    }
    if (kind == QLatin1String("f")) {
        if (args != 2 || f[1].isEmpty() || !number(f[2], 0.001, 20000))
            return need("f/CALL/km, as f/G4KDA/50");
        return {};
    }
    if (kind == QLatin1String("a")) {
        if (args != 4 || !number(f[1], -90, 90) || !number(f[2], -180, 180) || !number(f[3], -90, 90)
            || !number(f[4], -180, 180))
            return need("a/north/west/south/east, as a/52/-2/51/0");
        return {};
    }
    if (kind == QLatin1String("t")) {
        static const QString types = QStringLiteral("poimqstunw");
        if (args < 1 || args == 2 || args > 3 || f[1].isEmpty()
            || !std::all_of(f[1].begin(), f[1].end(), [](QChar c) { return types.contains(c.toLower()); }))
            return need("t/ and letters of poimqstunw, as t/pw");
        if (args == 3 && (f[2].isEmpty() || !number(f[3], 0.001, 20000)))
            return need("t/letters/CALL/km, as t/w/G4KDA/50");
        return {};
    }
    static const QStringList lists = {QStringLiteral("b"), QStringLiteral("p"), QStringLiteral("o"),
                                      QStringLiteral("os"), QStringLiteral("d"), QStringLiteral("e"),
                                      QStringLiteral("g"), QStringLiteral("u"), QStringLiteral("q"),
                                      QStringLiteral("s")};
    if (lists.contains(kind)) {
        const bool bad = kind == QLatin1String("s") ? args < 1 || (f[1].isEmpty() && (args < 2 || f[2].isEmpty()))
                                                    : !allNonEmpty();
        if (bad)
            return need(kind == QLatin1String("b") ? "b/CALL*/CALL2, as b/G4KDA*" : "a letter, / and at least one entry");
        return {};
    }
    return QStringLiteral("\"%1\" is not a filter the servers know (common ones: r/lat/lon/km, m/km, b/CALL*, "
                          "t/poimqstunw)")
        .arg(part);
}

} // namespace

QString checkAprsIsFilter(const QString &filter)
{
    const QStringList parts = filter.simplified().split(u' ', Qt::SkipEmptyParts);
    for (QString part : parts) {
        if (part.startsWith(u'-'))
            part.remove(0, 1);
        if (part.isEmpty() || !part.contains(u'/'))
            return QStringLiteral("\"%1\" is not a filter: a letter, /, then its values (common ones: "
                                  "r/lat/lon/km, m/km, b/CALL*, t/poimqstunw)")
                .arg(part.isEmpty() ? QStringLiteral("-") : part);
        const QString problem = checkPart(part);
        if (!problem.isEmpty())
            return problem;
    }
    return {};
}
