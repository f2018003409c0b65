// The window factory and the window list of the main window.
#include "app/frmMain.h"

#include "core/Prompts.h"
#include "core/SharedState.h"
#include "core/WindowInterfaces.h"
#include "core/WindowProviders.h"
#include "core/WindowRegistry.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString kMergeQuestion = QStringLiteral(
    "Do you wish to merge the loaded station list with the main station list. Selecting No will "
    "open a new station list window.");
const QString kMergeTitle = QStringLiteral("Load Station List");
const QString kStationListCaption = QStringLiteral("Station List");
const QString kLoadedListCaption = QStringLiteral("Station List ");
const QString kLiveWeatherCaption = QStringLiteral("Live Weather data for ");
const QString kWeatherCaption = QStringLiteral("Weather data for ");
const QString kCaptureCaption = QStringLiteral("Screen Capture ");
const QString kLiveStatisticsCaption = QStringLiteral("Live Statistics");
const QString kSavedStatisticsCaption = QStringLiteral("Saved Statistics ");
const QString kStationListEntryPrefix = QStringLiteral("Station List (");
const QString kMainListEntry = QStringLiteral("station List");
const QString kSeparatorId = QStringLiteral("separator");

const QStringList kStationColumns = {"Station", "Type", "Direct", "Dist", "Path", "Lattitude",
                                     "Longitude", "Hrd", "Status", "Time", "Log File"};

} // namespace

QWidget *frmMain::createPlaceholder(const QString &caption, const QString &objectName)
{
    auto *window = new QWidget;
    window->setObjectName(objectName);
    window->setWindowTitle(caption);
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    if (objectName == QLatin1String("frmDocument")) {
        auto *list = new QTableWidget(0, int(kStationColumns.size()), window);
        list->setObjectName(QStringLiteral("lstView"));
        list->setHorizontalHeaderLabels(kStationColumns);
        list->verticalHeader()->hide();
        list->horizontalHeader()->setStretchLastSection(true);
        layout->addWidget(list);
    } else {
        // Until its subsystem lands, the window says plainly what it is.
        auto *label = new QLabel(caption + QStringLiteral("\n\nThis window is not built yet in this version of Kestrel."),
                                 window);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label, 0, Qt::AlignCenter);
    }
    window->resize(560, 300);
    return window;
}

QWidget *frmMain::createOneOnly(const std::function<QWidget *()> &provider, const QString &caption,
                                const QString &objectName)
{
    QWidget *window = provider ? provider() : nullptr;
    if (!window)
        window = createPlaceholder(caption, objectName);
    return window;
}

void frmMain::OpenDataWindow(qint16 kind, const QString &fileName)
{
    WindowProviders &make = providers();
    switch (kind) {
    case 1: {
        ++m_stationLists;
        shared().stationListFile = fileName;
        QString tag = WindowTag::StationList;
        QString caption = kStationListCaption;
        if (!fileName.isEmpty()) {
            const auto answer = Prompts::instance().message(kMergeQuestion, kMergeTitle,
                                                            Prompts::Buttons::YesNo,
                                                            Prompts::Icon::Question);
            if (answer == Prompts::Answer::Yes) {
                if (auto *main = dynamic_cast<StationListWindow *>(
                        WindowRegistry::instance().firstTagged(WindowTag::StationList)))
                    main->MergeStationList(fileName);
                return;
            }
            tag = WindowTag::LoadedStationList;
            caption = kLoadedListCaption + fileName;
        }
        QWidget *window = make.stationList ? make.stationList() : nullptr;
        if (!window)
            window = createPlaceholder(caption, QStringLiteral("frmDocument"));
        window->setWindowTitle(caption);
        QMdiSubWindow *sub = addChild(window, tag, true);
        if (fileName.isEmpty())
            sub->setGeometry(m_mdi->viewport()->rect());  // the main list fills the frame
        listWindow(window, caption);
        break;
    }
    case 2: {
        QString callsign = fileName;
        if (callsign.isEmpty()) {
            QWidget *active = activeChild();
            if (active && WindowRegistry::tagOf(active) == WindowTag::StationList)
                if (auto *list = dynamic_cast<StationListWindow *>(active))
                    callsign = list->selectedCallsign();
        }
        if (callsign.isEmpty())
            return;
        ++m_weatherWindows;
        const QString caption = (fileName.isEmpty() ? kLiveWeatherCaption : kWeatherCaption) + callsign;
        shared().currentStation = callsign;
        QWidget *window = make.weather ? make.weather() : nullptr;
        if (!window)
            window = createPlaceholder(caption, QStringLiteral("frmWx"));
        window->setWindowTitle(caption);
        addChild(window, WindowTag::WxStation, true);
        connect(window, &QObject::destroyed, this, [this] { --m_weatherWindows; });
        listWindow(window, caption);
        break;
    }
    case 3: {
        QWidget *window = openCaptureWindow();
        if (auto *capture = dynamic_cast<CaptureWindow *>(window))
            capture->grabMap(0, 0, 0, 0);
        break;
    }
    case 4: {
        const bool saved = !fileName.isEmpty();
        const QString caption = saved ? kSavedStatisticsCaption + fileName : kLiveStatisticsCaption;
        QWidget *window = make.statistics ? make.statistics(fileName) : nullptr;
        if (!window)
            window = createPlaceholder(caption, QStringLiteral("frmStatistics"));
        window->setWindowTitle(caption);
        addChild(window, saved ? WindowTag::SavedStatistics : WindowTag::LiveStatistics, saved);
        if (saved) {
            if (auto *statistics = dynamic_cast<StatisticsWindow *>(window))
                statistics->LoadStatisticsData(fileName);
            listWindow(window, caption);
        } else {
            m_liveStatistics = window;
        }
        break;
    }
    default:
        break;
    }
}

QWidget *frmMain::openCaptureWindow()
{
    WindowProviders &make = providers();
    ++m_captures;
    const QString caption = kCaptureCaption + QString::number(m_captures);
    QWidget *window = make.capture ? make.capture(m_captures) : nullptr;
    if (!window)
        window = createPlaceholder(caption, QStringLiteral("frmCapture"));
    window->setWindowTitle(caption);
    QMdiSubWindow *sub = addChild(window, WindowTag::ScreenCapture, true);
    // The count is of open capture windows: a number can come round again.
    connect(sub, &QObject::destroyed, this, [this] { --m_captures; });
    listWindow(window, caption);
    return window;
}

void frmMain::listWindow(QWidget *window, const QString &caption)
{
    UpdateWindowList(caption, true);
    // Closing the window takes its entry away again (the entry keeps the
    // caption it was listed under, whatever the window calls itself later).
    if (QWidget *frame = window->parentWidget())
        connect(frame, &QObject::destroyed, this, [this, caption] {
            if (!m_closing)
                UpdateWindowList(caption, false);
        });
}

void frmMain::UpdateWindowList(const QString &strTitle, bool bAction)
{
    if (bAction) {
        ++m_windowListCount;
        auto *entry = new QAction(strTitle, m_windowMenu);
        entry->setObjectName(strTitle);
        entry->setCheckable(true);
        m_windowMenu->addAction(entry);
        if (m_windowListCount == 1) {
            QAction *separator = m_windowMenu->addSeparator();
            separator->setObjectName(kSeparatorId);
        }
        return;
    }
    --m_windowListCount;
    for (QAction *entry : m_windowMenu->actions())
        if (entry->objectName() == strTitle && !m_tools.contains(strTitle)) {
            m_windowMenu->removeAction(entry);
            entry->deleteLater();
            break;
        }
}

void frmMain::SetCheckedWindow(const QString &strTitle, bool bState)
{
    // The main list's caption grows a count; its entry keeps the plain name,
    // found without regard to letter case as the toolbar did.
    const QString id = strTitle.left(14) == kStationListEntryPrefix ? kMainListEntry : strTitle;
    m_updatingWindowList = true;
    for (QAction *entry : m_windowMenu->actions()) {
        if (entry->objectName().compare(id, Qt::CaseInsensitive) != 0 || m_tools.contains(entry->objectName()))
            continue;
        entry->setChecked(bState);
        entry->setIcon(bState ? QIcon(m_checkPicture) : QIcon());
        break;
    }
    m_updatingWindowList = false;
}

void frmMain::focusWindowListEntry(const QString &id)
{
    if (m_updatingWindowList)
        return;
    for (QMdiSubWindow *sub : m_mdi->subWindowList()) {
        QWidget *window = sub->widget();
        if (!window)
            continue;
        const QString caption = window->windowTitle();
        const bool matches = caption == id
                             || (id == kStationListCaption && caption.startsWith(kStationListCaption))
                             || (window == m_dxMonitor && id == QLatin1String("DX Stations Monitor"));
        if (matches) {
            if (sub->isHidden())
                sub->show();
            m_mdi->setActiveSubWindow(sub);
            window->setFocus();
            return;
        }
    }
}

void frmMain::showOneOnly(QWidget *window, const QString &entry, bool on)
{
    if (!window)
        return;
    QWidget *frame = window->parentWidget();
    if (on) {
        // A first showing gets a size that shows a useful amount of text.
        if (frame && !frame->property("kestrelSized").toBool()) {
            frame->setProperty("kestrelSized", true);
            frame->resize(qMax(frame->width(), 640), qMax(frame->height(), 320));
            frame->move(24 * m_windowListCount, 24 * m_windowListCount);
        }
        window->show();
        if (frame)
            frame->show();
        if (auto *sub = qobject_cast<QMdiSubWindow *>(frame))
            m_mdi->setActiveSubWindow(sub);
        UpdateWindowList(entry, true);
    } else {
        if (frame)
            frame->hide();
        else
            window->hide();
        UpdateWindowList(entry, false);
    }
}
