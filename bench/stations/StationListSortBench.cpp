// Sorting a station list by a column (numbers, times, text), writing and
// reading its file lines, with 10,000 and 100,000 rows, and loading a saved
// list of 50,000 into a list the user sees.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>

#include <memory>

#include "stations/StationListFile.h"
#include "stations/StationListModel.h"

namespace {

StationListModel::Cells cellsOf(QRandomGenerator &random, int n)
{
    StationListModel::Cells cells;
    cells[StationListModel::Station] = QStringLiteral("N%1").arg(n, 6, 10, QLatin1Char('0'));
    cells[StationListModel::Type] = QStringLiteral("Fixed");
    cells[StationListModel::Direct] = QStringLiteral("No");
    cells[StationListModel::Dist] = QString::number(random.bounded(20000));
    cells[StationListModel::Path] = QStringLiteral("N0GATE*,WIDE2-1 Port=1 ");
    cells[StationListModel::Lattitude] = QStringLiteral("51.30.00N");
    cells[StationListModel::Longitude] = QStringLiteral("000.07.50W");
    cells[StationListModel::Hrd] = QString::number(random.bounded(500));
    cells[StationListModel::Status] = QStringLiteral("status | with a bar and 50% text");
    // Mostly the list's own form, one in ten the Windows program's.
    const QDateTime when = QDateTime(QDate(2026, 12, 1), QTime(0, 0)).addSecs(random.bounded(600000));
    cells[StationListModel::Time] = when.toString(n % 10 == 0 ? QStringLiteral("dd/MM/yyyy HH:mm:ss")
                                                              : QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return cells;
}

void fill(StationListModel &model, int rows)
{
    QRandomGenerator random(11);
    for (int n = 0; n < rows; ++n)
        model.appendRow(cellsOf(random, n));
}

void BM_SortByColumn(benchmark::State &state)
{
    StationListModel model;
    fill(model, int(state.range(0)));
    const int column = int(state.range(1));
    bool ascending = true;
    for (auto _ : state) {
        model.sortByColumn(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
        ascending = !ascending;
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SortByColumn)
    ->ArgsProduct({{10000, 100000}, {StationListModel::Dist, StationListModel::Time, StationListModel::Station}})
    ->Unit(benchmark::kMillisecond);

void BM_FileLinesRoundTrip(benchmark::State &state)
{
    StationListModel model;
    fill(model, int(state.range(0)));
    for (auto _ : state) {
        int parsed = 0;
        for (int r = 0; r < model.count(); ++r) {
            StationListFile::Parsed line;
            parsed += StationListFile::parseLine(StationListFile::lineOf(model.row(r).cells), &line);
        }
        benchmark::DoNotOptimize(parsed);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FileLinesRoundTrip)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_LoadSavedListIntoView(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("saved.kel"));
    {
        StationListModel saved;
        fill(saved, int(state.range(0)));
        QString error;
        if (!StationListFile::save(path, saved, &error)) {
            state.SkipWithError("the list could not be saved");
            return;
        }
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto model = std::make_unique<StationListModel>();
        QTableView view;
        view.setModel(model.get());
        view.resize(900, 600);
        if (state.range(1))
            view.show();
        QApplication::processEvents();
        state.ResumeTiming();
        StationListFile::load(path, *model);
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadSavedListIntoView)->ArgNames({"rows", "shown"})->Args({50000, 0})->Args({50000, 1})->Unit(benchmark::kMillisecond);

} // namespace
