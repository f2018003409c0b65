#include "app/frmMain.h"

#include "core/AppInfo.h"
#include "app/ActiveWindowKeeper.h"
#include "app/LoadingSequence.h"
#include "app/ToolDefinitions.h"
#include "core/ScreenFit.h"
#include "core/Utilities.h"
#include "core/WindowRegistry.h"
#include "ui/frmHelp.h"

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>

static_assert(std::size(kTools) == std::size_t(MainTool::Count), "one MainTool for each tool definition");

namespace {

const QString kFrameIndicatorTip = QStringLiteral("UI-View32 Data");
const QString kDxIndicatorTip = QStringLiteral("Rx DX Data");

QPixmap led(const QColor &colour)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient gradient(QPointF(5, 5), 8);
    gradient.setColorAt(0, colour.lighter(170));
    gradient.setColorAt(1, colour);
    painter.setBrush(gradient);
    painter.setPen(QPen(colour.darker(180), 1));
    painter.drawEllipse(QRectF(1.5, 1.5, 11, 11));
    return pixmap;
}

std::size_t toolIndex(const QString &id)
{
    for (std::size_t i = 0; i < std::size(kTools); ++i)
        if (id == QLatin1String(kTools[i].id))
            return i;
    return std::size(kTools);
}

QPixmap tick()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 110, 0), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF({QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)}));
    return pixmap;
}

} // namespace

frmMain::frmMain(bool startLoading, QWidget *parent)
    : QMainWindow(parent)
    , m_mdi(new QMdiArea(this))
    , m_ledOff(led(QColor(90, 90, 90)))
    , m_ledOn(led(QColor(0, 200, 0)))
    , m_checkPicture(tick())
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(AppInfo::Title);
    MainWindowPort::install(this);
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setBackground(QColor(112, 128, 144));
    setCentralWidget(m_mdi);

    buildToolbar();
    buildStatusBar();
    buildLinkPanel();
    new ScreenFit::Fitter(this);
    frmHelp::installHelpKey(this);

    // Child windows report activation to the window list.
    m_activeKeeper = new ActiveWindowKeeper(m_mdi);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *sub) {
        // No active window while the focus is elsewhere: the keeper makes the
        // same one active again when it comes back.
        if (!sub && m_activeKeeper->away())
            return;
        for (QMdiSubWindow *each : m_mdi->subWindowList())
            if (each != sub && each->widget())
                SetCheckedWindow(windowListEntry(each->widget()), false);
        if (sub && sub->widget())
            SetCheckedWindow(windowListEntry(sub->widget()), true);
    });

    WindowRegistry::instance().add(this, QString());
    m_tmrLoad.setObjectName(QStringLiteral("tmrLoad"));
    m_tmrLoad.setInterval(100);
    connect(&m_tmrLoad, &QTimer::timeout, this, &frmMain::runLoadingSequence);
    if (startLoading)
        m_tmrLoad.start();
}

frmMain::~frmMain()
{
    // The child windows go first, while this window and its MDI area are
    // whole: their teardown and the callbacks it sets off (the window list,
    // the counts of open windows, a window asking which child is active)
    // reach back into both. Left to the base classes, they would run on a
    // window already half destroyed.
    m_closing = true;
    m_mdi->disconnect(this);
    m_windowMenu->disconnect(this);
    // Every one, closed ones waiting for their deletion included; one
    // window's teardown may take another with it.
    QList<QPointer<QMdiSubWindow>> subs;
    for (QMdiSubWindow *sub : m_mdi->findChildren<QMdiSubWindow *>())
        subs.append(sub);
    for (const QPointer<QMdiSubWindow> &sub : subs)
        delete sub.data();
    // What the base classes still tear down finds no main window.
    if (MainWindowPort::instance() == this)
        MainWindowPort::install(nullptr);
}

QAction *frmMain::makeTool(const ToolDefinition &definition)
{
    const QString id = QString::fromLatin1(definition.id);
    auto *action = new QAction(QString::fromLatin1(definition.caption), this);
    action->setObjectName(id);
    action->setToolTip(QString::fromLatin1(definition.tip));
    action->setStatusTip(QString::fromLatin1(definition.tip));
    action->setProperty("group", QString::fromLatin1(definition.group));
    action->setCheckable(definition.kind == ToolDefinition::TwoState);
    m_tools.insert(id, action);
    return action;
}

void frmMain::buildToolbar()
{
    m_toolbar = addToolBar(QStringLiteral("Tools"));
    m_toolbar->setObjectName(QStringLiteral("tbToolBar"));
    m_toolbar->setMovable(false);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    for (const ToolDefinition &definition : kTools) {
        const std::size_t index = std::size_t(&definition - kTools);
        if (definition.kind == ToolDefinition::Combo) {
            const QString id = QString::fromLatin1(definition.id);
            auto *box = new QComboBox(this);
            box->setObjectName(id);
            box->setToolTip(QString::fromLatin1(definition.tip));
            box->setAccessibleName(QString::fromLatin1(definition.caption).remove(u'&'));
            m_combos.insert(id, box);
            // The action that will carry the list on the toolbar, made now so
            // that every tool has its action from the start.
            auto *carrier = new QWidgetAction(this);
            carrier->setObjectName(id);
            m_toolsById[index] = carrier;
            continue;
        }
        m_toolsById[index] = makeTool(definition);
    }
    // Help and the shortcuts operators expect from a desktop program.
    tool("ID_Open...")->setShortcut(QKeySequence::Open);
    tool("ID_Save")->setShortcut(QKeySequence::Save);
    tool("ID_Print")->setShortcut(QKeySequence::Print);
    tool("ID_Exit")->setShortcut(QKeySequence::Quit);
    // F1 opens the page of whatever window it is pressed in (frmHelp).
    tool("ID_Contents")->setStatusTip(QStringLiteral("The user guide; F1 opens the page of the active window"));
    tool("ID_Properties")->setShortcut(Qt::ALT | Qt::Key_Return);
    tool("ID_StationList")->setChecked(true);

    auto addMenu = [this](const QString &title, const QStringList &ids) {
        auto *menu = new QMenu(title, this);
        for (const QString &id : ids) {
            if (id.isEmpty())
                menu->addSeparator();
            else
                menu->addAction(tool(id));
        }
        auto *button = new QToolButton(this);
        button->setText(title);
        button->setMenu(menu);
        button->setPopupMode(QToolButton::InstantPopup);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        m_toolbar->addWidget(button);
        return menu;
    };
    addMenu(QStringLiteral("&File"), {"ID_Open...", "ID_Save", "", "ID_Print", "ID_PrintPreview", "",
                                      "ID_Options", "ID_LogMaintenance", "", "ID_Exit"});
    addMenu(QStringLiteral("&Edit"), {"ID_Cut", "ID_Copy", "ID_Paste", "", "ID_Properties"});
    m_windowMenu = addMenu(QStringLiteral("&Window"), {"ID_TileHorizontally", "ID_Tilevertically",
                                                       "ID_Cascade", "ID_ArrangeIcons", "", "ID_HostMap", ""});
    tool("ID_HostMap")->setEnabled(false);  // until a host with a map window is attached
    auto *windowTool = new QAction(QStringLiteral("Window"), this);
    windowTool->setObjectName(QStringLiteral("ID_Window"));
    windowTool->setMenu(m_windowMenu);
    m_tools.insert(windowTool->objectName(), windowTool);
    addMenu(QStringLiteral("&Help"), {"ID_Contents", "ID_Search", "", "ID_About..."});
    m_toolbar->addSeparator();

    auto addTools = [this](const QStringList &ids) {
        for (const QString &id : ids) {
            if (QComboBox *box = combo(id)) {
                auto *label = new QLabel(QStringLiteral(" ") + box->accessibleName() + QStringLiteral(" "), this);
                label->setBuddy(box);
                auto *action = static_cast<QWidgetAction *>(m_toolsById[toolIndex(id)]);
                QWidget *holder = new QWidget(this);
                auto *layout = new QHBoxLayout(holder);
                layout->setContentsMargins(2, 0, 2, 0);
                layout->setSpacing(2);
                layout->addWidget(label);
                layout->addWidget(box);
                action->setDefaultWidget(holder);
                m_toolbar->addAction(action);
            } else {
                m_toolbar->addAction(tool(id));
            }
        }
        m_toolbar->addSeparator();
    };
    addTools({"ID_StationList", "ID_WXDisplay", "ID_Properties"});
    addTools({"ID_PlotPath", "ID_PlotDX", "ID_ClearMap", "ID_Capture", "ID_WxDates"});

    // The window, satellite and font tools sit on a second row, the two rows
    // about as long, so nothing hides behind an overflow arrow.
    addToolBarBreak();
    QToolBar *first = m_toolbar;
    m_toolbar = addToolBar(QStringLiteral("Windows and satellites"));
    m_toolbar->setObjectName(QStringLiteral("tbToolBar2"));
    m_toolbar->setMovable(false);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    addTools({"ID_Inbound", "ID_DXClusterDisplay", "ID_Statistics", "ID_ShowHide", "ID_Messages"});
    tool("ID_Messages")->setEnabled(false);  // until a host that carries messages is attached
    addMenu(QStringLiteral("&Satellites"), {"ID_SatelliteStatus", "ID_SatelliteSetup", "", "ID_Refresh",
                                            "ID_DisplayMoon", "ID_DisplaySun", "ID_PointsOrLines"});
    addTools({"ID_Orbits", "ID_PlotInterval"});
    addTools({"ID_Font", "ID_FontSize"});
    m_toolbar = first;

    combo("ID_PlotInterval")->addItems(kPlotIntervals);
    combo("ID_Font")->addItems(kFonts);
    combo("ID_Font")->setEditable(true);
    for (const char *id : {"ID_Font", "ID_WxDates", "ID_PlotInterval"})
        combo(id)->setMaximumWidth(110);
    combo("ID_FontSize")->setMaximumWidth(60);
    combo("ID_Orbits")->setMaximumWidth(50);
    combo("ID_FontSize")->setEditable(true);
    combo("ID_FontSize")->addItems({"8", "9", "10", "11", "12", "14", "16"});
    combo("ID_FontSize")->setCurrentText(QStringLiteral("9"));
    combo("ID_WxDates")->setEditable(true);
    // Wide enough for a whole day's date.
    combo("ID_WxDates")->setMinimumContentsLength(10);
    combo("ID_WxDates")->setMaximumWidth(122);
    for (int orbits = 1; orbits <= 10; ++orbits)
        combo("ID_Orbits")->addItem(QString::number(orbits));

    // Icons where the platform style has a fitting one.
    QStyle *s = style();
    tool("ID_Open...")->setIcon(s->standardIcon(QStyle::SP_DialogOpenButton));
    tool("ID_Save")->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));
    tool("ID_Exit")->setIcon(s->standardIcon(QStyle::SP_DialogCloseButton));
    tool("ID_Contents")->setIcon(s->standardIcon(QStyle::SP_DialogHelpButton));
    tool("ID_Refresh")->setIcon(s->standardIcon(QStyle::SP_BrowserReload));

    for (QAction *action : std::as_const(m_tools))
        if (action->objectName() != QLatin1String("ID_Window"))
            connect(action, &QAction::triggered, this, [this, action] { toolClicked(action); });
    for (auto it = m_combos.cbegin(); it != m_combos.cend(); ++it) {
        const QString id = it.key();
        QComboBox *box = it.value();
        connect(box, &QComboBox::activated, this, [this, id] { comboChanged(id); });
        if (id == QLatin1String("ID_WxDates") || id == QLatin1String("ID_Font"))
            connect(box, &QComboBox::editTextChanged, this, [this, id] { comboChanged(id); });
        if (id == QLatin1String("ID_FontSize"))
            connect(box, &QComboBox::editTextChanged, this, [this, id](const QString &text) {
                bool numeric = false;
                text.toDouble(&numeric);
                if (numeric)
                    comboChanged(id);
            });
    }
    // The window list's entries are tools whose identifier is a caption.
    connect(m_windowMenu, &QMenu::triggered, this, [this](QAction *action) {
        if (!m_tools.contains(action->objectName()))
            focusWindowListEntry(action->objectName());
    });
}

QSize frmMain::firstStartSize() const
{
    // Both toolbar rows whole, and a list of useful height below them.
    int width = 0;
    for (const QToolBar *bar : findChildren<QToolBar *>(Qt::FindDirectChildrenOnly))
        width = std::max(width, bar->sizeHint().width());
    return {std::max(width + 8, 1000), 720};
}

QMenu *frmMain::createPopupMenu()
{
    // The toolbar's context menu: the bars and panels, and the host's map.
    QMenu *menu = QMainWindow::createPopupMenu();
    if (!menu)
        menu = new QMenu(this);
    menu->addSeparator();
    menu->addAction(tool("ID_HostMap"));
    return menu;
}

void frmMain::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    for (int i = 0; i < 5; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(QStringLiteral("panel%1").arg(i + 1));
        m_panels[i]->setContentsMargins(4, 0, 4, 0);
    }
    m_panels[0]->setMinimumWidth(220);
    m_panels[1]->setText(AppInfo::Title + QStringLiteral(" ") + AppInfo::VersionText);
    m_panels[3]->setToolTip(kFrameIndicatorTip);
    m_panels[4]->setToolTip(kDxIndicatorTip);
    m_panels[3]->setPixmap(m_ledOff);
    m_panels[4]->setPixmap(m_ledOff);
    bar->addWidget(m_panels[0], 1);
    m_messagesPanel = new QLabel(this);
    m_messagesPanel->setObjectName(QStringLiteral("panelMessages"));
    m_messagesPanel->setContentsMargins(4, 0, 4, 0);
    m_messagesPanel->setTextFormat(Qt::PlainText);
    m_messagesPanel->hide();
    bar->addPermanentWidget(m_messagesPanel);
    bar->addPermanentWidget(m_panels[1]);
    bar->addPermanentWidget(m_panels[2]);
    bar->addPermanentWidget(m_panels[3]);
    bar->addPermanentWidget(m_panels[4]);
}

void frmMain::buildLinkPanel()
{
    m_linkPanel = new QDockWidget(QStringLiteral("Link"), this);
    m_linkPanel->setObjectName(QStringLiteral("picLink"));
    auto *panel = new QWidget(m_linkPanel);
    auto *layout = new QHBoxLayout(panel);
    layout->setContentsMargins(6, 2, 6, 2);
    auto *label = new QLabel(QStringLiteral("Inbound"), panel);
    m_text1 = new QLineEdit(panel);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setReadOnly(true);
    label->setBuddy(m_text1);
    auto *test = new QPushButton(QStringLiteral("&Test"), panel);
    test->setObjectName(QStringLiteral("cmdTest"));
    test->setToolTip(QStringLiteral("Inject a sample frame as if the host had heard it"));
    layout->addWidget(label);
    layout->addWidget(m_text1, 1);
    layout->addWidget(test);
    m_linkPanel->setWidget(panel);
    addDockWidget(Qt::BottomDockWidgetArea, m_linkPanel);
    m_linkPanel->hide();
    connect(test, &QPushButton::clicked, this, &frmMain::injectTestFrame);
}

QString frmMain::statusText() const { return m_panels[0]->text(); }

void frmMain::setStatusText(const QString &text)
{
    m_panels[0]->setText(text);
    m_panels[0]->repaint();
}

void frmMain::setIndicator(int panel, bool on)
{
    if (panel == 4)
        m_frameLit = on;
    else
        m_dxLit = on;
    m_panels[panel - 1]->setPixmap(on ? m_ledOn : m_ledOff);
}

QMdiSubWindow *frmMain::addChild(QWidget *window, const QString &tag, bool show)
{
    QMdiSubWindow *sub = m_mdi->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose, true);
    WindowRegistry::instance().add(window, tag);
    if (show) {
        placeNewChild(sub);
        window->show();
        sub->show();
    } else {
        sub->hide();
    }
    return sub;
}

QString frmMain::windowListEntry(QWidget *window) const
{
    // The DX monitor's caption follows its tab; its entry keeps its name.
    return window == m_dxMonitor ? QStringLiteral("DX Stations Monitor") : window->windowTitle();
}

QWidget *frmMain::activeChild() const
{
    QMdiSubWindow *sub = m_mdi->activeSubWindow();
    if (!sub)
        sub = m_mdi->currentSubWindow();
    return sub && sub->isVisible() ? sub->widget() : nullptr;
}

void frmMain::runLoadingSequence()
{
    if (m_loadingDone)
        return;
    m_tmrLoad.stop();
    LoadingSequence(*this).run();
}
