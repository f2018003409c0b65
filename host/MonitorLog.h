#pragma once

#include <QDateTime>
#include <QString>

// Writes what the host hears to one log file per day in the host folder's
// "Logs" folder: a first line "yyyy-MM-dd hh:mm:ss START LOCAL TIME" when the
// file is new, then one line per frame, "yyyy-MM-dd hh:mm:ss SRC>DST,PATH:payload".
// A full feed writes gigabytes a day, so only the last keepDays days stay.
class MonitorLog
{
public:
    explicit MonitorLog(QString folder);

    // 0 keeps every log.
    void setKeepDays(int days) { m_keepDays = days; }
    // Deletes the day logs older than the kept days counted back from today
    // (today is one of them); returns how many went. Only files named as
    // this log names them are touched.
    int prune(const QDate &today);

    static QString fileNameFor(const QDate &date);
    QString folder() const { return m_folder; }

    // Appends one entry; false when the file cannot be written (the frame's
    // other work goes on regardless).
    bool append(const QDateTime &when, const QString &tnc2Line);

private:
    QString m_folder;
    int m_keepDays = 0;
    QDate m_prunedOn;
};
