#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>
#include <QString>

#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <vector>

// The rows of a station list: one per station, every cell text. A hash from
// callsign to row keeps finding a station's row as cheap with 100,000 rows as
// with 100, and an update announces one row so the view repaints only that.
// Rows are held by pointer and know their own place, renumbered only when
// asked for after rows moved: a sorted list takes a new or moved row without
// touching every other row's entry.
class StationListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column {
        Station, Type, Direct, Dist, Path, Lattitude, Longitude, Hrd, Status, Time, LogFile, Height,
        ColumnCount
    };
    using Cells = std::array<QString, ColumnCount>;

    struct Row
    {
        Cells cells;
        QString iconKey;  // empty: no icon; "??": the question mark
        bool checked = false;
        // The distance heard, in kilometres, so that "Dist" can be shown again
        // in another unit; negative when not known (a row from a file).
        double distanceKm = -1;
        // The height heard, in feet, for the same reason; NaN when not known.
        double heightFeet = std::numeric_limits<double>::quiet_NaN();
    };

    explicit StationListModel(QObject *parent = nullptr);

    static const QStringList &headers();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // A check box changed by the user: the model updates the row and emits checkToggled.
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

    int count() const { return int(m_rows.size()); }
    // The first row (top to bottom) whose text is the callsign, or -1.
    int find(const QString &callsign) const;
    // Adds a row at the end with that text and the other cells empty.
    int append(const QString &callsign);
    int appendRow(const Cells &cells);
    // Many rows at once, as a list file brings them: one insertion for the
    // view, then (while sorting) one sort, in the order appendRow one by one
    // would have given.
    void appendRows(std::vector<Cells> rows);
    const Row &row(int r) const { return m_rows[size_t(r)]->row; }
    const QString &cell(int r, int column) const { return m_rows[size_t(r)]->row.cells[size_t(column)]; }
    // Edits in place (not the callsign: setCell changes that); call rowChanged once the row is complete.
    Row &editRow(int r) { return m_rows[size_t(r)]->row; }
    void rowChanged(int r);
    void setCell(int r, int column, const QString &text);
    // Checks or unchecks without emitting checkToggled (the caller runs the handler).
    void setChecked(int r, bool checked);
    void clear();

    // The unit of "Dist": its heading's tip says it, and a change sets every
    // distance heard again in the new unit.
    bool distanceInMiles() const { return m_miles; }
    void setDistanceInMiles(bool miles);
    // The home station moved: every row whose station the function places
    // (a distance in km, negative when it cannot) gets its new distance,
    // announced as one change of the column.
    template<typename DistanceKm> void setDistances(DistanceKm &&distanceKm)
    {
        for (const std::unique_ptr<Slot> &slot : m_rows) {
            const double km = distanceKm(slot->row.cells[Station]);
            if (km >= 0) {
                slot->row.distanceKm = km;
                slot->row.cells[Dist] = distanceText(km);
            }
        }
        if (!m_rows.empty())
            emit dataChanged(index(0, Dist), index(count() - 1, Dist));
    }
    // "Dist" for a distance in kilometres, in the list's unit: the whole part.
    QString distanceText(double km) const;
    // "Height" for a height in feet, in the list's unit, with the unit: "41216 ft".
    QString heightText(double feet) const;

    // Sorts the rows by a column: "Dist" and "Hrd" by number, "Time" by time
    // (text that is neither sorts first), the others by text without regard
    // to letter case. Equal cells keep their order. Sorting stays on: rows
    // added later go to their sorted place.
    void sortByColumn(int column, Qt::SortOrder order);
    bool sorting() const { return m_sortColumn >= 0; }
    // While sorting, a row whose cells changed moves to its sorted place
    // (equal cells keep their order); returns its row.
    int moveToSortedPlace(int r);

    // The image list: icons by key. "??" is always there.
    bool hasIcon(const QString &key) const { return m_icons.contains(key); }
    void addIcon(const QString &key, const QIcon &icon) { m_icons.insert(key, icon); }
    int iconCount() const { return int(m_icons.size()); }

signals:
    void checkToggled(int row, bool checked);
    void countChanged(int count);

private:
    struct Slot
    {
        Row row;
        int place = 0;  // right while below m_placesRightBelow
    };

    void numberPlaces() const;
    // The row's place, numbering the places anew from the first that moved.
    int placeOf(const Slot *slot) const;
    // Rows from this place on may have moved.
    void placesMovedFrom(int place) { m_placesRightBelow = std::min(m_placesRightBelow, place); }
    // The place of a row with these cells among the rows, leaving out row skip.
    int sortedPlace(const Cells &cells, int skip = -1) const;

    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;

    std::vector<std::unique_ptr<Slot>> m_rows;
    QMultiHash<QString, Slot *> m_index;
    mutable int m_placesRightBelow = 0;
    QHash<QString, QIcon> m_icons;
    bool m_miles = true;
};
