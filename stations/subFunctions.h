#pragma once

#include <QString>

#include <functional>

class HostApplication;
class QLabel;
class QObject;

// The small APRS operations the station list and station information windows share.

// The digipeater path of a monitor-form header: the text after ">" and its
// first ",", cut before "<UI" (the port text before "<UI" stays part of it).
// Empty when the header holds no ">" or no "<UI".
QString GetPathFromHeader(const QString &strHeader);

// Minutes of arc as "DD.MM.HHN" (latitude) or "DDD.MM.HHE" (longitude),
// always with "." whatever the locale. Degrees are truncated, never rounded.
QString FormatPosition(double sngValue, bool bLongitude);

// The callsign of a "DX: CALL ..." status text, or empty.
QString GetDxCallsign(const QString &strStatus);

// Clears the picture, looks the station up and, when the host knows it,
// shows its symbol. False when the station is unknown or has no symbol picture.
bool LoadStationSymbol(const QString &strCallsign, QLabel *picture, HostApplication &host);

// When the active window is the main station list, remembers its selected
// callsign as the current station and shows the station information window.
// activeWindow may be the list itself or the subwindow that holds it.
void ShowStationInfo(QObject *activeWindow);

// Remembers the callsign as the current station and shows its information window.
void ShowStationInfoFor(const QString &callsign);

// Shows the station information window modally for shared().currentStation.
// Until one is set, ShowStationInfo only remembers the callsign.
void setStationInfoHandler(std::function<void()> handler);
