#include "dx/PrefixListModel.h"

#include <algorithm>
#include <numeric>

const QStringList &PrefixListModel::headings()
{
    static const QStringList names = {"Prefix",    "Country",  "Region",    "ITU Zone", "CQ Zone",
                                      "Time Zone", "Latitude", "Longitude", "Checked"};
    return names;
}

int PrefixListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int PrefixListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(headings().size());
}

QVariant PrefixListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Row &row = m_rows.at(index.row());
    const int column = index.column();
    if (role == Qt::DisplayRole) {
        if (column == CheckedColumn)
            return row.ticked ? TickedMark : QString();
        return row.line.fields.value(column);
    }
    if (role == Qt::CheckStateRole && column == 0)
        return row.ticked ? Qt::Checked : Qt::Unchecked;
    return {};
}

bool PrefixListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.column() != 0 || role != Qt::CheckStateRole)
        return false;
    setTicked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

QVariant PrefixListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return headings().value(section);
    return {};
}

Qt::ItemFlags PrefixListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

void PrefixListModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= columnCount())
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QList<int> rows(m_rows.size());
    std::iota(rows.begin(), rows.end(), 0);
    auto text = [&](int row) {
        const Row &r = m_rows.at(row);
        return column == CheckedColumn ? (r.ticked ? TickedMark : QString()) : r.line.fields.value(column);
    };
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        const int c = text(a).compare(text(b), Qt::CaseInsensitive);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    QList<Row> sorted;
    sorted.reserve(m_rows.size());
    QList<int> newRowOf(m_rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        sorted.append(m_rows.at(rows[i]));
        newRowOf[rows[i]] = i;
    }
    m_rows = std::move(sorted);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before)
        after.append(this->index(newRowOf[index.row()], index.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void PrefixListModel::addRow(const PrefixLine &line, bool ticked)
{
    const int row = int(m_rows.size());
    beginInsertRows({}, row, row);
    m_rows.append(Row{line, false});
    endInsertRows();
    if (ticked)
        setTicked(row, true);
}

void PrefixListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_tickedCount.clear();
    endResetModel();
}

void PrefixListModel::setTicked(int row, bool ticked)
{
    if (row < 0 || row >= m_rows.size() || m_rows[row].ticked == ticked)
        return;
    Row &r = m_rows[row];
    r.ticked = ticked;
    int &count = m_tickedCount[r.line.prefixes()];
    count += ticked ? 1 : -1;
    if (count == 0)
        m_tickedCount.remove(r.line.prefixes());
    emit dataChanged(index(row, 0), index(row, CheckedColumn));
}
