#pragma once

#include <QString>
#include <QStringList>

class HostApplication;

// The first start without a host folder: rather than the bare options
// dialog, the user tries the demo or sets up their own station, and only a
// user who has a folder of their own is sent to choose it.
namespace FirstStart {

enum class Course { Demo, OwnStation, ChooseFolder };

inline const QString Question = QStringLiteral(
    "Kestrel has no station yet. Try the demo (a fictional station with an hour of traffic), "
    "or set up your own station: your callsign, your position and a feed from APRS-IS.");
inline const QStringList Choices = {QStringLiteral("Try the demo"), QStringLiteral("Set up my station"),
                                    QStringLiteral("Choose a folder...")};
inline const QString StationFolderName = QStringLiteral("MyStation");

// Asks which course to take and prepares it: the demo installed, or an
// empty station folder made, and config().hostFolder set to it. Closing the
// question, or a folder that cannot be written (said in a message), leaves
// the user to choose a folder.
Course ask();

// The host folder of the user's own station in the data folder, made with
// the host's own writers; empty with the reason when it cannot be written.
QString createStationFolder(QString *errorText);

// Once the host runs: the Station window, and when the station is set, one
// APRS-IS feed filtered round it and the Feeds window to see it connect.
void setUpStation(HostApplication *host);

// The APRS-IS server of that feed; tests point it at loopback.
void setAprsIsServer(const QString &host, quint16 port);

// "r/51.75/-1.25/100": what is heard within 100 km of a position.
QString rangeFilter(double latitude, double longitude);

} // namespace FirstStart
