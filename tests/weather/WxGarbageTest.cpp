#include <gtest/gtest.h>

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cmath>

#include "weather/WxDataFile.h"
#include "weather/WxDay.h"
#include "weather/WxDecoder.h"

namespace {

QByteArray randomBytes(QRandomGenerator &random, int maxLength, const QByteArray &alphabet = {})
{
    QByteArray bytes(int(random.bounded(maxLength + 1)), '\0');
    for (char &b : bytes)
        b = alphabet.isEmpty() ? char(random.bounded(256)) : alphabet.at(int(random.bounded(int(alphabet.size()))));
    return bytes;
}

bool readingOk(float value) { return value == kWxAbsent || std::isfinite(value); }

} // namespace

// Whatever a report holds, every reading is a number or absent.
TEST(WxGarbage, AnyReportDecodesToFiniteOrAbsentReadings)
{
    QRandomGenerator random(20261208);
    const QByteArray weathery = QByteArrayLiteral("_/cstTgPprhHbB0123456789 .+-eEdPHG");
    for (int i = 0; i < 30000; ++i) {
        const QString report = QString::fromLatin1(
            i % 2 ? randomBytes(random, 120, weathery) : randomBytes(random, 200));
        const WxReadings r = decodeWxReport(report);
        for (float value : {r.direction, r.speed, r.gust, r.temperature, r.humidity, r.rain, r.pressure,
                            r.dewPointC, r.dewPointF, r.windChillC, r.windChillF})
            ASSERT_TRUE(readingOk(value)) << report.toStdString();
    }
}

// A file of any bytes is read without harm, and a report stored into it can
// always be read back from its day.
TEST(WxGarbage, AnyFileIsReadAndTakesANewReport)
{
    QRandomGenerator random(7122026);
    QTemporaryDir dir;
    const QByteArray profiley = QByteArrayLiteral("[]=;\r\n\0 Vvalue0123\"\xFD_t/");
    const QDateTime when(QDate(2026, 12, 7), QTime(10, 0));
    const QString day = WxData::dayText(when.date());
    for (int i = 0; i < 1500; ++i) {
        const QString path = dir.filePath(QStringLiteral("f%1.kew").arg(i));
        QByteArray bytes = i % 2 ? randomBytes(random, 400, profiley) : randomBytes(random, 400);
        if (i % 3 == 0)
            bytes.insert(int(random.bounded(int(bytes.size()) + 1)), "\r\n[07/12/2026]\r\n");
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        WxDataFile file(path);
        for (const QString &each : file.days())
            buildWxDay(file.dayValues(each), true);
        ASSERT_TRUE(file.append(when, QStringLiteral("_t0%1").arg(i)));
        const QStringList values = file.dayValues(day);
        ASSERT_FALSE(values.isEmpty()) << bytes.toHex().toStdString();
        EXPECT_TRUE(values.last().endsWith(QStringLiteral("_t0%1").arg(i))) << bytes.toHex().toStdString();
        EXPECT_TRUE(file.days().contains(day, Qt::CaseInsensitive));
    }
}
