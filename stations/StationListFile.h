#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include "stations/StationListModel.h"

// The station list file (.kel): one line per row, the callsign, the nine
// cells "Type" to "Time" and the "Height" ("41216 ft", or empty), each
// followed by "|". Files from before heights end at the time and read as
// they always did. The log file is not saved.
// Latin-1, CR LF line ends.
//
// A cell may hold any text the air brings, so a "|", CR or LF inside it is
// written as "%7C", "%0D" or "%0A" (and a "%" that would read as one of these
// codes as "%25"): nothing inside a cell can split a row. Files written
// without these codes read as before, since such text is rare in them.
namespace StationListFile {

QString escapeCell(const QString &cell);
QString unescapeCell(QStringView field);

// data folder + "/Saved Lists"
QString folder();
// data folder + "/Saved Lists/" + DDMMMYYYY + ".kel", month names in English.
QString automaticName(const QDate &date);

QString lineOf(const StationListModel::Cells &cells);

// Writes every row, top to bottom, through a temporary file that replaces the
// old one only when complete.
bool save(const QString &path, const StationListModel &model, QString *errorText);

// A line as it fills a row. A line split at "|" into exactly ten fields is the
// older layout without "Type": its fields fill the columns from "Direct" on.
// The "Log File" cell is never filled from a line.
struct Parsed
{
    StationListModel::Cells cells;
    bool olderLayout = false;
    int fieldCount = 0;
};
// False for a line with fewer than ten fields (it cannot fill a row).
bool parseLine(const QString &line, Parsed *parsed);
// The cells a merge fills: only up to the column numbered as the line's last field.
StationListModel::Cells mergeCells(const Parsed &parsed);

// The lines of a file, or false when it cannot be read.
bool readLines(const QString &path, QStringList *lines, QString *errorText);

struct LoadResult
{
    bool opened = false;
    int added = 0;
    int skipped = 0;  // lines that could not fill a row (blank lines not counted)
    QString errorText;
};
// Adds every line as a new row, not matched against existing rows.
LoadResult load(const QString &path, StationListModel &model);
// Adds the rows whose callsign is not in the model yet.
LoadResult merge(const QString &path, StationListModel &model);

} // namespace StationListFile
