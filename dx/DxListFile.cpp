#include "dx/DxListFile.h"

#include "core/LineText.h"
#include "core/WholeFileWriter.h"
#include "dx/DxStations.h"

#include <QFile>

namespace DxListFile {

namespace {

QString fieldText(QString text)
{
    text.replace(u'|', QChar(0x00A6)).replace(QChar(13), u' ').replace(QChar(10), u' ');
    return text;
}

} // namespace

QStringList fields(const DxStations &spot)
{
    return {fieldText(spot.Callsign),
            QString::number(spot.Distance),
            fieldText(spot.DxSpot),
            fieldText(spot.Frequency),
            QString::number(spot.Latitude),
            QString::number(spot.Longitude),
            QString::number(spot.Bearing),
            fieldText(spot.Band),
            fieldText(spot.DxFrom),
            fieldText(spot.dxTime),
            fieldText(spot.dxText),
            spot.TimeHeard.toString(TimeForm)};
}

QByteArray format(const QList<DxStations> &spots)
{
    QByteArray out;
    for (const DxStations &spot : spots)
        out += encodeLine(fields(spot).join(u'|')) + "\r\n";
    return out;
}

bool write(const QString &path, const QList<DxStations> &spots, QString *errorText)
{
    return WholeFileWriter::save(path, format(spots), errorText);
}

QList<QStringList> parse(const QByteArray &text, int *skipped)
{
    QList<QStringList> rows;
    int bad = 0;
    for (const QString &line : decodeLines(text)) {
        QStringList row = line.split(u'|');
        if (row.size() == Fields)
            rows.append(row);
        else
            ++bad;
    }
    if (skipped)
        *skipped = bad;
    return rows;
}

bool read(const QString &path, QList<QStringList> *rows, int *skipped, QString *errorText)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (errorText)
            *errorText = file.errorString();
        return false;
    }
    *rows = parse(file.readAll(), skipped);
    return true;
}

} // namespace DxListFile
