#include "app/AppIcon.h"
#include "core/AppInfo.h"
#include "app/DefaultData.h"
#include "core/IniSettingsStore.h"
#include "core/Prompts.h"
#include "app/SingleInstance.h"
#include "core/Utilities.h"
#include "core/WindowProviders.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "app/ProgramWiring.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppInfo::Title);
    QApplication::setApplicationVersion(AppInfo::VersionText);
    QApplication::setWindowIcon(AppIcon::icon());

    const QString settingsFolder = IniSettingsStore::configFolder();
    SingleInstance instance(settingsFolder);
    if (instance.state() == SingleInstance::State::AlreadyRunning) {
        Prompts::instance().message(SingleInstance::alreadyRunningMessage(),
                                    SingleInstance::alreadyRunningTitle(), Prompts::Buttons::Ok,
                                    Prompts::Icon::Exclamation);
        return 0;
    }
    if (instance.state() == SingleInstance::State::Unavailable) {
        // Said once here; the settings are then not saved at the end either.
        QTemporaryFile probe(settingsFolder + QStringLiteral("/.kestrel-XXXXXX"));
        const bool writable = probe.open();
        if (auto *store = dynamic_cast<IniSettingsStore *>(&SettingsStore::instance()); store && !writable)
            store->setReadOnly(true);
        Prompts::instance().message(SingleInstance::unavailableMessage(settingsFolder, instance.problem(), writable),
                                    AppInfo::Title, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
    }

    frmSplash splash;
    splash.show();
    splash.repaint();
    QApplication::processEvents();

    CreateDataFolders();
    InstallDefaultDataFiles();
    wireProgram();

    frmMain main;
    splash.close();
    main.show();

    // KESTREL_SCREENSHOT=file.png: save a picture of the window once loaded
    // (and KESTREL_SCREENSHOT_DELAY ms more), then quit. KESTREL_SCREENSHOT_TOOLS
    // names tools to click first ("ID_Inbound,Test" also injects the test
    // frame). For documentation and checks.
    const QString screenshot = qEnvironmentVariable("KESTREL_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        const int delay = qEnvironmentVariableIntValue("KESTREL_SCREENSHOT_DELAY");
        auto *poll = new QTimer(&main);
        QObject::connect(poll, &QTimer::timeout, &main, [&main, poll, screenshot, delay] {
            if (!main.loadingDone())
                return;
            poll->stop();
            // Scheduled first: a tool may open a modal dialog, which the
            // picture then shows beside the main window.
            QTimer::singleShot(qMax(delay, 200), &main, [&main, screenshot] {
                main.grab().save(screenshot);
                // Other visible top-level windows (the host's map) beside it.
                const QFileInfo file(screenshot);
                for (QWidget *window : QApplication::topLevelWidgets())
                    if (window != &main && window->isVisible() && !window->objectName().isEmpty())
                        window->grab().save(file.path() + u'/' + file.completeBaseName() + u'-'
                                            + window->objectName() + u'.' + file.suffix());
                QApplication::exit(0);
            });
            for (const QString &id : qEnvironmentVariable("KESTREL_SCREENSHOT_TOOLS").split(u',', Qt::SkipEmptyParts)) {
                if (id == QLatin1String("Test"))
                    main.injectTestFrame();
                else if (QAction *tool = main.tool(id))
                    tool->trigger();
            }
        });
        poll->start(50);
    }
    return QApplication::exec();
}
