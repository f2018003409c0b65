#pragma once

#include <QString>
#include <QStringList>

// The main toolbar's tools: identifier, caption, group and tip. The
// identifier is the action's objectName, so tests and code find tools by it.
struct ToolDefinition
{
    enum Kind { Button, TwoState, Combo };
    const char *id;
    const char *caption;
    const char *group;
    const char *tip;
    Kind kind = Button;
};

inline constexpr ToolDefinition kTools[] = {
    {"ID_Open...", "&Open...", "File", ""},
    {"ID_Save", "&Save", "File", ""},
    {"ID_Print", "&Print", "File", ""},
    {"ID_PrintPreview", "Print Pre&view", "File", ""},
    {"ID_Options", "Options...", "File", ""},
    {"ID_LogMaintenance", "Log Maintenance...", "General", ""},
    {"ID_Exit", "E&xit", "File", "Exit Kestrel"},
    {"ID_StationList", "Station List", "File", "Display New station List", ToolDefinition::TwoState},
    {"ID_WXDisplay", "WX Display", "File", "Display Data from WX Station"},
    {"ID_Cut", "Cu&t", "Edit", ""},
    {"ID_Copy", "&Copy", "Edit", ""},
    {"ID_Paste", "&Paste", "Edit", ""},
    {"ID_PlotPath", "Plot Path", "Plotting", "Plot Station Path"},
    {"ID_Properties", "Station &Properties", "Edit", "Show Station Details"},
    {"ID_WxDates", "WxDates", "Plotting", "Available WX Data dates", ToolDefinition::Combo},
    {"ID_ClearMap", "Clear Map", "Plotting", "Clears the UIView32 Map"},
    {"ID_PlotDX", "PlotDX", "Plotting", "Plot My Best DX on Map", ToolDefinition::TwoState},
    {"ID_Capture", "Capture", "Plotting", "Capture UIView32 map to new window"},
    {"ID_TileHorizontally", "Tile Horizontally", "Window", ""},
    {"ID_Tilevertically", "Tile vertically", "Window", ""},
    {"ID_Cascade", "Cascade", "Window", ""},
    {"ID_ArrangeIcons", "Arrange Icons", "Window", ""},
    {"ID_HostMap", "Host Map", "Window", "Show the host program's map"},
    {"ID_Messages", "Messages", "General", "Read and send the station's messages"},
    {"ID_Contents", "&Contents", "Help", ""},
    {"ID_Search", "Search", "Help", ""},
    {"ID_About...", "About...", "Help", ""},
    {"ID_Inbound", "Display Inbound Data", "General", "Display Monitor Window", ToolDefinition::TwoState},
    {"ID_DXClusterDisplay", "DX Cluster Display", "General", "", ToolDefinition::TwoState},
    {"ID_SatelliteStatus", "Satellite Status", "Plotting", "Display Satellite Satus Window", ToolDefinition::TwoState},
    {"ID_ShowHide", "Floating Toolbar", "Plotting", "Display the Floating UIView Toolbar", ToolDefinition::TwoState},
    {"ID_SatelliteSetup", "Satellite Setup", "General", "Configure Satellites"},
    {"ID_Statistics", "Statistics", "General", "Show Network Statistics", ToolDefinition::TwoState},
    {"ID_Refresh", "Refresh", "Satellite", "Update the Satellite Window"},
    {"ID_Orbits", "Orbits", "Satellite", "Select the number of orbits to display", ToolDefinition::Combo},
    {"ID_DisplayMoon", "Display Moon", "Satellite", "Toggle the moon", ToolDefinition::TwoState},
    {"ID_DisplaySun", "Display Sun", "Satellite", "Toggles the sun", ToolDefinition::TwoState},
    {"ID_PointsOrLines", "Points Or Lines", "Satellite", "Plot ground track as points or lines", ToolDefinition::TwoState},
    {"ID_PlotInterval", "Plot Interval", "Satellite", "Sets the Interval for plotting points on the groundtrack", ToolDefinition::Combo},
    {"ID_Font", "Font", "Edit", "", ToolDefinition::Combo},
    {"ID_FontSize", "Font Size", "Edit", "", ToolDefinition::Combo},
};

inline const QStringList kPlotIntervals = {QStringLiteral("Automatic"), QStringLiteral("15 Seconds"),
                                           QStringLiteral("30 Seconds"), QStringLiteral("60 Seconds")};
inline const QStringList kFonts = {QStringLiteral("Arial"), QStringLiteral("Courier New"),
                                   QStringLiteral("MS Sans Serif"), QStringLiteral("MS Serif"),
                                   QStringLiteral("Tahoma"), QStringLiteral("Times New Roman")};
