#include "stations/StationListModel.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace {

QIcon questionMark()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 15, 15);
    painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("?"));
    return QIcon(picture);
}

} // namespace

StationListModel::StationListModel(QObject *parent) : QAbstractTableModel(parent)
{
    m_icons.insert(QStringLiteral("??"), questionMark());
}

const QStringList &StationListModel::headers()
{
    static const QStringList names{
        QStringLiteral("Station"), QStringLiteral("Type"), QStringLiteral("Direct"),
        QStringLiteral("Dist"), QStringLiteral("Path"), QStringLiteral("Lattitude"),
        QStringLiteral("Longitude"), QStringLiteral("Hrd"), QStringLiteral("Status"),
        QStringLiteral("Time"), QStringLiteral("Log File")};
    return names;
}

int StationListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int StationListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant StationListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const Row &r = m_rows[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return r.cells[size_t(index.column())];
    case Qt::CheckStateRole:
        if (index.column() == Station)
            return r.checked ? Qt::Checked : Qt::Unchecked;
        break;
    case Qt::DecorationRole:
        if (index.column() == Type && !r.iconKey.isEmpty())
            return m_icons.value(r.iconKey);
        break;
    default:
        break;
    }
    return {};
}

QVariant StationListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return headers().at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags StationListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == Station)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

bool StationListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != Station || index.row() >= count())
        return false;
    const bool checked = value.toInt() == Qt::Checked;
    if (m_rows[size_t(index.row())].checked == checked)
        return true;
    setChecked(index.row(), checked);
    emit checkToggled(index.row(), checked);
    return true;
}

int StationListModel::find(const QString &callsign) const
{
    return m_index.value(callsign, -1);
}

int StationListModel::append(const QString &callsign)
{
    Cells cells;
    cells[Station] = callsign;
    return appendRow(cells);
}

int StationListModel::appendRow(const Cells &cells)
{
    const int r = sorting() ? sortedPlace(cells) : count();
    beginInsertRows({}, r, r);
    if (r < count()) {
        // Rows below move down one; only their index entries change.
        for (auto it = m_index.begin(); it != m_index.end(); ++it)
            if (*it >= r)
                ++*it;
    }
    m_rows.insert(m_rows.begin() + r, Row{cells, {}, false});
    if (const auto it = m_index.constFind(cells[Station]); it == m_index.cend() || *it > r)
        m_index.insert(cells[Station], r);
    endInsertRows();
    emit countChanged(count());
    return r;
}

void StationListModel::rowChanged(int r)
{
    emit dataChanged(index(r, 0), index(r, ColumnCount - 1));
}

void StationListModel::setCell(int r, int column, const QString &text)
{
    Row &row = m_rows[size_t(r)];
    if (column == Station && row.cells[Station] != text) {
        row.cells[Station] = text;
        rebuildIndex();
    } else {
        row.cells[size_t(column)] = text;
    }
    emit dataChanged(index(r, column), index(r, column));
}

void StationListModel::setChecked(int r, bool checked)
{
    m_rows[size_t(r)].checked = checked;
    emit dataChanged(index(r, Station), index(r, Station), {Qt::CheckStateRole});
}

int StationListModel::sortedPlace(const Cells &cells) const
{
    const QString &key = cells[size_t(m_sortColumn)];
    const auto first = m_rows.begin();
    const auto place = m_sortOrder == Qt::AscendingOrder
        ? std::upper_bound(first, m_rows.end(), key, [this](const QString &k, const Row &row) {
              return k.compare(row.cells[size_t(m_sortColumn)], Qt::CaseInsensitive) < 0;
          })
        : std::upper_bound(first, m_rows.end(), key, [this](const QString &k, const Row &row) {
              return row.cells[size_t(m_sortColumn)].compare(k, Qt::CaseInsensitive) < 0;
          });
    return int(place - first);
}

void StationListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_index.clear();
    endResetModel();
    emit countChanged(0);
}

void StationListModel::sortByText(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> order_(m_rows.size());
    for (size_t i = 0; i < order_.size(); ++i)
        order_[i] = int(i);
    const auto key = [this, column](int r) -> const QString & { return m_rows[size_t(r)].cells[size_t(column)]; };
    if (order == Qt::AscendingOrder)
        std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
            return key(a).compare(key(b), Qt::CaseInsensitive) < 0;
        });
    else
        std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
            return key(b).compare(key(a), Qt::CaseInsensitive) < 0;
        });
    std::vector<Row> sorted;
    sorted.reserve(m_rows.size());
    std::vector<int> newPlace(m_rows.size());
    for (size_t i = 0; i < order_.size(); ++i) {
        newPlace[size_t(order_[i])] = int(i);
        sorted.push_back(std::move(m_rows[size_t(order_[i])]));
    }
    m_rows.swap(sorted);
    rebuildIndex();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &old : before)
        after << index(newPlace[size_t(old.row())], old.column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void StationListModel::rebuildIndex()
{
    m_index.clear();
    m_index.reserve(qsizetype(m_rows.size()));
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (!m_index.contains(m_rows[i].cells[Station]))
            m_index.insert(m_rows[i].cells[Station], int(i));
}
