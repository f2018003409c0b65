#pragma once

#include <QString>
#include <functional>

class HostApplication;
class QObject;
class QWidget;

// How the main window makes the windows and dialogs of each subsystem. The
// program fills every one in at start; a test leaves out what it does not
// exercise, and the main window then simply does not open that kind.
struct WindowProviders
{
    // Window factory kinds 1 to 4. The window reads what it needs (file name,
    // callsign) from SharedState when it is created.
    std::function<QWidget *()> stationList;
    std::function<QWidget *()> weather;
    std::function<QWidget *(int number)> capture;
    std::function<QWidget *(const QString &file)> statistics;

    // The one-only windows the loading sequence creates hidden.
    std::function<QWidget *()> dxMonitor;
    std::function<QWidget *()> satelliteStatus;
    std::function<QWidget *()> terminal;
    std::function<QWidget *()> stationsMonitor;

    // Modal dialogs, owned by the given window.
    std::function<void(QWidget *owner)> options;
    std::function<void(QWidget *owner)> about;
    std::function<void(QWidget *owner)> logMaintenance;
    std::function<void(QWidget *owner)> satelliteSetup;
    std::function<void(QWidget *owner)> stationInfo;

    // Reads the element file at start.
    std::function<void(const QString &path)> readElements;

    // Makes the frame intake for a host; returns what runs once per received text.
    std::function<std::function<void(const QString &)>(HostApplication *host, QObject *owner)> frameIntake;

    // Starts (or attaches to) the host program. Returns null and says why
    // when there is none.
    std::function<HostApplication *(const QString &hostFolder, QObject *parent, QString *error)> host;
};

WindowProviders &providers();
