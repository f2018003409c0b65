#include "app/AppIcon.h"
#include "core/AppInfo.h"
#include "app/DefaultData.h"
#include "core/IniSettingsStore.h"
#include "core/Prompts.h"
#include "app/SingleInstance.h"
#include "app/InstanceDoorbell.h"
#include "core/Utilities.h"
#include "core/WindowProviders.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "app/ProgramWiring.h"
#include "stations/frmDocument.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QTimer>

namespace {

// "Sort=Dist" in KESTREL_SCREENSHOT_TOOLS: a click on that heading of the active list.
void sortActiveList(frmMain &main, const QString &heading)
{
    auto *list = dynamic_cast<frmDocument *>(main.activeChild());
    const int column = int(StationListModel::headers().indexOf(heading));
    if (list && column >= 0)
        emit list->view()->horizontalHeader()->sectionClicked(column);
}

// "Select=CALL": that station's row in the active list, selected as a click selects it.
void selectStation(frmMain &main, const QString &callsign)
{
    if (auto *list = dynamic_cast<frmDocument *>(main.activeChild())) {
        list->selectRow(list->model().find(callsign));
        list->UpdateWxTool(true);
    }
}

} // namespace

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
        InstanceDoorbell::ring(settingsFolder);
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
    // Only the copy that holds the lock answers a second start; without a
    // lock another copy may be listening already.
    InstanceDoorbell doorbell(settingsFolder);
    if (instance.state() == SingleInstance::State::First)
        doorbell.listen();

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
    QObject::connect(&doorbell, &InstanceDoorbell::rung, &main, [&main] { InstanceDoorbell::bringToFront(&main); });

    // KESTREL_SCREENSHOT=file.png: save a picture of the window once loaded
    // (and KESTREL_SCREENSHOT_DELAY ms more), then quit. KESTREL_SCREENSHOT_TOOLS
    // names tools to click first ("ID_Inbound,Test" also injects the test
    // frame; "Sort=Dist" clicks that heading of the active station list,
    // "Select=G4KWA" selects that station in it). For documentation and checks.
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
                else if (id.startsWith(QLatin1String("Sort=")))
                    sortActiveList(main, id.mid(5));
                else if (id.startsWith(QLatin1String("Select=")))
                    selectStation(main, id.mid(7));
                else if (QAction *tool = main.tool(id))
                    tool->trigger();
            }
        });
        poll->start(50);
    }
    return QApplication::exec();
}
