#include "stations/frmDocument.h"

#include "core/Clock.h"
#include "core/Configuration.h"
#include "core/ErrorReport.h"
#include "core/HostApplication.h"
#include "core/HostMap.h"
#include "core/LoadingDialog.h"
#include "core/MainWindowPort.h"
#include "core/Prompts.h"
#include "core/SharedState.h"
#include "core/Units.h"
#include "core/Utilities.h"
#include "core/WindowRegistry.h"
#include "stations/AutoLog.h"
#include "stations/CalmTableView.h"
#include "stations/MapPlotting.h"
#include "stations/StationListFile.h"
#include "stations/frmStations.h"
#include "stations/subFunctions.h"

#include <QAction>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <stdexcept>

namespace {

const QString kYes = QStringLiteral("Yes");
const QString kNo = QStringLiteral("No");
const QString kFixed = QStringLiteral("Fixed");
const QString kMobile = QStringLiteral("Mobile");
const QString kWx = QStringLiteral("Wx");
const QString kZero = QStringLiteral("0");
const QString kReceivedDirect = QStringLiteral("Received Direct");
const QString kUnknownSymbol = QStringLiteral("??");
const QString kCaptionStart = QStringLiteral("Station List (");
const QString kCaptionEnd = QStringLiteral(" Stations)");
// Stations whose circles a map change draws in one turn of the event loop
// (a few milliseconds' worth; 2,000 took over 100 ms on a busy machine).
constexpr qsizetype kCircleSlice = 500;

const QString kLogTitle = QStringLiteral("Select Log File");
const QString kLogFilter = QStringLiteral("Log File (*.txt);;All Files (*.*)");
const QString kSaveTitle = QStringLiteral("Save Station List As");
const QString kSaveFilter = QStringLiteral("Kestrel Station List (*.kel);;All Files (*.*)");
const QString kPreloadCaption = QStringLiteral("Preloading station list from UI-View 32");
const QString kLoadTitle = QStringLiteral("Load Station List");

using Col = StationListModel::Column;

} // namespace

bool frmDocument::automaticMark = false;
std::function<void(LoadingDialog &, int)> frmDocument::preloadObserver;

HostApplication *frmDocument::host() { return shared().host; }

frmDocument::frmDocument(QWidget *parent)
    : QWidget(parent), lstView(new CalmTableView(this)), picSymbol(new QLabel(this))
{
    setObjectName(QStringLiteral("frmDocument"));
    setWindowTitle(QStringLiteral("Station List"));
    lstView->setObjectName(QStringLiteral("lstView"));
    picSymbol->setObjectName(QStringLiteral("picSymbol"));
    picSymbol->hide();
    m_circleSlice.setObjectName(QStringLiteral("tmrCircleSlice"));  // names it in stall reports
    m_circleSlice.setSingleShot(true);
    m_circleSlice.setInterval(0);
    connect(&m_circleSlice, &QTimer::timeout, this, &frmDocument::plotCircleSlice);

    m_model.setDistanceInMiles(config().miles);
    lstView->setModel(&m_model);
    lstView->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstView->setSelectionMode(QAbstractItemView::SingleSelection);
    lstView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstView->setShowGrid(false);
    lstView->setWordWrap(false);
    lstView->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QHeaderView *rows = lstView->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(lstView->fontMetrics().height() + 4);
    QHeaderView *columns = lstView->horizontalHeader();
    columns->setSectionsClickable(true);
    columns->setHighlightSections(false);
    columns->setStretchLastSection(true);
    fitColumns();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lstView);

    connect(columns, &QHeaderView::sectionClicked, this, &frmDocument::headerClicked);
    connect(&m_model, &StationListModel::checkToggled, this, &frmDocument::lstView_ItemCheck);
    connect(lstView, &QAbstractItemView::clicked, this, [this] { UpdateWxTool(true); });
    connect(lstView, &QAbstractItemView::doubleClicked, this, [this] { ShowStationInfo(this); });
    lstView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lstView, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        const QModelIndex index = lstView->indexAt(at);
        // From the keyboard the menu is for the selected row.
        const int row = index.isValid() ? index.row() : selectedRow();
        if (row < 0)
            return;
        const std::unique_ptr<QMenu> menu(rowMenu(row));
        const QPoint where = index.isValid() ? at : lstView->visualRect(m_model.index(row, 0)).center();
        menu->exec(lstView->viewport()->mapToGlobal(where));
    });
    resize(720, 360);
    Form_Load();
}

frmDocument::~frmDocument()
{
    frmStations::forgetList(this);
}

void frmDocument::Form_Load()
{
    const QString file = shared().stationListFile;
    if (!file.isEmpty()) {
        shared().stationListFile.clear();
        LoadStationList(file);
        return;
    }
    if (config().preload)
        PreloadStations();
    UpdateWxTool(true);
}

void frmDocument::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_watchingFrame)
        return;
    m_watchingFrame = true;
    // The window factory tags and captions the window around its first show.
    QTimer::singleShot(0, this, &frmDocument::attachToFrame);
}

void frmDocument::attachToFrame()
{
    auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (!sub)
        return;
    connect(sub, &QMdiSubWindow::windowStateChanged, this,
            [this](Qt::WindowStates before, Qt::WindowStates now) {
                if ((now & Qt::WindowActive) && !(before & Qt::WindowActive))
                    UpdateWxTool(true);
            });
    if (WindowRegistry::tagOf(this) != WindowTag::StationList)
        return;
    // The main list goes only when the program does.
    const bool visible = sub->isVisible();
    // A sub-window draws its close button with the system menu, so both go.
    sub->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                        | Qt::WindowMinMaxButtonsHint);
    if (QMenu *menu = sub->systemMenu())
        for (QAction *action : menu->actions())
            if (action->text().remove(u'&').startsWith(QLatin1String("Close"))) {
                action->setEnabled(false);
                action->setVisible(false);
            }
    if (m_model.count() > 0)
        updateCaption();
    if (visible)
        sub->show();
}

void frmDocument::RxData(HostStationRecord &cStation, bool bUIAware)
{
    if (m_model.count() > 1)
        if (QAction *plotPath = MainWindowPort::toolOf(MainTool::PlotPath); plotPath && !plotPath->isEnabled())
            plotPath->setEnabled(true);

    int row = m_model.find(cStation.callsign);
    if (row < 0) {
        row = m_model.append(cStation.callsign);
        m_model.editRow(row).cells[Col::Hrd] = kZero;
    }
    if (config().aprsIcons)
        setIconFor(row, cStation);

    {
        StationListModel::Cells &cells = m_model.editRow(row).cells;
        cells[Col::Station] = cStation.callsign;
        cells[Col::Direct] = cStation.heardDirect ? kYes : kNo;
        if (bUIAware) {
            const HomeStation &home = shared().home;
            double distance = 0;
            if (HostApplication *h = host())
                distance = h->distanceAndBearing(home.latitude / 60.0, home.longitude / 60.0,
                                                 cStation.latitude / 60.0, cStation.longitude / 60.0,
                                                 !config().miles).distance;
            const QString *type = &kFixed;
            if (cStation.course != HostStationRecord::NoCourse)
                type = &kMobile;
            if (cStation.symbolCode == QLatin1String("_"))
                type = &kWx;
            cells[Col::Type] = *type;
            cells[Col::Dist] = QString::number(std::isfinite(distance) ? qint64(std::trunc(distance)) : 0);
            m_model.editRow(row).distanceKm = std::isfinite(distance)
                                                  ? Units::convertDistance(distance, config().miles, false)
                                                  : -1;
            cells[Col::Path] = cStation.heardDirect ? kReceivedDirect : GetPathFromHeader(cStation.header);
            cells[Col::Lattitude] = FormatPosition(cStation.latitude, false);
            cells[Col::Longitude] = FormatPosition(cStation.longitude, true);
            const bool height = cStation.height != HostStationRecord::NoHeight;
            m_model.editRow(row).heightFeet = height ? double(cStation.height) : std::nan("");
            cells[Col::Height] = height ? m_model.heightText(cStation.height) : QString();
        }
        cells[Col::Hrd] = QString::number(cells[Col::Hrd].toLongLong() + 1);
        cells[Col::Status] = cStation.status;
        if (!cStation.timeHeard.isEmpty())
            cells[Col::Time] = cStation.timeHeard;
        else if (!cStation.timeHeardSecond.isEmpty())
            cells[Col::Time] = cStation.timeHeardSecond;
        else
            cells[Col::Time] = Clock::instance().now().toString(TimeForm);
    }
    m_model.rowChanged(row);
    // A sorted list stays sorted: the row goes where its new cells put it.
    row = m_model.moveToSortedPlace(row);

    if (m_model.cell(row, Col::LogFile).isEmpty())
        if (const cAutoRecord *entry = shared().autoRecords.find(cStation.callsign); entry && entry->Recording) {
            automaticMark = true;
            m_model.setChecked(row, true);
            lstView_ItemCheck(row, true);
            automaticMark = false;
        }

    if (const QString &log = m_model.cell(row, Col::LogFile); !log.isEmpty())
        AutoLog::UpdateLogFile(cStation, log);  // a log that cannot be appended skips this entry

    if (!shared().home.callsign.isEmpty() && cStation.callsign == shared().home.callsign) {
        const QString dx = GetDxCallsign(cStation.status);
        if (!dx.isEmpty())
            if (HostApplication *h = host()) {
                HostStationRecord target;
                target.callsign = dx;
                if (h->lookUpStation(target)) {
                    dxTarget() = DxTarget{dx, target.latitude, target.longitude};
                    PlotDX();
                }
            }
    }

    frmStations::subUpdateList(this);
    updateCaption();

    if (config().plotPhg)
        if (HostApplication *h = host(); h && h->map())
            PlotPHGRNG(*h->map(), cStation);
}

void frmDocument::setIconFor(int row, const HostStationRecord &station)
{
    QString key = kUnknownSymbol;
    HostApplication *h = host();
    if (h && !station.symbolCode.isEmpty()) {
        const QString wanted = station.symbolCode + station.symbolTable;
        if (m_model.hasIcon(wanted)) {
            key = wanted;
        } else {
            // Only a symbol not seen before is fetched from the host.
            const QImage picture = h->symbolPicture(station.symbolTable, station.symbolCode);
            if (!picture.isNull()) {
                m_model.addIcon(wanted, QIcon(QPixmap::fromImage(picture)));
                key = wanted;
            }
        }
    }
    m_model.editRow(row).iconKey = key;
}

void frmDocument::updateCaption()
{
    const QString caption = kCaptionStart + QString::number(m_model.count()) + kCaptionEnd;
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

void frmDocument::headerClicked(int column)
{
    // The first click sorts ascending; every click after turns the order round.
    if (m_sorting)
        m_sortOrder = m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_sorting = true;
    m_sortColumn = column;
    lstView->horizontalHeader()->setSortIndicatorShown(true);
    lstView->horizontalHeader()->setSortIndicator(column, m_sortOrder);
    m_model.sortByColumn(column, m_sortOrder);
}

void frmDocument::UpdateWxTool(bool bFlag)
{
    if (!bFlag)
        return;
    QAction *tool = MainWindowPort::toolOf(MainTool::WXDisplay);
    if (!tool)
        return;
    const QString callsign = selectedCallsign();
    // The callsign came over the air: one that could name another folder has no weather file.
    const bool plainName = !callsign.contains(u'/') && !callsign.contains(u'\\') && !callsign.contains(QChar())
                           && callsign != QLatin1String(".") && callsign != QLatin1String("..");
    tool->setEnabled(callsign.isEmpty()
                     || (plainName
                         && FileExists(GetDataFolder() + QStringLiteral("/WxData/") + callsign + QStringLiteral(".kew"))));
}

int frmDocument::selectedRow() const
{
    const QModelIndexList rows = lstView->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void frmDocument::selectRow(int row)
{
    if (row < 0 || row >= m_model.count()) {
        lstView->clearSelection();
        return;
    }
    lstView->selectRow(row);
    lstView->scrollTo(m_model.index(row, 0));
}

void frmDocument::unitsChanged()
{
    m_model.setDistanceInMiles(config().miles);
}

void frmDocument::homeChanged()
{
    HostApplication *h = host();
    if (!h)
        return;
    const HomeStation &home = shared().home;
    m_model.setDistances([&](const QString &callsign) {
        HostStationRecord record;
        record.callsign = callsign;
        if (!h->lookUpStation(record))
            return -1.0;
        const double km = h->distanceAndBearing(home.latitude / 60.0, home.longitude / 60.0, record.latitude / 60.0,
                                                record.longitude / 60.0, true)
                              .distance;
        return std::isfinite(km) ? km : -1.0;
    });
}

QString frmDocument::selectedCallsign() const
{
    const int row = selectedRow();
    return row < 0 ? QString() : m_model.cell(row, Col::Station);
}

void frmDocument::lstView_ItemCheck(int row, bool checked)
{
    if (row < 0 || row >= m_model.count())
        return;
    if (!checked) {
        m_model.setCell(row, Col::LogFile, QString());
        return;
    }
    try {
        const QDateTime now = Clock::instance().now();
        const QString name = AutoLog::defaultName(now.date(), m_model.cell(row, Col::Station));
        QString path;
        if (automaticMark) {
            path = AutoLog::folder() + u'/' + name;
        } else {
            path = Prompts::instance().saveFileName(kLogTitle, AutoLog::folder(), kLogFilter, name);
            if (path.isEmpty()) {
                m_model.setChecked(row, false);
                return;
            }
            path = WithDefaultExtension(path, kLogFilter);
        }
        m_model.setCell(row, Col::LogFile, path);
        if (!AutoLog::start(path, now))
            throw std::runtime_error(("Cannot create " + path).toStdString());
    } catch (const std::exception &e) {
        m_model.setCell(row, Col::LogFile, QString());
        m_model.setChecked(row, false);
        reportError(QStringLiteral("lstView_ItemCheck"), QString::fromStdString(e.what()));
    }
}

void frmDocument::SaveStationList()
{
    if (m_model.count() == 0)
        return;
    try {
        QString path;
        if (config().autoSave) {
            path = StationListFile::automaticName(Clock::instance().now().date());
        } else {
            path = Prompts::instance().saveFileName(kSaveTitle, StationListFile::folder(), kSaveFilter, QString());
            if (path.isEmpty())
                return;
            // A name typed bare gets ".kel", or the open dialog would not list it.
            path = WithDefaultExtension(path, kSaveFilter);
        }
        QString error;
        if (!StationListFile::save(path, m_model, &error))
            throw std::runtime_error(error.toStdString());
    } catch (const std::exception &e) {
        reportError(QStringLiteral("SaveStationList"), QString::fromStdString(e.what()));
    }
}

void frmDocument::LoadStationList(const QString &fileName)
{
    const StationListFile::LoadResult result = StationListFile::load(fileName, m_model);
    if (!result.opened) {
        reportError(QStringLiteral("LoadStationList"), result.errorText);
        return;
    }
    if (result.skipped > 0)
        Prompts::instance().message(
            QStringLiteral("%1 lines of %2 could not be read and were skipped.").arg(result.skipped).arg(fileName),
            kLoadTitle, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
}

void frmDocument::MergeStationList(const QString &fileName)
{
    const StationListFile::LoadResult result = StationListFile::merge(fileName, m_model);
    if (!result.opened) {
        reportError(QStringLiteral("MergeStationList"), result.errorText);
        return;
    }
    updateCaption();
    if (result.skipped > 0)
        Prompts::instance().message(
            QStringLiteral("%1 lines of %2 could not be read and were skipped.").arg(result.skipped).arg(fileName),
            kLoadTitle, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
}

void frmDocument::PreloadStations()
{
    HostApplication *h = host();
    if (!h)
        return;
    const int total = h->stationListSize();
    if (total <= 0)
        return;
    LoadingDialog dialog;
    dialog.setWindowTitle(kPreloadCaption);
    dialog.setLabel(kPreloadCaption);
    dialog.setRange(total);
    dialog.start();
    for (int i = 0; i < total; ++i) {
        QString line = h->stationListLine(i);
        qsizetype blanks = 0;
        while (blanks < line.size() && line.at(blanks) == QLatin1Char(' '))
            ++blanks;
        QString callsign = line.mid(blanks).section(QLatin1Char(' '), 0, 0);
        if (callsign.startsWith(QLatin1Char('-')) || callsign.startsWith(QLatin1Char('+')))
            callsign.remove(0, 1);
        if (callsign.endsWith(QLatin1Char('*')))
            callsign.chop(1);
        HostStationRecord record;
        record.callsign = callsign;
        if (!callsign.isEmpty() && h->lookUpStation(record))
            RxData(record, true);
        if (preloadObserver)
            preloadObserver(dialog, i);
        dialog.step(i);
        if (dialog.cancelled())
            break;
    }
    if (dialog.cancelled()) {
        m_model.clear();
        updateCaption();
    }
    dialog.finish();
}

void frmDocument::PlotStationPathOnUIMap(int row)
{
    HostApplication *h = host();
    if (!h || row < 0 || row >= m_model.count())
        return;
    plotPathOnMap(*h, shared().home, m_model.cell(row, Col::Station), m_model.cell(row, Col::Path),
                  m_model.cell(row, Col::Direct));
}

void frmDocument::PlotStationPath()
{
    PlotStationPathOnUIMap(selectedRow());
}

void frmDocument::PlotPHGRNGcircles()
{
    m_circleSlice.stop();
    m_circlesToPlot.clear();
    m_circlesPlotted = 0;
    HostApplication *h = host();
    if (!config().plotPhg || !h || !h->map())
        return;
    // A long list draws a slice at a time, so that moving the map with tens
    // of thousands of stations stays smooth; a change meanwhile starts over.
    m_circlesToPlot.reserve(m_model.count());
    for (int r = 0; r < m_model.count(); ++r)
        m_circlesToPlot << m_model.cell(r, Col::Station);
    plotCircleSlice();
}

void frmDocument::plotCircleSlice()
{
    HostApplication *h = host();
    if (!config().plotPhg || !h || !h->map()) {
        m_circlesToPlot.clear();
        return;
    }
    const qsizetype end = qMin(m_circlesPlotted + kCircleSlice, m_circlesToPlot.size());
    for (; m_circlesPlotted < end; ++m_circlesPlotted) {
        HostStationRecord record;
        record.callsign = m_circlesToPlot[m_circlesPlotted];
        if (h->lookUpStation(record))
            PlotPHGRNG(*h->map(), record);
    }
    if (m_circlesPlotted < m_circlesToPlot.size())
        m_circleSlice.start();
    else
        m_circlesToPlot.clear();
}

void frmDocument::PlotDX()
{
    HostApplication *h = host();
    if (!h || !h->map())
        return;
    QAction *plotDx = MainWindowPort::toolOf(MainTool::PlotDX);
    if (plotDx && plotDx->isChecked() && !dxTarget().callsign.isEmpty())
        plotDxLine(*h->map(), shared().home, dxTarget());
    const QString &last = shared().plottedPathStation;
    if (!last.isEmpty())
        if (const int row = m_model.find(last); row >= 0)
            PlotStationPathOnUIMap(row);
}
