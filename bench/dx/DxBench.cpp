// Spots per second through the DX window's AddDxSpot with notification on,
// every country ticked and a prefix index of 10,000 expanded prefixes, and
// the country look-up on its own.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QHash>

#include "ScriptedPorts.h"
#include "TempDirs.h"
#include "core/Configuration.h"
#include "core/DetachedHost.h"
#include "core/SharedState.h"
#include "core/WindowRegistry.h"
#include "dx/BandTable.h"
#include "dx/DxTabStrip.h"
#include "dx/frmDx.h"

namespace {

// A map that keeps its named symbols in a hash, as a real one must at least.
class SymbolMap : public DetachedMap
{
public:
    void placeNamedSymbol(const QString &name, float longitude, float latitude) override
    {
        symbols.insert(name, {longitude, latitude});
    }
    QHash<QString, QPair<float, float>> symbols;
};

class SymbolHost : public DetachedHost
{
public:
    HostMap *map() override { return &symbolMap; }
    SymbolMap symbolMap;
};

// Stems of two or three characters, each line a range of ten: 1,000 lines
// give 10,000 expanded prefixes.
QString stemOf(int n)
{
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    return QString(letters[n % 26]) + letters[(n / 26) % 26] + (n >= 676 ? QString(letters[n / 676]) : QString());
}

QByteArray prefixFile(int lines)
{
    QByteArray text = "; generated for the benchmark\r\n";
    for (int i = 0; i < lines; ++i) {
        const QByteArray stem = stemOf(i).toLatin1();
        text += stem + "0-" + stem + "9:Country " + QByteArray::number(i) + ":EU:27:14:0:51.50N:0.10W\r\n";
    }
    return text;
}

struct Spot
{
    QString text, callsign, frequency;
};

QList<Spot> spots(int lines)
{
    static const char *const frequencies[] = {"1830.0", "3520.0", "7015.0", "10110.0", "14025.0", "18075.0",
                                              "21074.0", "24950.0", "28025.0", "50090.0", "144300.0"};
    QList<Spot> out;
    for (int i = 0; i < 1024; ++i) {
        const QString call = stemOf((i * 7919) % lines) + QString::number(i % 10) + QStringLiteral("/KX");
        const QString spotter = QStringLiteral("G%1ABC").arg(i % 20);
        const QString frequency = QString::fromLatin1(frequencies[i % 11]);
        const QString text = QStringLiteral("DX de %1:").arg(spotter).leftJustified(15) + frequency.rightJustified(9)
                             + QStringLiteral("  ") + call.leftJustified(13) + QStringLiteral("CW 599 up 1").leftJustified(31)
                             + QStringLiteral("%1Z").arg(1200 + i % 60);
        out.append({text, call, frequency});
    }
    return out;
}

void BM_AddDxSpot(benchmark::State &state)
{
    const bool shown = state.range(0) != 0;
    constexpr int Lines = 1000;
    TempDirs dirs;
    ScriptedPrompts prompts;
    FixedClock clock(QDateTime(QDate(2026, 12, 7), QTime(20, 0)));
    SymbolHost host;
    config() = Configuration{};
    config().hostFolder = dirs.data();
    config().dxNotify = true;
    config().dxAllCalls = true;
    shared().host = &host;
    WindowRegistry::instance().clear();
    bandTable().setBands(BandTable::builtIn());
    QFile file(dirs.data() + QStringLiteral("/prefix.txt"));
    file.open(QIODevice::WriteOnly);
    file.write(prefixFile(Lines));
    file.close();

    frmDx dx;
    if (dx.monitor().prefixIndex().size() != Lines * 10) {
        state.SkipWithError("the prefix index was not built");
        return;
    }
    if (shown) {
        dx.show();
        dx.SSActiveTabs1->setTabVisible(dx.tabIndex(QStringLiteral("20M")), true);
        dx.SSActiveTabs1->setCurrentIndex(dx.tabIndex(QStringLiteral("20M")));
    }
    const QList<Spot> traffic = spots(Lines);
    qsizetype i = 0;
    for (auto _ : state) {
        const Spot &spot = traffic.at(i++ & 1023);
        dx.AddDxSpot(spot.text, spot.callsign, spot.frequency, 51, -1, 45, 1234);
        if (shown && (i & 63) == 0)
            QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["records"] = double(dx.monitor().spots().count());
    state.counters["prefixes"] = double(dx.monitor().prefixIndex().size());
    shared().host = nullptr;
}
BENCHMARK(BM_AddDxSpot)->ArgName("shown")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Spots kept for good (expiry 0) pile up over a contest weekend: each new
// spot on the band being looked at, handled as its own event, with 20,000
// spots already listed, 1,800 of them on that band.
void BM_AddDxSpotToALongBand(benchmark::State &state)
{
    TempDirs dirs;
    ScriptedPrompts prompts;
    FixedClock clock(QDateTime(QDate(2026, 12, 7), QTime(20, 0)));
    SymbolHost host;
    config() = Configuration{};
    config().hostFolder = dirs.data();
    config().dxExpire = 0;
    shared().host = &host;
    WindowRegistry::instance().clear();
    bandTable().setBands(BandTable::builtIn());
    QFile file(dirs.data() + QStringLiteral("/prefix.txt"));
    file.open(QIODevice::WriteOnly);
    file.write(prefixFile(100));
    file.close();

    frmDx dx;
    static const char *const frequencies[] = {"1830.0", "3520.0", "7015.0", "10110.0", "14025.0", "18075.0",
                                              "21074.0", "24950.0", "28025.0", "50090.0", "144300.0"};
    auto spot = [&](int i, const char *frequency) {
        const QString call = stemOf(i % 17576) + QString::number(i / 17576) + QStringLiteral("XY");
        const QString text = QStringLiteral("DX de G4ABC:").leftJustified(15) + QString::fromLatin1(frequency).rightJustified(9)
                             + QStringLiteral("  ") + call.leftJustified(13) + QStringLiteral("CQ contest").leftJustified(31)
                             + QStringLiteral("%1Z").arg(1200 + i % 60);
        dx.AddDxSpot(text, call, QString::fromLatin1(frequency), 51, -1, 45, 1234);
    };
    constexpr int Listed = 20000;
    for (int i = 0; i < Listed; ++i)
        spot(i, frequencies[i % 11]);
    dx.show();
    dx.SSActiveTabs1->setCurrentIndex(dx.tabIndex(QStringLiteral("20M")));
    QCoreApplication::processEvents();
    int i = Listed;
    for (auto _ : state) {
        spot(i++, "14025.0");
        QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["records"] = double(dx.monitor().spots().count());
    shared().host = nullptr;
}
BENCHMARK(BM_AddDxSpotToALongBand)->Unit(benchmark::kMillisecond);

void BM_CountryLookUp(benchmark::State &state)
{
    PrefixIndex index;
    const QString text = QString::fromLatin1(prefixFile(1000));
    for (const QString &line : text.split(QStringLiteral("\r\n"))) {
        PrefixLine parsed;
        if (PrefixFile::parseLine(line, &parsed) == PrefixFile::LineKind::Data)
            index.add(parsed);
    }
    const QList<Spot> traffic = spots(1000);
    qsizetype i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(index.lookUp(traffic.at(i++ & 1023).callsign));
    state.SetItemsProcessed(state.iterations());
    state.counters["prefixes"] = double(index.size());
}
BENCHMARK(BM_CountryLookUp)->Unit(benchmark::kMicrosecond);

} // namespace
