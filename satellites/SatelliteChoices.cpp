#include "satellites/SatelliteChoices.h"

#include "core/AppInfo.h"
#include "core/SettingsStore.h"

#include <functional>

namespace {

const QString kSelected = QStringLiteral("Selected Satellites");
const QString kDisplay = QStringLiteral("Satellite Display");
// More than the element table holds: a damaged count cannot make reading run long.
constexpr int kMostPicks = 200;

QString boolText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

bool boolValue(const QString &text, bool fallback)
{
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    return fallback;
}

} // namespace

SatelliteChoices SatelliteChoices::read(const SettingsStore &store)
{
    SatelliteChoices choices;
    auto value = [&store](const QString &section, const QString &key, bool *found = nullptr) {
        QString text;
        const bool present = store.read(AppInfo::Title, section, key, &text);
        if (found)
            *found = present;
        return text.trimmed();
    };
    for (int i = 1; i <= kMostPicks; ++i) {
        bool found = false;
        Pick pick;
        pick.name = value(kSelected, QStringLiteral("Satellite%1").arg(i), &found);
        if (!found)
            break;
        pick.catalogue = value(kSelected, QStringLiteral("Catalogue%1").arg(i));
        pick.plot = boolValue(value(kSelected, QStringLiteral("Plot%1").arg(i)), false);
        if (!pick.name.isEmpty() || !pick.catalogue.isEmpty())
            choices.picks.append(pick);
    }
    bool found = false;
    const QString orbits = value(kDisplay, QStringLiteral("Orbits"), &found);
    choices.stored = found || !choices.picks.isEmpty();
    if (const int n = orbits.toInt(); n >= 1 && n <= 10)
        choices.orbits = n;
    choices.plotInterval = value(kDisplay, QStringLiteral("Plot Interval"));
    choices.lines = boolValue(value(kDisplay, QStringLiteral("Lines")), true);
    choices.sun = boolValue(value(kDisplay, QStringLiteral("Sun")), true);
    choices.moon = boolValue(value(kDisplay, QStringLiteral("Moon")), true);
    choices.view = value(kDisplay, QStringLiteral("View"));
    choices.statusShown = boolValue(value(kDisplay, QStringLiteral("Shown")), false);
    return choices;
}

void SatelliteChoices::write(SettingsStore &store) const
{
    store.removeSection(AppInfo::Title, kSelected);
    for (int i = 0; i < picks.size(); ++i) {
        const QString n = QString::number(i + 1);
        store.write(AppInfo::Title, kSelected, QStringLiteral("Satellite") + n, picks[i].name);
        store.write(AppInfo::Title, kSelected, QStringLiteral("Catalogue") + n, picks[i].catalogue);
        store.write(AppInfo::Title, kSelected, QStringLiteral("Plot") + n, boolText(picks[i].plot));
    }
    store.write(AppInfo::Title, kDisplay, QStringLiteral("Orbits"), QString::number(orbits));
    store.write(AppInfo::Title, kDisplay, QStringLiteral("Plot Interval"), plotInterval);
    store.write(AppInfo::Title, kDisplay, QStringLiteral("Lines"), boolText(lines));
    store.write(AppInfo::Title, kDisplay, QStringLiteral("Sun"), boolText(sun));
    store.write(AppInfo::Title, kDisplay, QStringLiteral("Moon"), boolText(moon));
    store.write(AppInfo::Title, kDisplay, QStringLiteral("View"), view);
    store.write(AppInfo::Title, kDisplay, QStringLiteral("Shown"), boolText(statusShown));
}

QString catalogueNumber(const QString &line1)
{
    return line1.startsWith(QLatin1String("1 ")) ? catalogueField(line1) : QString();
}

QList<SatelliteChoices::Pick> picksOf(const SatelliteSelection &selection, const QList<KepsElementSet> &sets)
{
    QList<SatelliteChoices::Pick> picks;
    for (int i = 0; i < sets.size() && i < SatelliteSelection::Size; ++i)
        if (selection.selected[std::size_t(i + 1)])
            picks.append({sets[i].name, catalogueNumber(sets[i].line1), selection.plot[std::size_t(i + 1)]});
    return picks;
}

QList<SatelliteChoices::Pick> applyPicks(const QList<SatelliteChoices::Pick> &picks, const QList<KepsElementSet> &sets,
                SatelliteSelection &selection)
{
    selection.clear();
    const int count = int(std::min<qsizetype>(sets.size(), SatelliteSelection::Size));
    QStringList numbers;
    for (int i = 0; i < count; ++i)
        numbers.append(catalogueNumber(sets[i].line1));
    using Match = std::function<bool(const SatelliteChoices::Pick &, int)>;
    const Match rules[] = {
        [&](const SatelliteChoices::Pick &p, int i) { return !p.catalogue.isEmpty() && numbers[i] == p.catalogue && sets[i].name == p.name; },
        [&](const SatelliteChoices::Pick &p, int i) { return !p.catalogue.isEmpty() && numbers[i] == p.catalogue; },
        [&](const SatelliteChoices::Pick &p, int i) { return !p.name.isEmpty() && sets[i].name == p.name; },
    };
    QList<bool> placed(picks.size(), false);
    // Each rule in turn over every pick, so a looser rule never takes a set
    // that a stricter one gives to another pick.
    for (const Match &matches : rules)
        for (qsizetype p = 0; p < picks.size(); ++p) {
            if (placed[p])
                continue;
            for (int i = 0; i < count; ++i)
                if (!selection.selected[std::size_t(i + 1)] && matches(picks[p], i)) {
                    selection.selected[std::size_t(i + 1)] = true;
                    selection.plot[std::size_t(i + 1)] = picks[p].plot;
                    placed[p] = true;
                    break;
                }
        }
    QList<SatelliteChoices::Pick> missing;
    for (qsizetype p = 0; p < picks.size(); ++p)
        if (!placed[p])
            missing.append(picks[p]);
    return missing;
}
