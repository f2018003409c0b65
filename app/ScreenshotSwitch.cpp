#include "app/ScreenshotSwitch.h"

#include "app/frmMain.h"
#include "core/HostApplication.h"
#include "stations/frmDocument.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTabBar>
#include <QTableView>
#include <QTimer>

namespace {

// How long "Select=CALL" waits for the station to be heard.
constexpr int kSelectPatience = 30000;
constexpr int kPollInterval = 100;

void saveBeside(QWidget *window, const QFileInfo &file, const QString &name)
{
    window->grab().save(file.path() + u'/' + file.completeBaseName() + u'-' + name + u'.' + file.suffix());
}

// Clicks the tools in order, then takes the pictures. The picture is timed
// from just before each tool, since a tool may open a modal dialog and not
// come back until it closes: the picture then shows the dialog.
class Screenshot : public QObject
{
public:
    Screenshot(frmMain &main, const QString &file, QStringList tools, int delay)
        : QObject(&main), m_main(main), m_file(file), m_tools(std::move(tools))
    {
        m_picture.setSingleShot(true);
        m_picture.setInterval(delay);
        connect(&m_picture, &QTimer::timeout, this, [this] {
            savePictures();
            QApplication::exit(0);
        });
        m_poll.setInterval(kPollInterval);
        connect(&m_poll, &QTimer::timeout, this, &Screenshot::step);
        m_poll.start();
    }

private:
    void step()
    {
        if (!m_main.loadingDone())
            return;
        m_poll.stop();
        while (!m_tools.isEmpty()) {
            const QString id = m_tools.first();
            if (id.startsWith(QLatin1String("Wait="))) {
                m_tools.removeFirst();
                m_picture.stop();
                QTimer::singleShot(id.mid(5).toInt(), this, &Screenshot::step);
                return;
            }
            if (id.startsWith(QLatin1String("Select=")) && !selectStation(id.mid(7))) {
                // Not heard yet: look again shortly, for a while.
                if (!m_patience.isForever() && m_patience.hasExpired()) {
                    m_tools.removeFirst();
                    continue;
                }
                if (m_patience.isForever())
                    m_patience.setRemainingTime(kSelectPatience);
                m_picture.stop();
                QTimer::singleShot(kPollInterval, this, &Screenshot::step);
                return;
            }
            m_tools.removeFirst();
            m_patience = QDeadlineTimer(QDeadlineTimer::Forever);
            m_picture.start();
            run(id);
        }
        m_picture.start();
    }

    void run(const QString &id)
    {
        if (id == QLatin1String("Test")) {
            m_main.injectTestFrame();
        } else if (id.startsWith(QLatin1String("Sort="))) {
            // A click on that heading of the active list.
            auto *list = dynamic_cast<frmDocument *>(m_main.activeChild());
            const int column = int(StationListModel::headers().indexOf(id.mid(5)));
            if (list && column >= 0)
                emit list->view()->horizontalHeader()->sectionClicked(column);
        } else if (id.startsWith(QLatin1String("Tab="))) {
            // That tab of the active window, when it has one by that name.
            if (QWidget *child = m_main.activeChild())
                for (QTabBar *bar : child->findChildren<QTabBar *>())
                    for (int tab = 0; tab < bar->count(); ++tab)
                        if (bar->tabText(tab) == id.mid(4))
                            bar->setCurrentIndex(tab);
        } else if (id == QLatin1String("HostStation") || id == QLatin1String("HostFeeds")) {
            // The host's own windows, which no toolbar button opens.
            if (HostApplication *host = m_main.host())
                id == QLatin1String("HostStation") ? host->showStationSetup() : host->showFeedsSetup();
        } else if (QAction *tool = m_main.tool(id)) {
            tool->trigger();
        }
    }

    // That station's row in the active list, selected as a click selects it.
    bool selectStation(const QString &callsign)
    {
        auto *list = dynamic_cast<frmDocument *>(m_main.activeChild());
        const int row = list ? list->model().find(callsign) : -1;
        if (row < 0)
            return false;
        list->selectRow(row);
        list->UpdateWxTool(true);
        return true;
    }

    void savePictures()
    {
        m_main.grab().save(m_file);
        const QFileInfo file(m_file);
        // Each child window shown in the frame, whole even where another covers it.
        for (QMdiSubWindow *sub : m_main.mdiArea()->subWindowList())
            if (sub->isVisible() && !sub->isMinimized() && sub->widget() && !sub->widget()->objectName().isEmpty())
                saveBeside(sub, file, sub->widget()->objectName());
        // Other windows on the screen: the host's map, a dialog a tool opened.
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window != &m_main && window->isVisible() && !window->objectName().isEmpty())
                saveBeside(window, file, window->objectName());
        // The whole screen, to see where the windows opened (needs a display server).
        if (qEnvironmentVariableIntValue("KESTREL_SCREENSHOT_SCREEN") != 0)
            if (QScreen *screen = m_main.screen())
                screen->grabWindow(0).save(file.path() + u'/' + file.completeBaseName() + QStringLiteral("-screen.")
                                           + file.suffix());
    }

    frmMain &m_main;
    QString m_file;
    QStringList m_tools;
    QTimer m_poll;
    QTimer m_picture;
    QDeadlineTimer m_patience{QDeadlineTimer::Forever};
};

} // namespace

void startScreenshotSwitch(frmMain &main)
{
    const QString screenshot = qEnvironmentVariable("KESTREL_SCREENSHOT");
    if (screenshot.isEmpty())
        return;
    const QStringList tools = qEnvironmentVariable("KESTREL_SCREENSHOT_TOOLS").split(u',', Qt::SkipEmptyParts);
    new Screenshot(main, screenshot, tools, qMax(qEnvironmentVariableIntValue("KESTREL_SCREENSHOT_DELAY"), 200));
}
