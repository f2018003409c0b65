#pragma once

#include <QString>
#include <QStringList>

// Copying and moving log files between two folders, so that nothing is lost
// on the way: the copy goes through a temporary file renamed over the target
// only when every byte arrived and reads back the same (a link at the target
// is replaced, never written through); a move removes its source only after
// that, and only when the source did not change meanwhile.
namespace LogTransfer {

// The file names of a folder, hidden ones too, sorted; empty for a folder
// that does not exist.
QStringList filesIn(const QString &folder);

// True when the target folder holds a file of the source's name that was
// changed after the source: replacing it would lose what only it holds.
bool newerThere(const QString &sourcePath, const QString &targetFolder);

// False with the reason (the target folder then holds what it held before).
bool copyFile(const QString &sourcePath, const QString &targetFolder, QString *error);
// False with the reason; the source stays unless the copy is complete, read
// back and the source is unchanged.
bool moveFile(const QString &sourcePath, const QString &targetFolder, QString *error);

} // namespace LogTransfer
