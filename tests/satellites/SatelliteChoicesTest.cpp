// The satellites chosen are found again in a new element file by what
// outlives it (catalogue number and name), and the choices read back as
// written, whatever a damaged settings file holds.
#include "satellites/SatelliteChoices.h"

#include "ScriptedPorts.h"

#include <gtest/gtest.h>

namespace {

KepsElementSet set(const char *name, const char *catalogue)
{
    return {QLatin1String(name), QStringLiteral("1 %1U 98067A   26160.50000000").arg(QLatin1String(catalogue)), {}};
}

QStringList chosenNames(const SatelliteSelection &selection, const QList<KepsElementSet> &sets)
{
    QStringList names;
    for (const SatelliteChoices::Pick &pick : picksOf(selection, sets))
        names << pick.name + (pick.plot ? QStringLiteral("*") : QString());
    return names;
}

TEST(SatelliteChoices, PicksFollowTheirSetsIntoANewElementFile)
{
    const QList<KepsElementSet> before = {set("ISS", "25544"), set("NOAA-19", "33591"), set("AO-07", "07530"),
                                          set("SO-50", "27607")};
    SatelliteSelection selection;
    selection.selected[2] = selection.plot[2] = true;  // NOAA-19, on the map
    selection.selected[3] = true;                     // AO-07
    selection.selected[4] = true;                     // SO-50
    const QList<SatelliteChoices::Pick> picks = picksOf(selection, before);

    struct Case
    {
        const char *what;
        QList<KepsElementSet> after;
        QStringList chosen;
    } const cases[] = {
        {"the same file", before, {"NOAA-19*", "AO-07", "SO-50"}},
        {"reordered", {set("SO-50", "27607"), set("AO-07", "07530"), set("NOAA-19", "33591")},
         {"SO-50", "AO-07", "NOAA-19*"}},
        {"renamed, found by number", {set("NOAA 19", "33591"), set("AO-7", "07530")}, {"NOAA 19*", "AO-7"}},
        {"renumbered, found by name", {set("NOAA-19", "99999")}, {"NOAA-19*"}},
        // A set that took another's name does not steal its pick when the
        // number still finds the right one.
        {"a name reused", {set("AO-07", "33591"), set("AO-07", "07530")}, {"AO-07*", "AO-07"}},
        {"gone", {set("ISS", "25544")}, {}},
    };
    for (const Case &c : cases) {
        SatelliteSelection after;
        after.selected[1] = true;  // whatever was there is replaced
        applyPicks(picks, c.after, after);
        EXPECT_EQ(chosenNames(after, c.after), c.chosen) << c.what;
    }
}

TEST(SatelliteChoices, ReadBackAsWrittenAndDamageFallsBackToDefaults)
{
    MemorySettingsStore store;
    EXPECT_FALSE(SatelliteChoices::read(store).stored) << "an earlier version kept nothing";

    SatelliteChoices choices;
    choices.picks = {{"ISS", "25544", true}, {"NOAA 19", "33591", false}};
    choices.orbits = 3;
    choices.plotInterval = QStringLiteral("30 Seconds");
    choices.moon = false;
    choices.view = QStringLiteral("Globe View");
    choices.statusShown = true;
    choices.write(store);
    SatelliteChoices back = SatelliteChoices::read(store);
    EXPECT_TRUE(back.stored);
    EXPECT_EQ(back.picks, choices.picks);
    EXPECT_EQ(back.orbits, 3);
    EXPECT_EQ(back.plotInterval, choices.plotInterval);
    EXPECT_FALSE(back.moon);
    EXPECT_TRUE(back.sun);
    EXPECT_EQ(back.view, choices.view);
    EXPECT_TRUE(back.statusShown);

    // Fewer picks later leave none of the earlier ones behind.
    choices.picks.removeLast();
    choices.write(store);
    EXPECT_EQ(SatelliteChoices::read(store).picks.size(), 1);

    store.write("Kestrel", "Satellite Display", "Orbits", "99");
    store.write("Kestrel", "Satellite Display", "Lines", "maybe");
    back = SatelliteChoices::read(store);
    EXPECT_EQ(back.orbits, 1);
    EXPECT_TRUE(back.lines);
}

} // namespace
