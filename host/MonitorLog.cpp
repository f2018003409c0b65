#include "host/MonitorLog.h"

#include <QDir>
#include <QFile>

MonitorLog::MonitorLog(QString folder)
    : m_folder(std::move(folder))
{
}

QString MonitorLog::fileNameFor(const QDate &date)
{
    return date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".log");
}

bool MonitorLog::append(const QDateTime &when, const QString &tnc2Line)
{
    if (!QDir().mkpath(m_folder))
        return false;
    QFile file(m_folder + u'/' + fileNameFor(when.date()));
    const bool isNew = !file.exists() || file.size() == 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QString stamp = when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QString text;
    if (isNew)
        text += stamp + QStringLiteral(" START LOCAL TIME\r\n");
    QString line = tnc2Line;
    line.replace(u'\r', u' ').replace(u'\n', u' ');
    text += stamp + u' ' + line + QStringLiteral("\r\n");
    return file.write(text.toLatin1()) >= 0;
}
