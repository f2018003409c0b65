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
#include "app/ScreenshotSwitch.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryFile>

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

    startScreenshotSwitch(main);
    return QApplication::exec();
}
