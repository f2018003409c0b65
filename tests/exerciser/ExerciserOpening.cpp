// Opening every window kind the way a user does: tools, File Open with a
// typed path, Save, a row picked in the station list, a rubber band.
#include "Exerciser.h"

#include "app/frmMain.h"
#include "core/Utilities.h"
#include "core/WindowRegistry.h"
#include "stations/frmDocument.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolBar>

namespace {

const QString kStationList = QStringLiteral("Station List");
const QString kLoadedList = QStringLiteral("Loaded Station List");
const QString kWeather = QStringLiteral("WX Station");
const QString kCapture = QStringLiteral("Screen Capture");
const QString kLiveStatistics = QStringLiteral("Live Statistics");
const QString kSavedStatistics = QStringLiteral("Saved Statistics");
const QString kDxMonitor = QStringLiteral("DX Monitor");

bool isFileDialog(QWidget *modal) { return qobject_cast<QFileDialog *>(modal) != nullptr; }

bool isQuestion(QWidget *modal, const char *words)
{
    auto *box = qobject_cast<QMessageBox *>(modal);
    return box && box->text().contains(QLatin1String(words), Qt::CaseInsensitive);
}

void clickButton(QWidget *box, QMessageBox::StandardButton which)
{
    if (QAbstractButton *button = qobject_cast<QMessageBox *>(box)->button(which))
        QTest::mouseClick(button, Qt::LeftButton);
}

QWidget *topLevelNamed(const QString &name)
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->objectName() == name && window->isVisible())
            return window;
    return nullptr;
}

} // namespace

QString Exerciser::pickFile(const QString &folder, const QString &pattern)
{
    const QStringList names = QDir(folder).entryList({pattern}, QDir::Files, QDir::Name);
    return names.isEmpty() ? QString() : folder + u'/' + pick(names);
}

void Exerciser::typeIntoFileDialog(QWidget *dialog, const QString &path)
{
    auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    if (!name) {
        QTest::keyClick(dialog, Qt::Key_Escape);
        return;
    }
    name->setFocus();
    name->setText(path);
    log(QStringLiteral("type \"%1\" and Enter").arg(path));
    QTest::keyClick(name, Qt::Key_Return);
}

bool Exerciser::activateTagged(const QString &tag)
{
    auto *window = qobject_cast<QWidget *>(WindowRegistry::instance().firstTagged(tag));
    auto *frame = window ? qobject_cast<QMdiSubWindow *>(window->parentWidget()) : nullptr;
    if (!frame || !frame->isVisible())
        return false;
    if (frame->isMinimized())
        frame->showNormal();
    // As a click on it would: the main window comes to the front too.
    m_main.activateWindow();
    m_main.mdiArea()->setActiveSubWindow(frame);
    log(QStringLiteral("activate %1").arg(window->windowTitle()));
    return m_main.activeChild() == window;
}

// A row of the main list whose station has weather on file, selected by a click.
void Exerciser::selectWeatherStation()
{
    auto *list = dynamic_cast<frmDocument *>(WindowRegistry::instance().firstTagged(kStationList));
    if (!list || !activateTagged(kStationList))
        return;
    QStringList callsigns;
    for (const QString &file : QDir(GetDataFolder() + QStringLiteral("/WxData")).entryList({QStringLiteral("*.kew")}))
        callsigns << file.chopped(4);
    for (int attempt = 0; attempt < 20 && !callsigns.isEmpty(); ++attempt) {
        const int row = list->model().find(pick(callsigns));
        if (row < 0)
            continue;
        QTableView *view = list->view();
        view->scrollTo(view->model()->index(row, 0));
        const QRect cell = view->visualRect(view->model()->index(row, 0));
        log(QStringLiteral("click the station list row of %1").arg(list->model().cell(row, 0)));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        return;
    }
}

void Exerciser::buildOpeningPlan()
{
    auto tool = [this](const char *id) {
        return [this, id] {
            QAction *action = m_main.tool(QString::fromLatin1(id));
            if (!action || (action->isCheckable() && action->isChecked()))
                return;
            log(QStringLiteral("tool %1").arg(action->objectName()));
            action->trigger();
        };
    };
    auto expecting = [this](const QString &what, std::function<bool(QWidget *)> matches,
                            std::function<void(QWidget *)> answer, std::function<void()> step) {
        return [this, what, matches, answer, step] {
            expect(what, matches, answer);
            step();
            // A dialog that never came is not waited for.
            m_expected.removeIf([&what](const Expectation &e) { return e.what == what; });
        };
    };

    for (const char *id : {"ID_Inbound", "ID_DXClusterDisplay", "ID_Statistics", "ID_HostMap"})
        m_plan.push_back(tool(id));

    // Every satellite of the demo set, each third one plotted on the map.
    m_plan.push_back(expecting(
        QStringLiteral("choose every satellite"),
        [](QWidget *modal) { return modal->objectName() == QLatin1String("frmSatSetup"); },
        [this](QWidget *dialog) {
            auto *available = dialog->findChild<QListWidget *>(QStringLiteral("lstSats"));
            available->setFocus();
            QTest::keyClick(available, Qt::Key_A, Qt::ControlModifier);
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdAdd")), Qt::LeftButton);
            auto *selected = dialog->findChild<QWidget *>(QStringLiteral("lstSelected"));
            selected->setFocus();
            for (int i = 0; i < 12; ++i) {
                QTest::keyClick(selected, Qt::Key_Down);
                if (i % 3 == 0)
                    QTest::keyClick(selected, Qt::Key_Space);
            }
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
        },
        tool("ID_SatelliteSetup")));
    m_plan.push_back(tool("ID_SatelliteStatus"));

    // A capture, and a capture of part of it.
    m_plan.push_back(tool("ID_Capture"));
    m_plan.push_back(expecting(
        QStringLiteral("Yes to copying the area"), [](QWidget *modal) { return isQuestion(modal, "copy"); },
        [](QWidget *box) { clickButton(box, QMessageBox::Yes); },
        [this] {
            if (!activateTagged(kCapture))
                return;
            QWidget *picture = m_main.activeChild()->findChild<QWidget *>(QStringLiteral("picInner"));
            if (!picture)
                return;
            log(QStringLiteral("drag a rectangle over the capture"));
            QTest::mousePress(picture, Qt::LeftButton, {}, QPoint(40, 30));
            QTest::mouseMove(picture, QPoint(120, 90));
            QTest::mouseMove(picture, QPoint(260, 200));
            QTest::mouseRelease(picture, Qt::LeftButton, {}, QPoint(260, 200));
        }));

    // Weather: a live window for a station picked in the list, another from its file.
    m_plan.push_back([this] { selectWeatherStation(); });
    m_plan.push_back(tool("ID_WXDisplay"));
    m_plan.push_back(expecting(
        QStringLiteral("a weather data file"), isFileDialog,
        [this](QWidget *dialog) {
            typeIntoFileDialog(dialog, pickFile(GetDataFolder() + QStringLiteral("/WxData"), QStringLiteral("*.kew")));
        },
        tool("ID_Open...")));

    // A saved station list, opened again as a list of its own.
    m_plan.push_back(expecting(
        QStringLiteral("a name for the station list"), isFileDialog,
        [this](QWidget *dialog) { typeIntoFileDialog(dialog, GetDataFolder() + QStringLiteral("/Saved Lists/exercise.kel")); },
        [this, tool] {
            if (activateTagged(kStationList))
                tool("ID_Save")();
        }));
    m_plan.push_back([this, expecting, tool] {
        expect(QStringLiteral("No to merging"), [](QWidget *modal) { return isQuestion(modal, "merge"); },
               [](QWidget *box) { clickButton(box, QMessageBox::No); });
        expecting(
            QStringLiteral("a station list file"), isFileDialog,
            [this](QWidget *dialog) {
                typeIntoFileDialog(dialog, pickFile(GetDataFolder() + QStringLiteral("/Saved Lists"), QStringLiteral("*.kel")));
            },
            tool("ID_Open..."))();
        m_expected.removeIf([](const Expectation &e) { return e.what == QLatin1String("No to merging"); });
    });

    // Saved statistics, opened again.
    m_plan.push_back(expecting(
        QStringLiteral("a name for the statistics"), isFileDialog,
        [this](QWidget *dialog) { typeIntoFileDialog(dialog, GetDataFolder() + QStringLiteral("/Statistics/exercise.kes")); },
        [this, tool] {
            if (activateTagged(kLiveStatistics))
                tool("ID_Save")();
        }));
    m_plan.push_back(expecting(
        QStringLiteral("a statistics file"), isFileDialog,
        [this](QWidget *dialog) {
            typeIntoFileDialog(dialog, pickFile(GetDataFolder() + QStringLiteral("/Statistics"), QStringLiteral("*.kes")));
        },
        tool("ID_Open...")));

    // The dialogs, each used a while and answered by the usual rules.
    m_plan.push_back([this] { selectWeatherStation(); });
    m_plan.push_back(tool("ID_Properties"));
    for (const char *id : {"ID_Options", "ID_LogMaintenance", "ID_About...", "ID_SatelliteSetup"})
        m_plan.push_back(tool(id));
    // The stations monitor stands in for the main window for a moment.
    m_plan.push_back(tool("ID_ShowHide"));
    m_plan.push_back([this] {
        m_kindsSeen << QStringLiteral("stations monitor");
        log(QStringLiteral("tool ID_ShowHide"));
        m_main.tool(QStringLiteral("ID_ShowHide"))->trigger();
    });
}

// Every kind of window the program has, open now or seen during the plan.
void Exerciser::checkKindsOpen()
{
    const WindowRegistry &windows = WindowRegistry::instance();
    auto need = [this](bool present, const QString &kind) {
        if (!present)
            m_kindsMissing << kind;
    };
    for (const QString &tag : {kStationList, kLoadedList, kWeather, kLiveStatistics, kSavedStatistics, kDxMonitor})
        need(!windows.tagged(tag).isEmpty(), tag);
    need(windows.tagged(kCapture).size() >= 2, QStringLiteral("two captures"));
    need(m_main.terminal() && m_main.terminal()->isVisible(), QStringLiteral("terminal"));
    need(m_main.satelliteStatus() && m_main.satelliteStatus()->isVisible(), QStringLiteral("satellite status"));
    need(topLevelNamed(QStringLiteral("HostMapWindow")), QStringLiteral("host map"));
    need(topLevelNamed(QStringLiteral("frmWxToolbar")), QStringLiteral("chart tools"));
    for (const char *dialog : {"frmStationInfo", "frmOptions", "frmLogMaintenance", "frmAbout", "frmSatSetup"})
        need(m_kindsSeen.contains(QString::fromLatin1(dialog)), QString::fromLatin1(dialog));
    need(m_kindsSeen.contains(QStringLiteral("stations monitor")), QStringLiteral("stations monitor"));
    if (!m_kindsMissing.isEmpty())
        fail(QStringLiteral("could not open every window kind; missing: ") + m_kindsMissing.join(QStringLiteral(", ")));
    log(QStringLiteral("every window kind has been opened"));
}

// One of the kinds a long run keeps open, brought back after the user closed it.
void Exerciser::reopenMissingKind()
{
    const WindowRegistry &windows = WindowRegistry::instance();
    QList<std::function<void()>> choices;
    auto toolOn = [this](const char *id) {
        QAction *action = m_main.tool(QString::fromLatin1(id));
        if (action && action->isCheckable() && !action->isChecked())
            return std::function<void()>([this, action] {
                log(QStringLiteral("tool %1").arg(action->objectName()));
                action->trigger();
            });
        return std::function<void()>();
    };
    for (const char *id : {"ID_Inbound", "ID_DXClusterDisplay", "ID_Statistics", "ID_SatelliteStatus", "ID_StationList"})
        if (auto reopen = toolOn(id))
            choices << reopen;
    if (windows.tagged(kCapture).size() < 2)
        choices << [this] {
            log(QStringLiteral("tool ID_Capture"));
            m_main.tool(QStringLiteral("ID_Capture"))->trigger();
        };
    auto openFile = [this](const QString &folder, const QString &pattern) {
        return [this, folder, pattern] {
            const QString path = pickFile(GetDataFolder() + folder, pattern);
            if (path.isEmpty())
                return;
            expect(QStringLiteral("reopen a file"), isFileDialog, [this, path](QWidget *dialog) { typeIntoFileDialog(dialog, path); });
            log(QStringLiteral("tool ID_Open..."));
            m_main.tool(QStringLiteral("ID_Open..."))->trigger();
            m_expected.removeIf([](const Expectation &e) { return e.what == QLatin1String("reopen a file"); });
        };
    };
    if (windows.tagged(kWeather).isEmpty())
        choices << openFile(QStringLiteral("/WxData"), QStringLiteral("*.kew"));
    if (windows.tagged(kLoadedList).isEmpty())
        choices << openFile(QStringLiteral("/Saved Lists"), QStringLiteral("*.kel"));
    if (windows.tagged(kSavedStatistics).isEmpty())
        choices << openFile(QStringLiteral("/Statistics"), QStringLiteral("*.kes"));
    if (!topLevelNamed(QStringLiteral("HostMapWindow")))
        choices << [this] {
            log(QStringLiteral("tool ID_HostMap"));
            m_main.tool(QStringLiteral("ID_HostMap"))->trigger();
        };
    if (!choices.isEmpty())
        pick(choices)();
}
