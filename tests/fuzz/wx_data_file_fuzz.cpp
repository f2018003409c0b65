// Weather data files: any bytes are read, and a report stored into them is
// read back from its day.
#include "FuzzSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include "weather/WxDataFile.h"
#include "weather/WxDay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fuzz.kew"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    // Each input is a file the program meets for the first time.
    WxDataFile::forgetTails();
    WxDataFile file(path);
    for (const QString &day : file.days())
        buildWxDay(file.dayValues(day), true);
    const QDateTime when(QDate(2026, 12, 7), QTime(10, 0));
    const QString day = WxData::dayText(when.date());
    const QString report = WxData::timeText(when) + QChar(WxData::Separator) + QStringLiteral("_t050");
    const qsizetype before = file.dayValues(day).count(report);
    if (!file.append(when, QStringLiteral("_t050")))
        return 0;
    // Among the day's reports: a file with a gap in its keys gets the new
    // report in the gap, read in key order.
    const QStringList values = file.dayValues(day);
    fuzz::require(values.count(report) == before + 1, "a report stored is read back from its day",
                  values.join(u'\n'));
    return 0;
}
