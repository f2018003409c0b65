// Station list file lines and information texts (PHG/RNG) from outside, and
// the rows they fill in a sorted list: a line saves and loads back the same;
// rows added one by one, all at once, or sorted afterwards stand in the same
// order; an edited row moved to its sorted place is where a sort puts it.
#include "FuzzSupport.h"

#include "stations/MapPlotting.h"
#include "stations/StationListFile.h"

#include <QGuiApplication>

#include <memory>
#include <vector>

namespace {

using Cells = StationListModel::Cells;

QStringList order(const StationListModel &model)
{
    QStringList rows;
    for (int r = 0; r < model.count(); ++r) {
        QString row;
        for (int c = 0; c < StationListModel::LogFile; ++c)
            row += model.cell(r, c) + QLatin1Char('|');
        rows << row;
    }
    return rows;
}

void requireSameOrder(const StationListModel &a, const StationListModel &b, const char *property)
{
    const QStringList first = order(a), second = order(b);
    for (qsizetype r = 0; r < std::max(first.size(), second.size()); ++r)
        fuzz::require(r < first.size() && r < second.size() && first[r] == second[r], property,
                      QStringLiteral("row %1: %2 / %3").arg(r).arg(first.value(r), second.value(r)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The model draws its icons up front.
    fuzz::startApplication<QGuiApplication>();
    if (size == 0)
        return 0;
    // The first byte picks the sort; the rest is the file.
    const int column = data[0] % StationListModel::ColumnCount;
    const Qt::SortOrder sortOrder = (data[0] / StationListModel::ColumnCount) % 2 ? Qt::DescendingOrder
                                                                                 : Qt::AscendingOrder;
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    std::vector<Cells> rows;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        StationListFile::Parsed parsed;
        if (!StationListFile::parseLine(line, &parsed))
            continue;
        fuzz::require(parsed.cells[StationListModel::LogFile].isEmpty(), "no log file comes from a file", line);
        // Whatever a line loads into saves and loads back the same.
        StationListFile::Parsed again;
        fuzz::require(StationListFile::parseLine(StationListFile::lineOf(StationListFile::mergeCells(parsed)), &again),
                      "a saved line reads", line);
        for (int c = 0; c < StationListModel::LogFile; ++c)
            fuzz::require(again.cells[size_t(c)] == parsed.cells[size_t(c)], "a line saves and loads back the same",
                          line);
        rows.push_back(parsed.cells);
        (void)phgRngCircle(parsed.cells[StationListModel::Status]);
    }
    (void)phgRngCircle(text);

    // Sorted first, then row by row as stations are heard.
    StationListModel oneByOne;
    oneByOne.sortByColumn(column, sortOrder);
    for (const Cells &cells : rows)
        oneByOne.appendRow(cells);
    // Sorted first, then the whole file at once.
    StationListModel atOnce;
    atOnce.sortByColumn(column, sortOrder);
    atOnce.appendRows(rows);
    requireSameOrder(oneByOne, atOnce, "rows added at once stand as one by one");
    // Loaded unsorted, sorted afterwards.
    StationListModel sortedAfter;
    sortedAfter.appendRows(rows);
    sortedAfter.sortByColumn(column, sortOrder);
    requireSameOrder(oneByOne, sortedAfter, "rows added to a sorted list stand as a sort puts them");

    for (int r = 0; r < atOnce.count(); ++r) {
        const QString &callsign = atOnce.cell(r, StationListModel::Station);
        const int found = atOnce.find(callsign);
        fuzz::require(found >= 0 && found <= r && atOnce.cell(found, StationListModel::Station) == callsign,
                      "a station is found at its first row", callsign);
    }

    // A row whose cell changes moves to where a sort would put it; sorting
    // again then moves nothing.
    if (atOnce.count() > 1) {
        const int edited = int(size % size_t(atOnce.count()));
        const int source = int((size / 7) % size_t(atOnce.count()));
        atOnce.setCell(edited, column, atOnce.cell(source, (column + 1) % StationListModel::LogFile));
        atOnce.moveToSortedPlace(edited);
        const QStringList moved = order(atOnce);
        atOnce.sortByColumn(column, sortOrder);
        fuzz::require(order(atOnce) == moved, "an edited row moves to its sorted place");
    }
    return 0;
}
