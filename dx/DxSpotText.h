#pragma once

#include <QString>

// What a DX cluster line says beyond the fields the host reports with it:
//   DX de SPOTTER:     FREQ  CALL         comment (from column 40)   1234Z
namespace DxSpotText {

inline const QString UnknownSpotter = QStringLiteral("???");

// The text between the first "de " and the first ":" (or, without one, the
// first ">"); "???" when either is missing or the separator comes first.
QString spotter(const QString &spot);
// The last five characters, the spot time.
QString time(const QString &spot);
// From the 1-based column to the end, less the time, leading blanks removed;
// empty when the line is too short to hold one.
QString comment(const QString &spot, int firstColumn);

// Records keep the comment from column 40, the notified line from column 39.
constexpr int RecordCommentColumn = 40;
constexpr int NotifiedCommentColumn = 39;

} // namespace DxSpotText
