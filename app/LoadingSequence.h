#pragma once

#include <QString>

#include "core/SharedState.h"

class frmMain;

// The one pass from the first tick of the loading timer to "Ready...".
// Each step runs under its own error handler, so a failing step is reported
// and the next one runs.
class LoadingSequence
{
public:
    explicit LoadingSequence(frmMain &main) : m_main(main) {}
    void run();

private:
    void placeMainWindow();
    void readAutoLog();
    bool loadTimeZones();
    void locateHost();
    void loadDxMonitor();
    void loadSatelliteWindow();
    void createHost();
    void loadTerminal();
    void writeRegistrationFile();
    void openLink();

    frmMain &m_main;
    QString m_hostError;
    // Started without a host folder: the user was asked what to do instead.
    bool m_firstStart = false;
    bool m_setUpStation = false;
};

// Reads the home station from the host's UIVIEW32.INI.
HomeStation ReadHostStation(const QString &hostFolder);
// "DDMM.mmH" (two degree digits) or "DDDMM.mmH" (three) to minutes of arc.
double hostPositionToMinutes(const QString &text, int degreeDigits);
// The lines of the registration file, CR LF terminated.
QByteArray registrationFileContent();
