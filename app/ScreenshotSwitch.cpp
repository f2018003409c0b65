#include "app/ScreenshotSwitch.h"

#include "app/frmMain.h"
#include "stations/frmDocument.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTableView>
#include <QTimer>

#include <memory>

namespace {

// "Sort=Dist": a click on that heading of the active list.
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

void saveBeside(QWidget *window, const QFileInfo &file, const QString &name)
{
    window->grab().save(file.path() + u'/' + file.completeBaseName() + u'-' + name + u'.' + file.suffix());
}

void savePictures(frmMain &main, const QString &screenshot)
{
    main.grab().save(screenshot);
    const QFileInfo file(screenshot);
    // Each child window shown in the frame, whole even where another covers it.
    for (QMdiSubWindow *sub : main.mdiArea()->subWindowList())
        if (sub->isVisible() && !sub->isMinimized() && sub->widget() && !sub->widget()->objectName().isEmpty())
            saveBeside(sub, file, sub->widget()->objectName());
    // Other windows on the screen: the host's map, a dialog a tool opened.
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window != &main && window->isVisible() && !window->objectName().isEmpty())
            saveBeside(window, file, window->objectName());
    // The whole screen, to see where the windows opened (needs a display server).
    if (qEnvironmentVariableIntValue("KESTREL_SCREENSHOT_SCREEN") != 0)
        if (QScreen *screen = main.screen())
            screen->grabWindow(0).save(file.path() + u'/' + file.completeBaseName() + QStringLiteral("-screen.")
                                       + file.suffix());
}

// Runs the tools in order; "Wait=ms" lets that long pass before the next.
void runTools(frmMain &main, std::shared_ptr<QStringList> tools)
{
    while (!tools->isEmpty()) {
        const QString id = tools->takeFirst();
        if (id.startsWith(QLatin1String("Wait="))) {
            QTimer::singleShot(id.mid(5).toInt(), &main, [&main, tools] { runTools(main, tools); });
            return;
        }
        if (id == QLatin1String("Test"))
            main.injectTestFrame();
        else if (id.startsWith(QLatin1String("Sort=")))
            sortActiveList(main, id.mid(5));
        else if (id.startsWith(QLatin1String("Select=")))
            selectStation(main, id.mid(7));
        else if (QAction *tool = main.tool(id))
            tool->trigger();
    }
}

} // namespace

void startScreenshotSwitch(frmMain &main)
{
    const QString screenshot = qEnvironmentVariable("KESTREL_SCREENSHOT");
    if (screenshot.isEmpty())
        return;
    auto tools = std::make_shared<QStringList>(
        qEnvironmentVariable("KESTREL_SCREENSHOT_TOOLS").split(u',', Qt::SkipEmptyParts));
    int waits = 0;
    for (const QString &id : std::as_const(*tools))
        if (id.startsWith(QLatin1String("Wait=")))
            waits += qMax(0, id.mid(5).toInt());
    const int delay = qMax(qEnvironmentVariableIntValue("KESTREL_SCREENSHOT_DELAY"), 200) + waits;
    auto *poll = new QTimer(&main);
    QObject::connect(poll, &QTimer::timeout, &main, [&main, poll, screenshot, delay, tools] {
        if (!main.loadingDone())
            return;
        poll->stop();
        // Scheduled first: a tool may open a modal dialog, which the picture
        // then shows beside the main window.
        QTimer::singleShot(delay, &main, [&main, screenshot] {
            savePictures(main, screenshot);
            QApplication::exit(0);
        });
        runTools(main, tools);
    });
    poll->start(50);
}
