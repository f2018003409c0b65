// Every window the program opens, reached the way a user reaches it: each
// tool of the main toolbar is clicked in turn on the real program. Each
// window must open whole on a 1,280 x 800 screen, and the user guide must
// have a page for it. Runs on the offscreen platform's 1,280 x 800 screen
// (see tests/app/CMakeLists.txt).
#include "LiveProgramFixture.h"

#include "app/ToolDefinitions.h"
#include "capture/frmCapture.h"
#include "core/ScreenFit.h"
#include "host/map/HostMapWindow.h"
#include "ui/HelpGuide.h"
#include "ui/frmHelp.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {

const QString kWeatherStation = QStringLiteral(
    "G4KWA>APKS01,WIDE1-1:@072000z5144.40N/00113.20W_200/004g007t043r000p003P002h80b10132Cowley");
const QString kStation = QStringLiteral("G4KDA>APKS01,G3KDC-1*,WIDE2-1:!5145.67N/00115.71W-Home station, Headington");

// Every window that is shown: top-level windows and the children of the main window's frame.
class ShownWindows : public QObject
{
public:
    ShownWindows() { qApp->installEventFilter(this); }
    ~ShownWindows() override { qApp->removeEventFilter(this); }
    QList<QPointer<QWidget>> windows;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show || !watched->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        const bool child = qobject_cast<QMdiSubWindow *>(widget->parentWidget()) != nullptr;
        const bool window = widget->isWindow() && (widget->windowType() == Qt::Window || widget->windowType() == Qt::Dialog
                                                   || widget->windowType() == Qt::Tool);
        if ((child || window) && !windows.contains(widget))
            windows << widget;
        return false;
    }
};

QString describe(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

class EveryWindowTest : public LiveProgramTest
{
protected:
    void SetUp() override
    {
        LiveProgramTest::SetUp();
        ASSERT_TRUE(guide.load(HelpGuide::shippedFolder())) << "the guide is built into share/kestrel/guide";
    }
    void TearDown() override
    {
        for (QWidget *window : QApplication::topLevelWidgets())
            if (qobject_cast<frmHelp *>(window))
                delete window;
        LiveProgramTest::TearDown();
    }

    QRect screen() const { return main->screen()->availableGeometry(); }

    // The window's frame, title bar and borders included, lies on the screen.
    void expectOnScreen(const QWidget *window, const QString &name) const
    {
        const QRect frame = window->isWindow() ? window->frameGeometry()
                                               : QRect(window->parentWidget()->mapToGlobal(QPoint(0, 0)),
                                                       window->parentWidget()->size());
        EXPECT_TRUE(screen().contains(frame)) << name.toStdString() << " at " << describe(frame).toStdString()
                                              << " on " << describe(screen()).toStdString();
    }

    void selectInMainList(const QString &callsign)
    {
        activate(mainList());
        mainList()->selectRow(rowOf(callsign));
        mainList()->UpdateWxTool(true);
    }

    // The page the guide's window shows (the newest window, over a dialog).
    static QString shownHelpPage()
    {
        QString page;
        for (QWidget *window : QApplication::topLevelWidgets())
            if (auto *help = qobject_cast<frmHelp *>(window); help && help->isVisible())
                if (page.isEmpty() || help->parentWidget() == QApplication::activeModalWidget())
                    page = help->currentPage();
        return page;
    }

    HelpGuide guide;
};

} // namespace

TEST_F(EveryWindowTest, TheFirstStartShowsBothToolbarRowsWholeOnTheScreen)
{
    ASSERT_GE(QGuiApplication::primaryScreen()->availableGeometry().width(), 1280)
        << "run on the 1280 x 800 offscreen screen (QT_QPA_PLATFORM=offscreen:configfile=...)";
    frmMain &m = start({kStation});
    expectOnScreen(&m, QStringLiteral("main window"));
    const QList<QToolBar *> bars = m.findChildren<QToolBar *>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(bars.size(), 2);
    for (QToolBar *bar : bars) {
        const auto *overflow = bar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button"));
        EXPECT_TRUE(!overflow || !overflow->isVisible()) << bar->objectName().toStdString() << " overflows";
        for (QAction *action : bar->actions()) {
            if (QWidget *shown = bar->widgetForAction(action)) {
                EXPECT_TRUE(shown->isVisible() && bar->rect().contains(shown->geometry()))
                    << action->objectName().toStdString() << action->text().toStdString();
            }
        }
    }
    expectOnScreen(host()->window(), QStringLiteral("host map"));
}

TEST_F(EveryWindowTest, EveryWindowOpensOnTheScreenAndHasItsPageInTheGuide)
{
    frmMain &m = start({kWeatherStation, kStation});
    play();
    ShownWindows shown;
    QSet<QString> kinds;

    for (const ToolDefinition &definition : kTools) {
        const QString id = QString::fromLatin1(definition.id);
        QAction *tool = m.tool(id);
        if (!tool || id == QLatin1String("ID_Exit"))
            continue;
        SCOPED_TRACE(id.toStdString());
        if (id == QLatin1String("ID_WXDisplay"))
            selectInMainList(QStringLiteral("G4KWA"));
        else if (id == QLatin1String("ID_Properties"))
            selectInMainList(QStringLiteral("G4KDA"));
        // A modal dialog: looked at while open, then closed.
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            kinds << dialog->objectName();
            expectOnScreen(dialog, dialog->objectName());
            EXPECT_GE(dialog->width(), ScreenFit::captionWidth(dialog)) << dialog->windowTitle().toStdString();
            dialog->reject();
        });
        tool->trigger();
        settle();
        for (const QPointer<QWidget> &window : std::as_const(shown.windows))
            if (window && window->isVisible() && !window->isMinimized()) {
                kinds << window->objectName();
                expectOnScreen(window, window->objectName());
            }
        if (id == QLatin1String("ID_Capture")) {
            auto *capture = WindowRegistry::instance().first<frmCapture>();
            ASSERT_NE(capture, nullptr);
            EXPECT_FALSE(capture->HScroll1->isVisible() || capture->VScroll1->isVisible())
                << "the picture opens whole: " << describe(capture->rect()).toStdString();
        }
        if (id == QLatin1String("ID_ShowHide")) {
            QWidget *floating = nullptr;
            for (QWidget *window : QApplication::topLevelWidgets())
                if (window->objectName() == QLatin1String("frmStations") && window->isVisible())
                    floating = window;
            ASSERT_NE(floating, nullptr);
            auto *box = floating->findChild<QComboBox *>(QStringLiteral("ID_Stations"));
            ASSERT_NE(box, nullptr);
            bool labelled = false;
            for (const QLabel *label : floating->findChildren<QLabel *>())
                labelled = labelled || label->buddy() == box;
            EXPECT_TRUE(labelled) << "the station box has a label";
        }
        // What a two-state tool hid or minimised comes back.
        if (id == QLatin1String("ID_ShowHide") || id == QLatin1String("ID_StationList"))
            tool->trigger();
        settle();
    }
    for (QObject *window : WindowRegistry::instance().windows())
        kinds << window->objectName();
    kinds << host()->window()->objectName();
    kinds.remove(QString());

    EXPECT_GE(kinds.size(), 17) << "the crawl reached the program's windows: " << QStringList(kinds.values()).join(u' ').toStdString();
    for (const QString &kind : std::as_const(kinds))
        EXPECT_FALSE(guide.pageForWindow(kind).isEmpty()) << "the guide has no page for " << kind.toStdString();
}

TEST_F(EveryWindowTest, EveryPictureTheGuideShowsIsThere)
{
    static const QRegularExpression picture(QStringLiteral("<img[^>]*src=\"([^\"]+)\""));
    for (const HelpGuide::Page &page : guide.pages()) {
        QFile file(guide.path(page.file));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        int pictures = 0;
        for (auto it = picture.globalMatch(QString::fromUtf8(file.readAll())); it.hasNext(); ++pictures) {
            const QString source = it.next().captured(1);
            const QImage image(guide.path(source));
            EXPECT_FALSE(image.isNull()) << page.file.toStdString() << ": " << source.toStdString();
        }
        if (!page.windows.isEmpty()) {
            EXPECT_GT(pictures, 0) << page.file.toStdString() << " shows no picture of its window";
        }
    }
}

TEST_F(EveryWindowTest, F1OpensThePageOfTheActiveWindowOrDialog)
{
    frmMain &m = start({kStation});
    m.tool("ID_DXClusterDisplay")->trigger();
    settle();
    QWidget *dx = m.activeChild();
    ASSERT_NE(dx, nullptr);
    QTest::keyClick(dx, Qt::Key_F1);
    EXPECT_EQ(shownHelpPage(), guide.pageForWindow(QStringLiteral("frmDx")));

    QString page;
    QTimer::singleShot(0, [&] {
        QWidget *options = QApplication::activeModalWidget();
        ASSERT_NE(options, nullptr);
        QTest::keyClick(options, Qt::Key_F1);
        page = shownHelpPage();
        options->close();
    });
    m.tool("ID_Options")->trigger();
    EXPECT_EQ(page, guide.pageForWindow(QStringLiteral("frmOptions")));
}
