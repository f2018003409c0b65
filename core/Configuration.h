#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class SettingsStore;

// The shared configuration variables: one per stored key, read once at start
// and written once at shutdown. The options dialog changes them in memory.
struct Configuration
{
    // Settings: main window placement, twips.
    float mainLeft = 1000;
    float mainTop = 1000;
    float mainWidth = 6500;
    float mainHeight = 6500;
    // Paths
    QString hostFolder;   // UIVIEW32
    QString captureFolder;
    // Capture
    bool captureAuto = false;
    // Startup / Shutdown
    bool preload = true;
    bool autoSave = false;
    // Satellite
    qint16 satelliteInterval = 1;
    // DXSpots
    bool dxPlot = true;
    bool dxHighlight = true;
    qint16 dxExpire = 60;
    bool dxNotify = false;
    bool dxAllCalls = false;
    // Distance
    bool miles = true;
    // Satellite observers
    QString observer = QStringLiteral("London");
    float latitude = 52;
    float longitude = 0;
    float height = 0;
    QString locator;
    float secondLatitude = 52;
    float secondLongitude = 0;
    QString secondLocation = QStringLiteral("Second QTH");
    qint16 secondHeight = 80;
    bool secondUsed = false;
    // TimeZone
    bool daylightSaving = false;
    QString timezone = QStringLiteral("Not Set");
    bool winAdjust = true;
    qint16 timezoneAdjust = 0;
    // Satellite
    bool satelliteIcons = true;
    // Wx
    bool centigrade = true;
    bool wxToolbar = true;
    qint16 tempMin = 0, tempMax = 30;
    qint16 humidityMin = 0, humidityMax = 100;
    qint16 windMin = 0, windMax = 30;
    qint16 pressMin = 0, pressMax = 1050;
    qint16 rainMin = 0, rainMax = 100;
    bool tempAuto = false, humidityAuto = false, windAuto = false, pressureAuto = false,
         rainAuto = false;
    // Statistics / Plotting
    qint16 statisticsSample = 10;
    bool plotPhg = false;
    qint16 lowCount = 10, medCount = 20, highCount = 30;
    qint32 lowColour = 65280, medColour = 65535, highColour = 255;
    // Display
    bool aprsIcons = false;

    // Not stored: off at every start.
    bool debugLogging = false;

    // Every key in table order as "Section", "Key". The four Settings keys come first.
    static QList<QPair<QString, QString>> keys();

    // Reads every key but the four Settings ones (those are placed by
    // readPlacement). A text that does not convert leaves the variable at
    // its initial value (0, false or empty) and is reported in errors, one
    // description per bad key.
    void read(const SettingsStore &store, QStringList *errors);
    void readPlacement(const SettingsStore &store, QStringList *errors);
    // Writes the placement only when not minimised, then every other key.
    void write(SettingsStore &store, bool minimised) const;
};

// The program-wide configuration.
Configuration &config();
