#pragma once

#include <QString>

class QAction;
class QComboBox;
class QWidget;

// The main toolbar's tools, one for each of the toolbar's definitions and in
// their order (the main window checks both when it is built).
enum class MainTool {
    Open, Save, Print, PrintPreview, Options, LogMaintenance, Exit, StationList, WXDisplay,
    Cut, Copy, Paste, PlotPath, Properties, WxDates, ClearMap, PlotDX, Capture,
    TileHorizontally, Tilevertically, Cascade, ArrangeIcons, HostMap, Messages, Contents, Search, About,
    Inbound, DXClusterDisplay, SatelliteStatus, ShowHide, SatelliteSetup, Statistics, Refresh,
    Orbits, DisplayMoon, DisplaySun, PointsOrLines, PlotInterval, Font, FontSize,
    Count
};

// What the windows below the top use of the main window. The main window
// installs itself while it exists; every caller copes with none (tests
// without one, and the last moments of teardown).
class MainWindowPort
{
public:
    virtual ~MainWindowPort() = default;

    // The tool's action; for a list tool, the action that carries its list.
    virtual QAction *tool(MainTool id) const = 0;
    // The list of days of the weather window that is active.
    virtual QComboBox *weatherDates() const = 0;
    // The first panel of the status bar.
    virtual QString statusText() const = 0;
    virtual void setStatusText(const QString &text) = 0;
    // The inner window of the active child, or null.
    virtual QWidget *activeChild() const = 0;
    // A new capture window, counted, captioned, shown and listed, still empty.
    virtual QWidget *openCaptureWindow() = 0;
    // The status bar's light for a frame being handled.
    virtual void setFrameIndicator(bool on) = 0;
    // The widget dialogs and tool windows are owned by.
    virtual QWidget *dialogParent() = 0;

    static MainWindowPort *instance();
    static void install(MainWindowPort *window);
    // dialogParent() of the installed main window, or null.
    static QWidget *widget();
    // tool() of the installed main window, or null.
    static QAction *toolOf(MainTool id);

    // Turns a two-state tool off the way a click would, so what the tool
    // shows follows (a window hidden, its window-list entry removed).
    static void switchToolOff(MainTool id);
    // Shows a two-state tool on or off without acting on it.
    static void showToolState(MainTool id, bool on);
};
