#pragma once

#include "orbiter/Tracker.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace orbiter {

// What the operator chose to see.
struct DisplayOptions
{
    bool showSun = true;
    bool showMoon = true;
    bool sunFootprint = true;   // night side shaded, the night image beyond the terminator
    bool moonFootprint = false; // where the moon is up
    bool dataFields = true;     // the selected satellite's figures on the graphic views
    bool icons = true;          // satellites as pictures, else as dots
    bool lines = true;          // ground tracks as lines, else as points
    int orbits = 1;             // of ground track ahead
    int plotIntervalSeconds = 1;  // between track points; 1 picks one for each orbit
    bool miles = false;         // distances shown in miles, else kilometres
};

struct ScenePass
{
    QDateTime aos, los, culmination;  // local time
    double maxElevation = 0;           // degrees
    double aosAzimuth = 0, losAzimuth = 0;
    std::vector<Tracker::SkyPoint> track;  // azimuth, elevation in degrees
};

struct SceneSatellite
{
    int entry = 0;  // the tracker's entry number
    QString name;
    bool valid = false;
    QString problem;
    double latitude = 0;   // degrees
    double longitude = 0;  // degrees, -180 to 180
    double heightKm = 0;
    double footprintAngle = 0;  // degrees from the centre of the Earth
    double footprintKm = 0;
    double azimuth = 0, elevation = 0;  // degrees
    double rangeKm = 0, rangeRateKmS = 0;
    double dopplerFactor = 1;
    bool up = false;
    // With a second observer in use.
    double secondElevation = 0;
    bool mutualNow = false;
    std::optional<ScenePass> current, next, nextMutual;
    std::vector<Tracker::TrackPoint> groundTrack;  // degrees, unwrapped
};

struct SceneObserver
{
    QString name;
    double latitude = 0, longitude = 0;  // degrees
};

// A snapshot of everything the views draw, so drawing needs neither the
// model nor a widget.
struct Scene
{
    QDateTime localTime;
    QString zoneName;
    SceneObserver observer;
    std::optional<SceneObserver> second;
    SkyBody sun, moon;
    double moonFootprintAngle = 0;  // degrees
    DisplayOptions options;
    std::vector<SceneSatellite> satellites;
    int selected = -1;  // index into satellites

    const SceneSatellite *selectedSatellite() const
    {
        return selected >= 0 && selected < int(satellites.size()) ? &satellites[std::size_t(selected)] : nullptr;
    }
};

// Seconds between ground track points for a period (minutes) and a choice
// of 15, 30, 60 or 1 (automatic).
double trackStepSeconds(int plotIntervalSeconds, double periodMinutes);

// Builds the snapshot from the tracker as it was last computed. Pass tracks
// are worked out here, and ground tracks when the view draws them.
Scene buildScene(Tracker &tracker, const DisplayOptions &options, int selectedEntry, bool withTracks);

} // namespace orbiter
