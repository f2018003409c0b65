#include "stations/AutoLog.h"

#include "core/HostStationRecord.h"
#include "core/LineText.h"
#include "core/Utilities.h"
#include "stations/FrameDecoder.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace AutoLog {

namespace {
const QString kStartMark = QStringLiteral(" START LOCAL TIME");
const QString kCrLf = QStringLiteral("\r\n");

// The logs this program started: a path that reached a row any other way is
// never written to.
QSet<QString> &startedLogs()
{
    static QSet<QString> paths;
    return paths;
}

QString key(const QString &path) { return QFileInfo(path).absoluteFilePath(); }
} // namespace

QString folder() { return GetDataFolder() + QStringLiteral("/LogFiles"); }

QString defaultName(const QDate &date, const QString &callsign)
{
    // The callsign came over the air: only letters, digits and "-" reach the name.
    QString safe = callsign;
    for (QChar &c : safe)
        if (!((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'-'))
            c = u'_';
    return date.toString(QStringLiteral("yyyyMMdd")) + safe + QStringLiteral(".txt");
}

bool start(const QString &path, const QDateTime &now)
{
    if (!QFile::exists(path)) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
            return false;
        file.write(encodeLine(now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + kStartMark + kCrLf));
    }
    startedLogs().insert(key(path));
    return true;
}

bool UpdateLogFile(const HostStationRecord &station, const QString &path)
{
    if (!startedLogs().contains(key(path)))
        return false;
    if (station.timeHeard.isEmpty())
        return true;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QDateTime heard = FrameText::hostTimeValue(station.timeHeard, QDate::currentDate());
    const QString when = heard.isValid() ? heard.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                         : station.timeHeard;
    const QByteArray entry = encodeLine(when + QLatin1Char(' ') + station.header) + "\r\n"
                             + encodeLine(station.information) + "\r\n";
    return file.write(entry) >= 0;
}

} // namespace AutoLog
