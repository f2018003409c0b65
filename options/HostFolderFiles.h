#pragma once

#include <QString>

// What the options dialog reads from the host program's folder.

// The name of the host program's file that marks its folder.
inline const QString HostProgramFile = QStringLiteral("uiview32.exe");

// The file that marks the embedded host's own folder, which has no program file.
inline const QString EmbeddedHostFile = QStringLiteral("KestrelHost.ini");
inline const QString HostStationFile = QStringLiteral("UIVIEW32.INI");

// True when the folder holds the host program's file, or is the embedded
// host's own folder (its settings beside a UIVIEW32.INI) (names compared
// without regard to letter case, as a folder copied from Windows may spell
// it in capitals). False when there is no such file; any other failure to
// open it is reported as "Error in ERROR_CheckUIPath : ..." and counts as true.
bool CheckUIPath(const QString &folder);

// The "NAME" of the callsign's section in the folder's STATIONS.INI (at most
// 500 characters), or "Unknown" when there is none.
QString stationName(const QString &hostFolder, const QString &callsign);
