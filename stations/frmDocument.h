#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

#include "core/WindowInterfaces.h"
#include "stations/StationListModel.h"

class HostApplication;
class LoadingDialog;
class QAction;
class QLabel;
class QMenu;
class QTableView;

// The station list window: one row per station heard, updated from the
// host's record each time a frame from that station arrives. The main list
// is tagged "Station List"; lists opened from files are "Loaded Station List".
class frmDocument : public QWidget, public StationListWindow, public PrintableWindow
{
    Q_OBJECT
public:
    // The form of the host's times, so the "Time" column holds one form.
    static inline const QString TimeForm = QStringLiteral("yyyy-MM-dd HH:mm:ss");

    // Loads at once: a file named in shared().stationListFile, else the main
    // list's preload.
    explicit frmDocument(QWidget *parent = nullptr);
    ~frmDocument() override;

    // StationListWindow
    void RxData(HostStationRecord &cStation, bool bUIAware) override;
    void PlotDX() override;
    void PlotPHGRNGcircles() override;
    void PlotStationPath() override;
    void SaveStationList() override;
    void MergeStationList(const QString &fileName) override;
    void unitsChanged() override;
    void homeChanged() override;
    QString selectedCallsign() const override;
    void setListFont(const QString &family) override;
    void setListFontSize(int pointSize) override;
    // Every column as wide as its header and the rows in view need.
    void fitColumns();

    // PrintableWindow: the rows as a table across pages.
    bool print(QPagedPaintDevice &device, QString *errorText) override;

    void LoadStationList(const QString &fileName);
    void PreloadStations();
    void PlotStationPathOnUIMap(int row);
    void UpdateWxTool(bool bFlag);

    // The check handler, for a row checked or unchecked by the user or by
    // the row update.
    void lstView_ItemCheck(int row, bool checked);

    // The menu a right click on a row opens (the row is selected first):
    // station information, plot path, logging, copy callsign. The caller owns it.
    QMenu *rowMenu(int row);

    // Selects the row (and scrolls to it); -1 clears the selection.
    void selectRow(int row);
    int selectedRow() const;

    StationListModel &model() { return m_model; }
    QTableView *view() const { return lstView; }

    // Set only while the row update starts a log by itself: no dialog.
    static bool automaticMark;
    // Tests step into the preload loop (to press Cancel).
    static std::function<void(LoadingDialog &, int)> preloadObserver;

    // The host used for lookups, symbols, distances and the map.
    static HostApplication *host();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();
    void attachToFrame();
    void setIconFor(int row, const HostStationRecord &station);
    void updateCaption();
    void headerClicked(int column);
    void applyListFont(const QFont &font);
    void plotCircleSlice();

    StationListModel m_model;
    QTableView *lstView;
    QLabel *picSymbol;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    bool m_sorting = false;
    bool m_watchingFrame = false;
    // The stations whose circles a map change still has to draw, a slice a turn.
    QStringList m_circlesToPlot;
    qsizetype m_circlesPlotted = 0;
    QTimer m_circleSlice;
};
