// The toolbar commands of the main window.
#include "app/frmMain.h"

#include "core/AppInfo.h"
#include "core/ErrorReport.h"
#include "core/HostApplication.h"
#include "core/Prompts.h"
#include "core/SharedState.h"
#include "core/StallWatchdog.h"
#include "core/Utilities.h"
#include "core/WindowInterfaces.h"
#include "core/WindowProviders.h"
#include "core/WindowRegistry.h"
#include "satellites/OrbiterControl.h"
#include "ui/frmHelp.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPrinter>

#include <stdexcept>

namespace {

const QString kOpenTitle = QStringLiteral("OPen Data File");
const QString kOpenFilter = QStringLiteral(
    "Kestrel Wx Data (*.kew)|*.kew|Kestrel Station List (*.kel)|*.kel|Kestrel Statistics "
    "(*.kes)|*.kes|All Files (*.*)|*.*");
const QString kNoHelp = QStringLiteral(
    "Unable to display Help Contents. There is no Help associated with this project.");
const QString kPrintTitle = QStringLiteral("Print");
const QString kPreviewTitle = QStringLiteral("Print Preview");
const QString kCannotOpenKind = QStringLiteral(
    "Kestrel cannot open \"%1\": it opens weather data (.kew), station list (.kel) and statistics (.kes) files.");
const QString kTerminalEntry = QStringLiteral("Terminal Window");
const QString kDxMonitorEntry = QStringLiteral("DX Stations Monitor");
const QString kSatelliteEntry = QStringLiteral("Satellite Status");
const QString kLiveStatisticsEntry = QStringLiteral("Live Statistics");
const QString kStationListEntry = QStringLiteral("Station List");

// "Description|pattern|..." pairs as the file dialogs of the Windows program
// wrote them, turned into the filter list Qt's dialogs take.
QString qtFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i];
    return out.join(QStringLiteral(";;"));
}

template<typename T>
T *firstTagged(const QString &tag)
{
    return dynamic_cast<T *>(WindowRegistry::instance().firstTagged(tag));
}

OrbiterControl *orbiterOf(QWidget *satelliteWindow)
{
    auto *window = dynamic_cast<SatelliteWindow *>(satelliteWindow);
    return window ? window->orbiter() : nullptr;
}

} // namespace

void frmMain::toolClicked(QAction *tool)
{
    const QString id = tool->objectName();
    const bool on = tool->isChecked();
    StallWatchdog::Activity activity("command", id);
    WindowProviders &make = providers();

    if (id == QLatin1String("ID_Open...")) {
        mnuFileOpen_Click();
    } else if (id == QLatin1String("ID_Save")) {
        saveActiveWindow();
    } else if (id == QLatin1String("ID_Print")) {
        printActiveWindow();
    } else if (id == QLatin1String("ID_PrintPreview")) {
        previewActiveWindow();
    } else if (id == QLatin1String("ID_Refresh")) {
        if (auto *satellites = dynamic_cast<SatelliteWindow *>(m_satelliteStatus.data()))
            satellites->updateNow();
    } else if (id == QLatin1String("ID_Properties")) {
        QWidget *active = activeChild();
        if (active && WindowRegistry::tagOf(active) == WindowTag::StationList)
            if (auto *list = dynamic_cast<StationListWindow *>(active)) {
                shared().currentStation = list->selectedCallsign();
                if (make.stationInfo && !shared().currentStation.isEmpty())
                    make.stationInfo(this);
            }
    } else if (id == QLatin1String("ID_Options")) {
        if (make.options)
            make.options(this);
    } else if (id == QLatin1String("ID_StationList")) {
        QWidget *main = qobject_cast<QWidget *>(WindowRegistry::instance().firstTagged(WindowTag::StationList));
        showOneOnly(main, kStationListEntry, on);
    } else if (id == QLatin1String("ID_WXDisplay")) {
        OpenDataWindow(2, QString());
    } else if (id == QLatin1String("ID_Exit")) {
        close();
    } else if (id == QLatin1String("ID_ClearMap")) {
        shared().plottedPathStation.clear();
        if (m_host)
            m_host->refreshMap();
    } else if (id == QLatin1String("ID_PlotPath")) {
        if (auto *list = firstTagged<StationListWindow>(WindowTag::StationList))
            list->PlotStationPath();
    } else if (id == QLatin1String("ID_PlotDX")) {
        if (m_host)
            m_host->refreshMap();
    } else if (id == QLatin1String("ID_About...")) {
        if (make.about)
            make.about(this);
    } else if (id == QLatin1String("ID_TileHorizontally")) {
        tileWindows(Qt::Horizontal);
    } else if (id == QLatin1String("ID_Tilevertically")) {
        tileWindows(Qt::Vertical);
    } else if (id == QLatin1String("ID_Cascade")) {
        cascadeWindows();
    } else if (id == QLatin1String("ID_HostMap")) {
        if (m_host)
            m_host->showMapWindow();
    } else if (id == QLatin1String("ID_Messages")) {
        if (m_host)
            m_host->showMessagesWindow();
    } else if (id == QLatin1String("ID_ArrangeIcons")) {
        arrangeIcons();
    } else if (id == QLatin1String("ID_Capture")) {
        OpenDataWindow(3, QString());
    } else if (id == QLatin1String("ID_Inbound")) {
        showOneOnly(m_terminal, kTerminalEntry, on);
    } else if (id == QLatin1String("ID_ShowHide")) {
        applyShowHide(on);
    } else if (id == QLatin1String("ID_SatelliteSetup")) {
        if (make.satelliteSetup)
            make.satelliteSetup(this);
    } else if (id == QLatin1String("ID_LogMaintenance")) {
        if (make.logMaintenance)
            make.logMaintenance(this);
    } else if (id == QLatin1String("ID_DXClusterDisplay")) {
        showOneOnly(m_dxMonitor, kDxMonitorEntry, on);
    } else if (id == QLatin1String("ID_SatelliteStatus")) {
        showOneOnly(m_satelliteStatus, kSatelliteEntry, on);
    } else if (id == QLatin1String("ID_Statistics")) {
        showOneOnly(m_liveStatistics, kLiveStatisticsEntry, on);
    } else if (id == QLatin1String("ID_Contents") || id == QLatin1String("ID_Search")) {
        showHelp(id == QLatin1String("ID_Search"));
    } else if (id == QLatin1String("ID_PointsOrLines") || id == QLatin1String("ID_DisplayMoon")
               || id == QLatin1String("ID_DisplaySun")) {
        satelliteDisplayChanged(id);
    }
    // Cut, copy and paste have no action.
}

void frmMain::satelliteDisplayChanged(const QString &id)
{
    OrbiterControl *orbiter = orbiterOf(m_satelliteStatus);
    if (orbiter) {
        if (id == QLatin1String("ID_PointsOrLines"))
            orbiter->setPlotLines(tool(id)->isChecked());
        else if (id == QLatin1String("ID_DisplayMoon"))
            orbiter->setShowMoon(tool(id)->isChecked());
        else if (id == QLatin1String("ID_DisplaySun"))
            orbiter->setShowSun(tool(id)->isChecked());
        else if (id == QLatin1String("ID_Orbits"))
            orbiter->setOrbitCount(combo(id)->currentText().toInt());
        else if (id == QLatin1String("ID_PlotInterval")) {
            const QString text = combo(id)->currentText();
            orbiter->setPlotInterval(text.startsWith(QLatin1String("Automatic")) ? 1 : text.section(u' ', 0, 0).toInt());
        }
    }
    if (auto *satellites = dynamic_cast<SatelliteWindow *>(m_satelliteStatus.data()))
        satellites->updateNow();
}

void frmMain::comboChanged(const QString &id)
{
    QComboBox *box = combo(id);
    StallWatchdog::Activity activity("command", id);
    QWidget *active = activeChild();
    const QString tag = WindowRegistry::tagOf(active);
    if (id == QLatin1String("ID_Orbits") || id == QLatin1String("ID_PlotInterval")) {
        satelliteDisplayChanged(id);
    } else if (id == QLatin1String("ID_WxDates")) {
        if (tag == WindowTag::WxStation)
            if (auto *weather = dynamic_cast<WeatherWindow *>(active))
                weather->SetWxDisplay();
    } else if (id == QLatin1String("ID_Font")) {
        if (tag == WindowTag::StationList)
            if (auto *list = dynamic_cast<StationListWindow *>(active)) {
                list->setListFont(box->currentText());
                m_listFont = box->currentText();
            }
    } else if (id == QLatin1String("ID_FontSize")) {
        if (tag == WindowTag::StationList)
            if (auto *list = dynamic_cast<StationListWindow *>(active)) {
                // Bounded before rounding: a typed "1e308" is no int.
                const double typed = qBound(0.0, box->currentText().toDouble(), 1000.0);
                const int size = qRound(typed);
                if (StationListWindow::fontSizeFits(size)) {
                    list->setListFontSize(size);
                    m_listFontSize = size;
                }
            }
    }
}

void frmMain::mnuFileOpen_Click()
{
    try {
        const QString path = Prompts::instance().openFileName(kOpenTitle, GetDataFolder(), qtFilter(kOpenFilter));
        if (path.isEmpty())
            return;
        const QString name = GetFilename(path);
        const QString stem = GetFilenameNoExt(name);
        const QString extension = GetFilenameExt(name).toUpper();
        if (extension != QLatin1String("KEL") && extension != QLatin1String("KEW")
            && extension != QLatin1String("KES")) {
            Prompts::instance().message(kCannotOpenKind.arg(name), AppInfo::Title, Prompts::Buttons::Ok,
                                        Prompts::Icon::Exclamation);
            return;
        }
        // Said here, before a window opens empty for a file it cannot read.
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()).toStdString());
        file.close();
        if (extension == QLatin1String("KEL")) {
            // The list window opens the bare name in the current folder, which
            // is where the chosen file lies.
            QDir::setCurrent(QFileInfo(path).absolutePath());
            OpenDataWindow(1, name);
        } else if (extension == QLatin1String("KEW")) {
            // The window shows the chosen file, wherever it lies.
            shared().currentWeatherFile = path;
            OpenDataWindow(2, stem);
            shared().currentWeatherFile.clear();
        } else if (extension == QLatin1String("KES")) {
            OpenDataWindow(4, path);
        }
    } catch (const std::exception &e) {
        reportError(QStringLiteral("mnuFileOpen_Click"), QString::fromStdString(e.what()));
    }
}

void frmMain::saveActiveWindow()
{
    QWidget *active = activeChild();
    if (!active)
        return;
    const QString tag = WindowRegistry::tagOf(active);
    if (tag == WindowTag::StationList) {
        if (auto *list = dynamic_cast<StationListWindow *>(active))
            list->SaveStationList();
    } else if (tag == WindowTag::ScreenCapture) {
        if (auto *capture = dynamic_cast<CaptureWindow *>(active))
            capture->SaveScreenCapture();
    } else if (tag == WindowTag::DxMonitor) {
        if (auto *dx = dynamic_cast<DxMonitorWindow *>(active))
            dx->SaveDxList();
    } else if (tag == WindowTag::LiveStatistics) {
        if (auto *statistics = dynamic_cast<StatisticsWindow *>(active))
            statistics->SaveStatisticsData();
    }
}

void frmMain::printActiveWindow()
{
    QWidget *active = activeChild();
    if (!active)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(active->windowTitle());
    if (!Prompts::instance().choosePrinter(&printer, kPrintTitle))
        return;
    printWindow(active, printer);
}

void frmMain::previewActiveWindow()
{
    QPointer<QWidget> active = activeChild();
    if (!active)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(active->windowTitle());
    // The window may close while the preview is open (a timer, the host).
    Prompts::instance().previewPrint(&printer, kPreviewTitle, [active](QPrinter *target) {
        if (active)
            printWindow(active, *target);
    });
}

void frmMain::printWindow(QWidget *active, QPrinter &printer)
{
    if (auto *document = dynamic_cast<PrintableWindow *>(active)) {
        QString error;
        if (!document->print(printer, &error))
            reportError(QStringLiteral("Print"), error);
        return;
    }
    // Other windows: what the window shows, scaled to fit the page with its proportions kept.
    const QPixmap picture = active->grab();
    QPainter painter;
    if (!painter.begin(&printer)) {
        reportError(QStringLiteral("Print"), QStringLiteral("The printer could not be started"));
        return;
    }
    const QRect page = painter.viewport();
    QSize size = picture.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    painter.setViewport(page.x(), page.y(), size.width(), size.height());
    painter.setWindow(picture.rect());
    painter.drawPixmap(0, 0, picture);
    painter.end();
}

void frmMain::showHelp(bool search)
{
    // The guide is installed with the program; a copy without it says so.
    if (!(search ? frmHelp::openSearch() : frmHelp::open()))
        Prompts::instance().message(kNoHelp, windowTitle(), Prompts::Buttons::Ok, Prompts::Icon::Information);
}
