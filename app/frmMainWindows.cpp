// The window factory and the window list of the main window.
#include "app/frmMain.h"

#include "core/AppInfo.h"
#include "core/Prompts.h"
#include "core/SettingsStore.h"
#include "core/SharedState.h"
#include "core/WindowInterfaces.h"
#include "core/WindowProviders.h"
#include "core/WindowRegistry.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

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

const QString kListFontSection = QStringLiteral("Station List");
const QString kListFontKey = QStringLiteral("Font");
const QString kListFontSizeKey = QStringLiteral("Font Size");


} // namespace

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
        if (!make.stationList)
            return;
        QWidget *window = make.stationList();
        window->setWindowTitle(caption);
        QMdiSubWindow *sub = addChild(window, tag, true);
        if (fileName.isEmpty())
            sub->setGeometry(m_mdi->viewport()->rect());  // the main list fills the frame
        connect(sub, &QObject::destroyed, this, [this] { --m_stationLists; });
        if (auto *list = dynamic_cast<StationListWindow *>(window)) {
            if (!m_listFont.isEmpty())
                list->setListFont(m_listFont);
            if (m_listFontSize > 0)
                list->setListFontSize(m_listFontSize);
        }
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
        if (!make.weather)
            return;
        QWidget *window = make.weather();
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
        if (!make.statistics)
            return;
        QWidget *window = make.statistics(fileName);
        window->setWindowTitle(caption);
        addChild(window, saved ? WindowTag::SavedStatistics : WindowTag::LiveStatistics, saved);
        if (saved) {
            if (auto *statistics = dynamic_cast<StatisticsWindow *>(window))
                statistics->LoadStatisticsData(fileName);
            listWindow(window, caption);
        } else {
            m_liveStatistics = window;
            keepOneOnly(window, QStringLiteral("ID_Statistics"), kLiveStatisticsCaption);
        }
        break;
    }
    default:
        break;
    }
}

void frmMain::readListFont()
{
    const SettingsStore &store = SettingsStore::instance();
    m_listFont = store.value(AppInfo::Title, kListFontSection, kListFontKey);
    m_listFontSize = qMax(0, store.value(AppInfo::Title, kListFontSection, kListFontSizeKey).toInt());
    // Shown in the tools without applying them to whatever window is active.
    const QSignalBlocker fontBlocker(combo(QStringLiteral("ID_Font")));
    const QSignalBlocker sizeBlocker(combo(QStringLiteral("ID_FontSize")));
    if (!m_listFont.isEmpty())
        combo(QStringLiteral("ID_Font"))->setCurrentText(m_listFont);
    if (m_listFontSize > 0)
        combo(QStringLiteral("ID_FontSize"))->setCurrentText(QString::number(m_listFontSize));
}

void frmMain::writeListFont() const
{
    SettingsStore &store = SettingsStore::instance();
    if (!m_listFont.isEmpty())
        store.write(AppInfo::Title, kListFontSection, kListFontKey, m_listFont);
    if (m_listFontSize > 0)
        store.write(AppInfo::Title, kListFontSection, kListFontSizeKey, QString::number(m_listFontSize));
}

QWidget *frmMain::openCaptureWindow()
{
    WindowProviders &make = providers();
    if (!make.capture)
        return nullptr;
    ++m_captures;
    // The count of open captures numbers the new one, moved on past any
    // number an open capture still wears, so no two share a caption.
    int number = m_captures;
    while (captureNumberInUse(number))
        ++number;
    const QString caption = kCaptureCaption + QString::number(number);
    QWidget *window = make.capture(number);
    window->setWindowTitle(caption);
    QMdiSubWindow *sub = addChild(window, WindowTag::ScreenCapture, true);
    // The count is of open capture windows: a number can come round again.
    connect(sub, &QObject::destroyed, this, [this] { --m_captures; });
    listWindow(window, caption);
    return window;
}

bool frmMain::captureNumberInUse(int number) const
{
    const QString caption = kCaptureCaption + QString::number(number);
    for (QObject *window : WindowRegistry::instance().tagged(WindowTag::ScreenCapture))
        if (auto *widget = qobject_cast<QWidget *>(window); widget && widget->windowTitle() == caption)
            return true;
    return false;
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
        // A window is active before it is listed.
        if (QWidget *active = activeChild(); active && windowListEntry(active) == strTitle)
            SetCheckedWindow(strTitle, true);
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

void frmMain::keepOneOnly(QWidget *window, const QString &toolId, const QString &entry)
{
    QWidget *frame = window->parentWidget() ? window->parentWidget() : window;
    frame->installEventFilter(this);
    m_oneOnly.append({frame, toolId, entry});
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Close || m_closing)
        return QMainWindow::eventFilter(watched, event);
    for (const OneOnly &one : std::as_const(m_oneOnly)) {
        if (one.frame != watched)
            continue;
        // Windows and frames still hold it, so it hides and stays loaded.
        event->ignore();
        if (QAction *button = tool(one.tool); button && button->isChecked()) {
            button->setChecked(false);
            UpdateWindowList(one.entry, false);
        }
        one.frame->hide();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::showOneOnly(QWidget *window, const QString &entry, bool on)
{
    if (!window)
        return;
    QWidget *frame = window->parentWidget();
    if (on) {
        // A first showing gets a useful size; later ones keep what the user made of it.
        auto *sub = qobject_cast<QMdiSubWindow *>(frame);
        if (sub && !sub->property("kestrelSized").toBool()) {
            sub->setProperty("kestrelSized", true);
            placeNewChild(sub);
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
