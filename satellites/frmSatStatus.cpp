#include "satellites/frmSatStatus.h"

#include "core/MainWindowPort.h"
#include "core/Utilities.h"
#include "satellites/OrbiterControl.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMdiSubWindow>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("Satellite Status");
const QStringList kTabs = {QStringLiteral("Text View"), QStringLiteral("World View"), QStringLiteral("Horizon View"),
                           QStringLiteral("Globe View")};

} // namespace

frmSatStatus::frmSatStatus(OrbiterControl &control, QWidget *controlWidget, QWidget *parent)
    : QWidget(parent)
    , m_control(control)
    , m_panel(controlWidget)
    , m_tabs(new QTabWidget(this))
    , m_updater(control, this)
{
    setObjectName(QStringLiteral("frmSatStatus"));
    setWindowTitle(kCaption);
    m_tabs->setObjectName(QStringLiteral("tabViews"));
    m_tabs->setDocumentMode(true);
    for (const QString &caption : kTabs) {
        auto *page = new QWidget(m_tabs);
        auto *pageLayout = new QVBoxLayout(page);
        pageLayout->setContentsMargins(0, 0, 0, 0);
        m_tabs->addTab(page, caption);
    }
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);

    // The settings this window keeps for its control.
    m_panel->setProperty("outputstyle", 0);
    m_panel->setProperty("displaysun", true);
    m_panel->setProperty("displaymoon", true);
    m_panel->setProperty("displaysunfootprint", true);
    m_panel->setProperty("displaymoonfootprint", false);
    m_panel->setProperty("displaydatafields", true);

    // The toolbar's switches start out as the control draws.
    MainWindowPort::showToolState(MainTool::DisplaySun, true);
    MainWindowPort::showToolState(MainTool::DisplayMoon, true);
    MainWindowPort::showToolState(MainTool::PointsOrLines, true);

    const QString data = GetDataFolder();
    m_control.setFolders(data, data);
    m_control.setDisplayOn(true);
    m_control.setDisplayStyle(0);
    m_updater.setTickCounter(999);
    SetupTab(kTabs.first());
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) { SetupTab(m_tabs->tabText(index)); });
    resize(820, 480);
}

void frmSatStatus::SetupTab(const QString &caption)
{
    const int style = int(kTabs.indexOf(caption));
    if (style < 0)
        return;
    QWidget *page = m_tabs->widget(style);
    if (m_panel->parentWidget() != page) {
        page->layout()->addWidget(m_panel);
        m_panel->show();
    }
    if (m_tabs->currentIndex() != style)
        m_tabs->setCurrentIndex(style);
    m_control.setDisplayStyle(style);
}

void frmSatStatus::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The window unloads with the program: its system menu offers no Close,
    // and any other close (the title bar, the keyboard) only hides it, as
    // the toolbar switch does.
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()); frame && !frame->property("kestrelNoClose").toBool()) {
        frame->setProperty("kestrelNoClose", true);
        if (QMenu *menu = frame->systemMenu())
            for (QAction *action : menu->actions())
                if (action->text() == QLatin1String("&Close") || action->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_F4))
                    menu->removeAction(action);
        frame->setAttribute(Qt::WA_DeleteOnClose, false);
        frame->installEventFilter(this);
    }
}

bool frmSatStatus::eventFilter(QObject *watched, QEvent *event)
{
    // The program unloading its windows marks them to be deleted first.
    auto *frame = qobject_cast<QMdiSubWindow *>(watched);
    if (frame && event->type() == QEvent::Close && !frame->testAttribute(Qt::WA_DeleteOnClose)) {
        event->ignore();
        MainWindowPort::switchToolOff(MainTool::SatelliteStatus);
        frame->hide();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
