#include "orbiter/Scene.h"
#include "orbiter/Angles.h"

#include "orbiter/EarthFrames.h"
#include "orbiter/Footprint.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orbiter {

namespace {

ScenePass scenePass(Tracker &tracker, int entry, const Pass &pass, bool withTrack)
{
    ScenePass out;
    out.aos = tracker.toLocal(pass.aos);
    out.los = tracker.toLocal(pass.los);
    out.culmination = tracker.toLocal(pass.culmination);
    out.maxElevation = pass.maxElevation / kDeg;
    out.aosAzimuth = pass.aosAzimuth / kDeg;
    out.losAzimuth = pass.losAzimuth / kDeg;
    if (withTrack)
        out.track = tracker.passTrack(entry, pass);
    return out;
}

} // namespace

double trackStepSeconds(int plotIntervalSeconds, double periodMinutes, int orbits)
{
    double step = 0;
    if (plotIntervalSeconds == 15 || plotIntervalSeconds == 30 || plotIntervalSeconds == 60)
        step = plotIntervalSeconds;
    else
        // Automatic: about 240 points an orbit, but no closer than 10 s or
        // further apart than 10 minutes.
        step = std::clamp(periodMinutes * 60.0 / 240.0, 10.0, 600.0);
    // Every paint draws every point, so a long track is thinned to what a
    // world view can show.
    return std::max(step, std::max(1, orbits) * periodMinutes * 60.0 / kMaxTrackPoints);
}

Scene buildScene(Tracker &tracker, const DisplayOptions &options, int selectedEntry, bool withTracks)
{
    Scene scene;
    scene.options = options;
    scene.localTime = tracker.toLocal(tracker.time());
    scene.zoneName = tracker.timeZone().name;
    scene.observer = {tracker.observer().name, tracker.observer().latitude, tracker.observer().longitude};
    if (tracker.secondInUse())
        scene.second = SceneObserver{tracker.secondObserver().name, tracker.secondObserver().latitude,
                                     tracker.secondObserver().longitude};
    scene.sun = tracker.sun();
    scene.moon = tracker.moon();
    // The moon is up over very nearly half the Earth.
    scene.moonFootprintAngle = footprintAngle(384400.0) / kDeg;

    for (int entry = 1; entry <= tracker.count(); ++entry) {
        const TrackedSatellite *sat = tracker.entry(entry);
        SceneSatellite s;
        s.entry = entry;
        s.name = sat->name;
        s.valid = sat->valid;
        s.problem = sat->problem;
        if (sat->valid) {
            s.latitude = sat->latitude;
            s.longitude = wrap180(sat->longitude);
            s.heightKm = sat->heightKm;
            s.footprintAngle = footprintAngle(sat->heightKm) / kDeg;
            s.footprintKm = sat->footprintKm;
            s.azimuth = sat->look.azimuth / kDeg;
            s.elevation = sat->look.elevation / kDeg;
            s.rangeKm = sat->look.rangeKm;
            s.rangeRateKmS = sat->look.rangeRateKmS;
            s.dopplerFactor = orbiter::dopplerFactor(sat->look.rangeRateKmS);
            s.up = sat->look.elevation >= 0;
            if (tracker.secondInUse()) {
                s.secondElevation = sat->secondLook.elevation / kDeg;
                s.mutualNow = s.up && sat->secondLook.elevation >= 0;
            }
            const bool chosen = entry == selectedEntry;
            if (sat->current)
                s.current = scenePass(tracker, entry, *sat->current, true);
            if (sat->next)
                s.next = scenePass(tracker, entry, *sat->next, chosen);
            if (sat->nextMutual)
                s.nextMutual = scenePass(tracker, entry, *sat->nextMutual, false);
            const double period = withTracks ? sat->model.elements().periodMinutes() : 0.0;
            const double step = trackStepSeconds(options.plotIntervalSeconds, period, options.orbits);
            const double span = std::max(1, options.orbits) * period * 60.0;
            // The track starts at the step before now, so it does not creep
            // between redraws.
            const double from = std::floor(tracker.time() / step) * step;
            if (withTracks)
                s.groundTrack = tracker.groundTrack(entry, from, span + step, step);
        }
        if (entry == selectedEntry)
            scene.selected = int(scene.satellites.size());
        scene.satellites.push_back(std::move(s));
    }
    if (scene.selected < 0 && !scene.satellites.empty())
        scene.selected = 0;
    return scene;
}

} // namespace orbiter
