#include "host/MonitorLog.h"

#include "core/LineText.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

MonitorLog::MonitorLog(QString folder)
    : m_folder(std::move(folder))
{
}

QString MonitorLog::fileNameFor(const QDate &date)
{
    return date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".log");
}

int MonitorLog::prune(const QDate &today)
{
    m_prunedOn = today;
    if (m_keepDays <= 0)
        return 0;
    const QDate oldestKept = today.addDays(1 - m_keepDays);
    QDir dir(m_folder);
    int removed = 0;
    static const QRegularExpression dayLog(QStringLiteral("^(\\d{8})\\.log$"));
    for (const QString &name : dir.entryList({QStringLiteral("*.log")}, QDir::Files)) {
        const QRegularExpressionMatch match = dayLog.match(name);
        if (!match.hasMatch())
            continue;
        const QDate date = QDate::fromString(match.captured(1), QStringLiteral("yyyyMMdd"));
        if (date.isValid() && date < oldestKept && dir.remove(name))
            ++removed;
    }
    return removed;
}

bool MonitorLog::append(const QDateTime &when, const QString &tnc2Line)
{
    if (m_prunedOn != when.date())
        prune(when.date());
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
    return file.write(encodeLine(text)) >= 0;
}
