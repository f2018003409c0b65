#include "stations/AutoLog.h"

#include "core/HostStationRecord.h"
#include "core/Utilities.h"
#include "stations/FrameDecoder.h"

#include <QFile>

namespace AutoLog {

namespace {
const QString kStartMark = QStringLiteral(" START LOCAL TIME");
const QString kCrLf = QStringLiteral("\r\n");
} // namespace

QString folder() { return GetDataFolder() + QStringLiteral("/LogFiles"); }

QString defaultName(const QDate &date, const QString &callsign)
{
    return date.toString(QStringLiteral("yyyyMMdd")) + callsign + QStringLiteral(".txt");
}

bool start(const QString &path, const QDateTime &now)
{
    if (QFile::exists(path))
        return true;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    file.write((now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + kStartMark + kCrLf).toLatin1());
    return true;
}

bool UpdateLogFile(const HostStationRecord &station, const QString &path)
{
    if (station.timeHeard.isEmpty())
        return true;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QDateTime heard = FrameText::hostTimeValue(station.timeHeard, QDate::currentDate());
    const QString when = heard.isValid() ? heard.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                         : station.timeHeard;
    const QString entry = when + QLatin1Char(' ') + station.header + kCrLf + station.information + kCrLf;
    return file.write(entry.toLatin1()) >= 0;
}

} // namespace AutoLog
