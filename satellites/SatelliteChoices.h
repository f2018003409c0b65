#pragma once

#include "satellites/KepsFile.h"
#include "satellites/SatelliteSelection.h"

#include <QList>
#include <QString>

class SettingsStore;

// What the user set up for the satellites, kept in the settings store from
// one run to the next: the satellites chosen, named by what outlives a new
// element file (name and catalogue number, not their place in it), and how
// the tracking views draw them.
struct SatelliteChoices
{
    struct Pick
    {
        QString name;
        QString catalogue;  // as line 1 writes it ("25544", "A0001"); empty when it gives none
        bool plot = false;  // placed on the host's map as well
        bool operator==(const Pick &) const = default;
    };

    QList<Pick> picks;
    bool stored = false;  // the store held choices (an earlier version kept none)
    int orbits = 1;
    QString plotInterval;  // the Plot Interval tool's text
    bool lines = true;
    bool sun = true;
    bool moon = true;
    QString view;  // the Satellite Status tab
    bool statusShown = false;

    static SatelliteChoices read(const SettingsStore &store);
    // Replaces what an earlier run kept.
    void write(SettingsStore &store) const;
};

// The catalogue number in columns 3-7 of an element line 1, as written; empty when there is none.
QString catalogueNumber(const QString &line1);

// The sets the selection points at, in table order.
QList<SatelliteChoices::Pick> picksOf(const SatelliteSelection &selection, const QList<KepsElementSet> &sets);

// Points the selection at the sets the picks name: a set with the same
// catalogue number and name first, then the same catalogue number (a set
// renamed), then the same name. Returns the picks the sets do not hold.
QList<SatelliteChoices::Pick> applyPicks(const QList<SatelliteChoices::Pick> &picks, const QList<KepsElementSet> &sets,
                SatelliteSelection &selection);
