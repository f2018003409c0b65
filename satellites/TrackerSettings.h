#pragma once

class OrbiterControl;
class QDateTime;
struct Configuration;
struct TimeZoneRecord;

// Hands the observers, the zone and the icon switch to the tracking control
// and has it recompute with them: once at start and again at every Apply of
// the options, so both leave the control alike. The daylight flag and offset
// that stand are the zone's own at that moment, not the stored flag, which
// is only as fresh as the day it was saved: the control's clock must be the
// zone's clock or every pass time is an hour out half the year.
void pushTrackerSettings(OrbiterControl &orbiter, const Configuration &c, const TimeZoneRecord &zone,
                         const QDateTime &now);
