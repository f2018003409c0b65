// The main window's link to the host program: events, frames, activation and shutdown.
#include "app/frmMain.h"

#include "core/AppInfo.h"
#include "core/Configuration.h"
#include "core/ErrorReport.h"
#include "core/HostApplication.h"
#include "core/HostMap.h"
#include "core/Prompts.h"
#include "core/SettingsStore.h"
#include "core/SharedState.h"
#include "core/StallWatchdog.h"
#include "core/Units.h"
#include "core/Utilities.h"
#include "core/WindowInterfaces.h"
#include "core/WindowProviders.h"
#include "core/WindowRegistry.h"
#include "satellites/SatelliteChoices.h"
#include "stations/frmEmergency.h"

#include <QAction>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <exception>

namespace {

const QString kLinkTopic = QStringLiteral("UIVIEW32|UIVData");
const QString kLinkItem = QStringLiteral("labDDE");
const QString kNoHost = QStringLiteral("The host program is not running");
const QString kExitQuestion = QStringLiteral("Are you sure you wish to exit Kestrel.");
const QString kExitTitle = QStringLiteral("Exit Kestrel");
const QString kSaveQuestion = QStringLiteral("Do you wish to save the station list.");
const QString kSaveTitle = QStringLiteral("Save Station List");
const QString kAutoLogSection = QStringLiteral("AutoLog");
constexpr double kTwipsPerPixel = 15.0;

template<typename T>
QList<T *> windowsTagged(const QString &tag)
{
    QList<T *> list;
    for (QObject *window : WindowRegistry::instance().tagged(tag))
        if (auto *found = dynamic_cast<T *>(window))
            list << found;
    return list;
}

} // namespace

QString frmMain::sampleFrame()
{
    // Ends in a line end like every frame the host delivers, so the terminal
    // keeps one frame per line.
    return QStringLiteral("N0CALL>APW233,TCPIP,N0GATE:\r\n"
                          "_12072202c052s001g002t068r000p000P000h72b10191wDAV\r\n");
}

void frmMain::injectTestFrame()
{
    receiveLinkText(sampleFrame());
}

void frmMain::receiveLinkText(const QString &text)
{
    m_text1->setText(text);
    // Without a host (yet) the intake still runs: it finds no stations.
    if (!m_frameHandler && providers().frameIntake)
        m_frameHandler = providers().frameIntake(&m_detachedHost, this);
    try {
        if (m_frameHandler)
            m_frameHandler(text);
    } catch (const std::exception &e) {
        // A frame must never stop the program.
        qWarning("Frame dropped: %s", e.what());
    }
}

void frmMain::attachHost(HostApplication *host)
{
    m_host = host;
    m_map = host ? host->map() : nullptr;
    shared().host = host;
    tool(QStringLiteral("ID_HostMap"))->setEnabled(host && host->hasMapWindow());
    tool(QStringLiteral("ID_Messages"))->setEnabled(host && host->hasMessages());
    if (!host)
        return;
    // Connected first, so the field shows a frame before the intake handles it.
    connect(host, &HostApplication::frameReceived, m_text1, &QLineEdit::setText);
    connect(host, &HostApplication::unreadMessagesChanged, this, &frmMain::showUnreadMessages);
    connect(host, &HostApplication::messageArrived, this, &frmMain::notifyMessage);
    showUnreadMessages(host->unreadMessages());
    if (providers().frameIntake)
        m_frameHandler = providers().frameIntake(host, this);
    connect(host, &HostApplication::NotifyDXSpot, this, &frmMain::onDxSpot);
    connect(host, &HostApplication::UIView32IsClosing, this, &frmMain::onHostClosing);
    connect(host, &HostApplication::homeStationChanged, this, &frmMain::onHomeChanged);
    if (m_map) {
        connect(m_map, &HostMap::MapHasChanged, this, &frmMain::onMapChanged);
        connect(m_map, &HostMap::MapRedrawn, this, &frmMain::onMapChanged);
    }
}

bool frmMain::openLink(QString *errorText)
{
    if (!m_host) {
        *errorText = kNoHost;
        return false;
    }
    return m_host->openLink(kLinkTopic, kLinkItem, errorText);
}

void frmMain::onDxSpot(const QString &strDxSpot, const QString &strCallsign, const QString &strFreq,
                       qint16 intLat, qint16 intLong, qint16 intBearing, qint16 intDistance)
{
    StallWatchdog::Activity activity("DX spot", strCallsign);
    setIndicator(5, true);
    // The host sends distances in its own unit; Kestrel shows them in the options' one.
    const bool hostMiles = m_host && m_host->spotDistancesInMiles();
    const qint16 distance = Units::convertWholeDistance(intDistance, hostMiles, config().miles);
    if (auto *dx = dynamic_cast<DxMonitorWindow *>(m_dxMonitor.data()))
        dx->AddDxSpot(strDxSpot, strCallsign, strFreq, intLat, intLong, intBearing, distance);
    setIndicator(5, false);
}

void frmMain::onHomeChanged(const QString &callsign, double latitude, double longitude)
{
    HomeStation &home = shared().home;
    home.callsign = callsign;
    home.latitude = latitude * 60.0;
    home.longitude = longitude * 60.0;
    for (QObject *window : WindowRegistry::instance().windows())
        if (auto *list = dynamic_cast<StationListWindow *>(window))
            list->homeChanged();
}

void frmMain::onHostClosing()
{
    shared().hostClosing = true;
    close();
}

void frmMain::onMapChanged()
{
    StallWatchdog::Activity activity("map redraw", {});
    for (StationListWindow *list : windowsTagged<StationListWindow>(WindowTag::StationList)) {
        list->PlotDX();
        list->PlotPHGRNGcircles();
    }
    if (auto *dx = dynamic_cast<DxMonitorWindow *>(m_dxMonitor.data()))
        dx->PlotDxOnMap();
}

void frmMain::applyShowHide(bool on)
{
    if (!m_stationsMonitor && providers().stationsMonitor)
        m_stationsMonitor = providers().stationsMonitor();
    if (on) {
        showMinimized();
        if (m_stationsMonitor)
            SetTopMost(m_stationsMonitor, true);
    } else {
        showMaximized();
        if (m_stationsMonitor)
            m_stationsMonitor->hide();
    }
}

void frmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_closing) {
        QAction *showHide = tool(QStringLiteral("ID_ShowHide"));
        if (showHide && showHide->isChecked())
            applyShowHide(true);
    }
}

bool frmMain::confirmMainListClose()
{
    QObject *main = WindowRegistry::instance().firstTagged(WindowTag::StationList);
    if (!main)
        return true;
    auto *list = dynamic_cast<StationListWindow *>(main);
    try {
        if (shared().hostClosing) {
            if (config().autoSave && list)
                list->SaveStationList();
            return true;
        }
        Prompts &ask = Prompts::instance();
        if (ask.message(kExitQuestion, kExitTitle, Prompts::Buttons::YesNo, Prompts::Icon::Question)
            != Prompts::Answer::Yes)
            return false;
        if (config().autoSave) {
            if (list)
                list->SaveStationList();
            return true;
        }
        const auto answer = ask.message(kSaveQuestion, kSaveTitle, Prompts::Buttons::YesNoCancel,
                                        Prompts::Icon::Question);
        if (answer == Prompts::Answer::Cancel)
            return false;
        if (answer == Prompts::Answer::Yes && list)
            list->SaveStationList();
    } catch (const std::exception &e) {
        reportError(QStringLiteral("frmDocument_Form_Unload"), QString::fromLocal8Bit(e.what()));
    }
    return true;
}

void frmMain::shutdownHost()
{
    if (!m_host)
        return;
    m_host->closeLink();
    for (const QString &name : m_host->placedObjects())
        m_host->removePlacedObject(name);
    m_host->refreshMap();
    disconnect(m_host, nullptr, this, nullptr);
    // The link field and the intake hear no more frames.
    disconnect(m_host, &HostApplication::frameReceived, nullptr, nullptr);
    if (m_map)
        disconnect(m_map, nullptr, this, nullptr);
    // The host may be announcing its own closing right now: let go of it
    // once its signal has returned.
    if (m_host->parent() == this)
        m_host->deleteLater();
    m_map = nullptr;
    m_host = nullptr;
    shared().host = nullptr;
    tool(QStringLiteral("ID_HostMap"))->setEnabled(false);
    tool(QStringLiteral("ID_Messages"))->setEnabled(false);
    showUnreadMessages(0);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    if (!confirmMainListClose()) {
        event->ignore();
        return;
    }
    m_closing = true;
    emit closing();
    m_tmrLoad.stop();
    // Taken before the windows go, while the satellite window still shows its view.
    const SatelliteChoices satellites = satelliteChoices();

    // Child windows first, then the host, then the configuration.
    for (QMdiSubWindow *sub : m_mdi->subWindowList()) {
        sub->setAttribute(Qt::WA_DeleteOnClose, true);
        sub->close();
    }
    shutdownHost();

    Configuration &c = config();
    const bool minimised = isMinimized();
    if (!minimised) {
        c.mainLeft = float(x() * kTwipsPerPixel);
        c.mainTop = float(y() * kTwipsPerPixel);
        c.mainWidth = float(width() * kTwipsPerPixel);
        c.mainHeight = float(height() * kTwipsPerPixel);
    }
    // One save of the whole store: a failure leaves it as it was, never half
    // old and half new.
    SettingsStore &store = SettingsStore::instance();
    store.beginBatch();
    c.write(store, minimised);
    store.removeSection(AppInfo::Title, kAutoLogSection);
    int i = 0;
    for (const cAutoRecord &entry : shared().autoRecords.entries())
        store.write(AppInfo::Title, kAutoLogSection, QStringLiteral("AutoLog%1").arg(++i), entry.Callsign);
    writeListFont();
    satellites.write(store);
    QString error;
    if (!store.commit(&error))
        reportError(QStringLiteral("MDIForm_Unload"), QStringLiteral("The settings could not be saved: ") + error);

    if (m_stationsMonitor)
        m_stationsMonitor->close();
    if (frmEmergency *alert = frmEmergency::current())
        alert->close();
    event->accept();
}
