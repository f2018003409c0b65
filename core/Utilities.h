#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Shared line-end characters.
inline constexpr QChar CR = QChar(13);
inline constexpr QChar LF = QChar(10);

// The data folder: "Kestrel" beside the program when it exists (a portable
// install), else $XDG_DATA_HOME/Kestrel; KESTREL_DATA_DIR overrides both.
QString GetDataFolder();
// Creates the data folder's subfolders that are missing.
void CreateDataFolders();

bool FileExists(const QString &path);
QString GetFilename(const QString &path);
QString GetFilenameNoExt(const QString &name);
QString GetFilenameExt(const QString &name);
// The path with the first extension the filter names ("*.kel") added when
// its file name has none: what a save dialog does for a name typed bare.
QString WithDefaultExtension(const QString &path, const QString &filter);
// The canonical absolute path when the path exists, else empty.
QString GetShortPath(const QString &path);
QString LongDirFix(const QString &path, qint16 maximum);
QString BrowseForFolder(QWidget *owner, const QString &title);

QString GetField(const QString &line, qint16 n);
QStringList SplitText(const QString &text, QChar separator);
void RemoveText(QString &text, const QString &remove);
bool IsNumericKey(qint16 key);

void CentreOnMain(QWidget *window);
void SetTopMost(QWidget *window, bool on);
