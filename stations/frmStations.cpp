#include "stations/frmStations.h"

#include "core/HostApplication.h"
#include "core/MainWindowPort.h"
#include "core/SharedState.h"
#include "core/Utilities.h"
#include "core/WindowRegistry.h"
#include "stations/EmergencyAlerts.h"
#include "stations/frmDocument.h"

#include <QAction>
#include <QCloseEvent>
#include <QColor>
#include <QLabel>
#include <QListView>
#include <QStringListModel>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

QPointer<frmStations> &monitor()
{
    static QPointer<frmStations> one;
    return one;
}

constexpr int kRefreshMs = 300;

// The callsigns of the station box; a station in emergency is red here as in
// the station lists, until it is acknowledged.
class CallsignList : public QStringListModel
{
public:
    explicit CallsignList(QObject *parent) : QStringListModel(parent)
    {
        connect(&EmergencyAlerts::instance(), &EmergencyAlerts::alarmChanged, this, [this] {
            if (rowCount() > 0)
                emit dataChanged(index(0), index(rowCount() - 1), {Qt::ForegroundRole});
        });
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::ForegroundRole)
            return EmergencyAlerts::instance().isAlarmed(QStringListModel::data(index, Qt::DisplayRole).toString())
                       ? QVariant(QColor(Qt::red))
                       : QVariant();
        return QStringListModel::data(index, role);
    }
};

} // namespace

void StationBox::showPopup()
{
    emit aboutToOpen();
    QComboBox::showPopup();
}

void StationBox::hidePopup()
{
    QComboBox::hidePopup();
    emit closedUp();
}

frmStations::frmStations(QWidget *parent)
    : QWidget(parent), m_toolbar(new QToolBar(this)), m_stations(new StationBox(this))
{
    setObjectName(QStringLiteral("frmStations"));
    setWindowTitle(QStringLiteral("Plotting Toolbar"));
    setWindowFlag(Qt::Tool, true);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);

    auto add = [this](const char *id, const char *caption, const char *tip, bool twoState) {
        QAction *action = m_toolbar->addAction(QString::fromLatin1(caption));
        action->setObjectName(QString::fromLatin1(id));
        action->setToolTip(QString::fromLatin1(tip));
        action->setCheckable(twoState);
        return action;
    };
    QAction *plotPath = add("ID_PlotPath", "Plot Path", "Plot Station Path", false);
    QAction *clear = add("ID_ClearMap", "Clear Map", "Clears the UIView32 Map", false);
    QAction *plotDx = add("ID_PlotDX", "PlotDX", "Plot DX on Map", true);
    m_stations->setObjectName(QStringLiteral("ID_Stations"));
    // A plain list of texts, replaced whole: tens of thousands of stations
    // cost no more than reading their callsigns, and the open list lays
    // them out as rows of one height.
    m_callsigns = new CallsignList(this);  // after the box, so it goes after it too
    m_stations->setModel(m_callsigns);
    if (auto *rows = qobject_cast<QListView *>(m_stations->view()))
        rows->setUniformItemSizes(true);
    m_stations->setEditable(true);
    m_stations->setMinimumContentsLength(10);
    m_stations->setToolTip(QStringLiteral("Stations"));
    auto *label = new QLabel(QStringLiteral(" &Station "), m_toolbar);
    label->setObjectName(QStringLiteral("lblStations"));
    label->setBuddy(m_stations);
    m_toolbar->addWidget(label);
    m_toolbar->addWidget(m_stations);
    QAction *showHide = add("ID_ShowHide", "ShowHide", "Show or Hide window", true);
    showHide->setChecked(true);

    connect(plotPath, &QAction::triggered, this, &frmStations::plotPath);
    connect(clear, &QAction::triggered, this, &frmStations::clearMap);
    connect(plotDx, &QAction::triggered, this, &frmStations::plotDx);
    connect(showHide, &QAction::triggered, this, &frmStations::showHide);
    connect(m_stations, &StationBox::aboutToOpen, this, [this] {
        if (m_dirty)
            refresh();
        m_hold = true;
    });
    connect(m_stations, &StationBox::closedUp, this, [this] { m_hold = false; });

    m_refresh.setSingleShot(true);
    m_refresh.setInterval(kRefreshMs);
    connect(&m_refresh, &QTimer::timeout, this, &frmStations::refresh);

    // The two DX tools show one state, whichever was pressed.
    if (QAction *mainDx = MainWindowPort::toolOf(MainTool::PlotDX)) {
        plotDx->setChecked(mainDx->isChecked());
        connect(mainDx, &QAction::toggled, plotDx, &QAction::setChecked);
    }

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_toolbar);
    adjustSize();
    monitor() = this;
}

frmStations::~frmStations()
{
    // The station box closes its list as the base class takes it down, when
    // nothing of this class is left to hear it.
    m_stations->disconnect(this);
    if (monitor() == this)
        monitor() = nullptr;
}

frmStations *frmStations::instance() { return monitor(); }

void frmStations::subUpdateList(frmDocument *list)
{
    frmStations *one = monitor();
    if (!one || one->m_hold)
        return;
    one->m_source = list;
    one->m_dirty = true;
    if (one->isVisible() && !one->m_refresh.isActive())
        one->m_refresh.start();
}

void frmStations::forgetList(frmDocument *list)
{
    if (frmStations *one = monitor(); one && one->m_source == list)
        one->m_source = nullptr;
}

void frmStations::refresh()
{
    if (m_hold)
        return;
    m_dirty = false;
    const QString current = m_stations->currentText();
    QStringList callsigns;
    if (m_source) {
        const StationListModel &rows = m_source->model();
        callsigns.reserve(rows.count());
        for (int r = 0; r < rows.count(); ++r)
            callsigns << rows.cell(r, StationListModel::Station);
    }
    m_stations->blockSignals(true);
    m_callsigns->setStringList(callsigns);
    m_stations->setCurrentIndex(-1);
    m_stations->setEditText(current);
    m_stations->blockSignals(false);
}

QAction *frmStations::tool(const QString &id) const
{
    return m_toolbar->findChild<QAction *>(id);
}

void frmStations::plotPath()
{
    auto *list = dynamic_cast<frmDocument *>(WindowRegistry::instance().firstTagged(WindowTag::StationList));
    if (!list)
        return;
    const int row = list->model().find(m_stations->currentText());
    if (row < 0)
        return;
    list->selectRow(row);
    list->PlotStationPath();
}

void frmStations::clearMap()
{
    shared().plottedPathStation.clear();
    if (HostApplication *host = shared().host)
        host->refreshMap();
}

void frmStations::plotDx(bool on)
{
    if (QAction *mainDx = MainWindowPort::toolOf(MainTool::PlotDX))
        if (mainDx->isChecked() != on)
            mainDx->trigger();  // the main window's own handler redraws the map
}

void frmStations::showHide(bool on)
{
    if (on) {
        SetTopMost(this, true);
        show();
    } else {
        close();
    }
}

void frmStations::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Opened between frames: start from the main list as it is.
    if (!m_source)
        m_source = dynamic_cast<frmDocument *>(WindowRegistry::instance().firstTagged(WindowTag::StationList));
    refresh();
}

void frmStations::closeEvent(QCloseEvent *event)
{
    // Releasing the main tool through its own handler brings the main window back.
    if (QAction *mainShowHide = MainWindowPort::toolOf(MainTool::ShowHide); mainShowHide && mainShowHide->isChecked())
        mainShowHide->trigger();
    if (QAction *own = tool(QStringLiteral("ID_ShowHide")))
        own->setChecked(true);  // pressed again the next time it is shown
    QWidget::closeEvent(event);
}
