#pragma once

#include <QDateTime>
#include <QString>

#include "core/HostStationRecord.h"

// What windows call on each other by name. A window class implements the
// interface of its kind; callers find windows by tag (WindowRegistry) and
// reach the interface through dynamic_cast, so subsystems need not include
// each other and a window a test leaves out is simply never found.

// Tags, compared case-sensitively.
namespace WindowTag {
inline const QString StationList = QStringLiteral("Station List");
inline const QString LoadedStationList = QStringLiteral("Loaded Station List");
inline const QString WxStation = QStringLiteral("WX Station");
inline const QString ScreenCapture = QStringLiteral("Screen Capture");
inline const QString LiveStatistics = QStringLiteral("Live Statistics");
inline const QString SavedStatistics = QStringLiteral("Saved Statistics");
inline const QString DxMonitor = QStringLiteral("DX Monitor");
} // namespace WindowTag

class StationListWindow
{
public:
    virtual ~StationListWindow() = default;
    // The record is passed by reference: a window may replace it and the
    // next window gets the replaced one.
    virtual void RxData(HostStationRecord &cStation, bool bUIAware) = 0;
    virtual void PlotDX() = 0;
    virtual void PlotPHGRNGcircles() = 0;
    virtual void PlotStationPath() = 0;
    virtual void SaveStationList() = 0;
    virtual void MergeStationList(const QString &fileName) = 0;
    // The callsign of the selected row, or empty.
    virtual QString selectedCallsign() const = 0;
    virtual void setListFont(const QString &family) = 0;
    // Sizes outside these are ignored: they are typed on the way to another
    // (1 before 12), and a list in a huge font takes seconds to paint.
    static constexpr int MinFontSize = 6;
    static constexpr int MaxFontSize = 72;
    static bool fontSizeFits(int pointSize) { return pointSize >= MinFontSize && pointSize <= MaxFontSize; }
    virtual void setListFontSize(int pointSize) = 0;
    // The options' distance unit changed.
    virtual void unitsChanged() {}
    // The home station moved: distances are measured from it again.
    virtual void homeChanged() {}
};

class QPagedPaintDevice;

// A window that prints its content as a document (a table, say) rather than
// as a picture of itself.
class PrintableWindow
{
public:
    virtual ~PrintableWindow() = default;
    // False with the reason when the device cannot be painted on.
    virtual bool print(QPagedPaintDevice &device, QString *errorText) = 0;
};

class StatisticsWindow
{
public:
    virtual ~StatisticsWindow() = default;
    virtual void UpdateStatitics() = 0;
    virtual void SaveStatisticsData() = 0;
    virtual void LoadStatisticsData(const QString &fileName) = 0;
};

class TerminalWindow
{
public:
    virtual ~TerminalWindow() = default;
    virtual void RxData(const QString &strData) = 0;
    // nType: 1 information, 2 a report that was ignored.
    virtual void UpdateEventLog(const QString &strText, int nType, const QString &vData) = 0;
};

class DxMonitorWindow
{
public:
    virtual ~DxMonitorWindow() = default;
    virtual void AddDxSpot(const QString &strDxSpot, const QString &strCallsign,
                           const QString &strFreq, qint16 intLat, qint16 intLong,
                           qint16 intBearing, qint16 intDistance) = 0;
    virtual void PlotDxOnMap() = 0;
    virtual void SaveDxList() = 0;
    // The options' distance unit changed.
    virtual void unitsChanged() {}
};

class WeatherWindow
{
public:
    virtual ~WeatherWindow() = default;
    virtual void SetWxDisplay() = 0;
    // The options changed the chart ranges or their automatic switches.
    virtual void UpdateChartRanges() {}
};

class CaptureWindow
{
public:
    virtual ~CaptureWindow() = default;
    virtual void SaveScreenCapture() = 0;
    // A null rectangle grabs the whole map.
    virtual void grabMap(int x, int y, int width, int height) = 0;
};

class OrbiterControl;

class SatelliteWindow
{
public:
    virtual ~SatelliteWindow() = default;
    // An immediate satellite update.
    virtual void updateNow() = 0;
    // The tracking control hosted on the window, or null.
    virtual OrbiterControl *orbiter() = 0;
};

// Where weather parts of frames are stored.
class WeatherStore
{
public:
    virtual ~WeatherStore() = default;
    virtual void AddWxData(const HostStationRecord &station, const QString &strWx,
                           const QDateTime &reportTime) = 0;
};
