#include "core/WallClock.h"

QDateTime wallClock(const QDate &date, const QTime &time)
{
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, Qt::UTC);
}

QDateTime readWallClock(QStringView text, const QString &form)
{
    qsizetype split = -1;
    for (qsizetype i = 0; i < form.size() && split < 0; ++i)
        if (form[i] == u' ' || form[i] == u'T')
            split = i;
    if (split < 0)
        return wallClock(QDate::fromString(text.toString(), form), QTime(0, 0));
    const qsizetype at = text.indexOf(form[split]);
    if (at < 0)
        return {};
    return wallClock(QDate::fromString(text.first(at).toString(), form.first(split)),
                     QTime::fromString(text.sliced(at + 1).toString(), form.sliced(split + 1)));
}
