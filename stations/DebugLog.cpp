#include "stations/DebugLog.h"

#include <QFile>

#include "core/LineText.h"
#include "core/Utilities.h"

void appendDebugLog(const QString &text)
{
    QFile file(GetDataFolder() + QLatin1Char('/') + DebugLogName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    file.write(encodeLine(text));
    file.write("\r\n", 2);
}
