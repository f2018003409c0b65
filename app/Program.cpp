#include "app/Program.h"

#include "app/DefaultData.h"
#include "app/InstanceDoorbell.h"
#include "app/KestrelApplication.h"
#include "app/ProgramWiring.h"
#include "app/SingleInstance.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "core/AppInfo.h"
#include "core/IniSettingsStore.h"
#include "core/Prompts.h"
#include "core/Utilities.h"

#include <QApplication>
#include <QTemporaryFile>

Program::Program()
{
    const QString settingsFolder = IniSettingsStore::configFolder();
    m_instance = std::make_unique<SingleInstance>(settingsFolder);
    if (m_instance->state() == SingleInstance::State::AlreadyRunning) {
        Prompts::instance().message(SingleInstance::alreadyRunningMessage(),
                                    SingleInstance::alreadyRunningTitle(), Prompts::Buttons::Ok,
                                    Prompts::Icon::Exclamation);
        InstanceDoorbell::ring(settingsFolder);
        return;
    }
    if (m_instance->state() == SingleInstance::State::Unavailable) {
        // Said once here; the settings are then not saved at the end either.
        QTemporaryFile probe(settingsFolder + QStringLiteral("/.kestrel-XXXXXX"));
        const bool writable = probe.open();
        if (auto *store = dynamic_cast<IniSettingsStore *>(&SettingsStore::instance()); store && !writable)
            store->setReadOnly(true);
        Prompts::instance().message(SingleInstance::unavailableMessage(settingsFolder, m_instance->problem(), writable),
                                    AppInfo::Title, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
    }
    // Only the copy that holds the lock answers a second start; without a
    // lock another copy may be listening already.
    m_doorbell = std::make_unique<InstanceDoorbell>(settingsFolder);
    if (m_instance->state() == SingleInstance::State::First)
        m_doorbell->listen();

    frmSplash splash;
    splash.show();
    splash.repaint();
    QApplication::processEvents();

    CreateDataFolders();
    InstallDefaultDataFiles();
    wireProgram();

    m_main = std::make_unique<frmMain>();
    if (auto *application = qobject_cast<KestrelApplication *>(QCoreApplication::instance()))
        application->watch(m_main.get());
    splash.close();
    m_main->show();
    frmMain *main = m_main.get();
    QObject::connect(m_doorbell.get(), &InstanceDoorbell::rung, main, [main] { InstanceDoorbell::bringToFront(main); });
}

Program::~Program() = default;
