#include "app/KestrelApplication.h"

#include "app/frmMain.h"
#include "core/Clock.h"
#include "core/Configuration.h"
#include "stations/DebugLog.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QThread>

#include <cstdio>

namespace {

// Events of other threads (the thread pool's) are not the user-interface
// thread's to answer for, and the watchdog is not to be touched from them.
thread_local bool t_userInterfaceThread = false;

QString activeWindowText(const frmMain *main)
{
    QWidget *window = QApplication::activeModalWidget();
    if (!window && main && main->isActiveWindow() && main->mdiArea()->activeSubWindow())
        window = main->mdiArea()->activeSubWindow();
    if (!window)
        window = QApplication::activeWindow();
    if (!window)
        return {};
    const QString title = window->windowTitle();
    return QStringLiteral("active window \"%1\"").arg(title.isEmpty() ? QString::fromLatin1(window->metaObject()->className()) : title);
}

} // namespace

KestrelApplication::KestrelApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    t_userInterfaceThread = true;
    const bool toStderr = reportsToStderr();
    m_watchdog.setReporter([toStderr](const QString &line) {
        const QString stamped = Clock::instance().now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) + line;
        if (config().debugLogging)
            appendDebugLog(stamped);
        if (toStderr)
            std::fprintf(stderr, "%s\n", qPrintable(stamped));
    });
    m_watchdog.setContext([] { return activeWindowText(nullptr); });
    StallWatchdog::install(&m_watchdog);
    m_watchdog.start();
}

KestrelApplication::~KestrelApplication()
{
    StallWatchdog::install(nullptr);
    if (reportsToStderr())
        std::fprintf(stderr, "%s\n", qPrintable(m_watchdog.summary()));
}

bool KestrelApplication::reportsToStderr()
{
    return qEnvironmentVariable("KESTREL_WATCHDOG") == QLatin1String("stderr");
}

bool KestrelApplication::notify(QObject *receiver, QEvent *event)
{
    if (!t_userInterfaceThread)
        return QApplication::notify(receiver, event);
    m_watchdog.enterEvent(receiver, event);
    struct Leave
    {
        StallWatchdog &watchdog;
        ~Leave() { watchdog.leave(); }
    } leave{m_watchdog};
    return QApplication::notify(receiver, event);
}

void KestrelApplication::watch(frmMain *main)
{
    QPointer<frmMain> watched(main);
    m_watchdog.setContext([watched] { return activeWindowText(watched.data()); });
    if (main->loadingDone())
        m_watchdog.markStartupDone();
    else
        connect(main, &frmMain::loaded, &m_watchdog, &StallWatchdog::markStartupDone);
    connect(main, &frmMain::closing, &m_watchdog, &StallWatchdog::markShutdownBegun);
}
