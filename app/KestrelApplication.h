#pragma once

#include "core/StallWatchdog.h"

#include <QApplication>

class frmMain;

// The program's application object: its stall watchdog sees every event of
// the user-interface thread, from the first to the last.
//
// Stalls go to the debug log while the debug switch is on, and with
// KESTREL_WATCHDOG=stderr also to standard error, where the figures since
// the end of start-up are printed at exit.
class KestrelApplication : public QApplication
{
    Q_OBJECT
public:
    KestrelApplication(int &argc, char **argv);
    ~KestrelApplication() override;

    bool notify(QObject *receiver, QEvent *event) override;

    StallWatchdog &watchdog() { return m_watchdog; }

    // Names the main window's active window in stall lines and starts the
    // figures afresh once it has loaded.
    void watch(frmMain *main);

    // True when KESTREL_WATCHDOG asks for stalls on standard error.
    static bool reportsToStderr();

private:
    StallWatchdog m_watchdog;
};
