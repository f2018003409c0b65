#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct DxStations;

// A saved DX list (.ked): one line per spot, CR LF, twelve fields separated
// by "|": Callsign, Distance, DxSpot, Frequency, Latitude, Longitude,
// Bearing, Band, DxFrom, dxTime, dxText, TimeHeard (yyyy-MM-dd HH:mm:ss).
// Text from the air may hold "|" or line ends; they are written as "¦" and
// blanks so that every line keeps its twelve fields.
namespace DxListFile {

inline const QString Extension = QStringLiteral("ked");
inline const QString TimeForm = QStringLiteral("yyyy-MM-dd HH:mm:ss");
constexpr int Fields = 12;

QStringList fields(const DxStations &spot);
QByteArray format(const QList<DxStations> &spots);
// Written whole through a temporary file; false with the reason.
bool write(const QString &path, const QList<DxStations> &spots, QString *errorText);

// The fields of each line; lines without exactly twelve are counted in skipped.
QList<QStringList> parse(const QByteArray &text, int *skipped);
bool read(const QString &path, QList<QStringList> *rows, int *skipped, QString *errorText);

} // namespace DxListFile
