#include "stations/StationListModel.h"

#include "core/Units.h"

#include "stations/FrameDecoder.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kUnreadable = -std::numeric_limits<double>::infinity();

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// A number cell; text that is no number sorts before every number.
double numberKey(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? value : kUnreadable;
}

// Digits at these places of the text as one number, or false when one is no digit.
template<size_t N>
bool digitsAt(const QString &text, const int (&places)[N], double *value)
{
    double number = 0;
    for (int i : places) {
        if (!isDigit(text.at(i)))
            return false;
        number = number * 10 + text.at(i).digitValue();
    }
    *value = number;
    return true;
}

// A time cell as the number yyyyMMddhhmmss. The list's own form and the
// Windows program's are read directly (sorting 100,000 rows reads every
// cell); other forms go through the host time reader.
double timeKey(const QString &text)
{
    static constexpr int kIso[] = {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18};      // yyyy-MM-dd HH:mm:ss
    static constexpr int kDayFirst[] = {6, 7, 8, 9, 3, 4, 0, 1, 11, 12, 14, 15, 17, 18};  // dd/MM/yyyy HH:mm:ss
    double value = 0;
    if (text.size() == 19 && text.at(13) == u':') {
        if (text.at(4) == u'-' && text.at(7) == u'-' && digitsAt(text, kIso, &value))
            return value;
        if (text.at(2) == u'/' && text.at(5) == u'/' && digitsAt(text, kDayFirst, &value))
            return value;
    }
    const QDateTime time = FrameText::hostTimeValue(text, QDate());
    if (!time.isValid())
        return kUnreadable;
    const QDate d = time.date();
    const QTime t = time.time();
    return ((d.year() * 100.0 + d.month()) * 100 + d.day()) * 1e6 + t.hour() * 1e4 + t.minute() * 100 + t.second();
}

enum class SortKind { Text, Number, Time };

SortKind sortKind(int column)
{
    switch (column) {
    case StationListModel::Dist:
    case StationListModel::Hrd: return SortKind::Number;
    case StationListModel::Time: return SortKind::Time;
    default: return SortKind::Text;
    }
}

double sortKey(SortKind kind, const QString &text)
{
    return kind == SortKind::Time ? timeKey(text) : numberKey(text);
}

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
    // The heading's text is fixed; its tip says the unit.
    if (orientation == Qt::Horizontal && role == Qt::ToolTipRole && section == Dist)
        return QStringLiteral("Distance from the home station, in %1").arg(Units::distanceName(m_miles));
    return QAbstractTableModel::headerData(section, orientation, role);
}

QString StationListModel::distanceText(double km) const
{
    const double distance = Units::convertDistance(km, false, m_miles);
    return QString::number(std::isfinite(distance) ? qint64(std::trunc(distance)) : 0);
}

void StationListModel::setDistanceInMiles(bool miles)
{
    if (miles == m_miles)
        return;
    m_miles = miles;
    for (Row &row : m_rows)
        if (row.distanceKm >= 0)
            row.cells[Dist] = distanceText(row.distanceKm);
    emit headerDataChanged(Qt::Horizontal, Dist, Dist);
    if (!m_rows.empty())
        emit dataChanged(index(0, Dist), index(count() - 1, Dist));
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

int StationListModel::sortedPlace(const Cells &cells, int skip) const
{
    const int column = m_sortColumn;
    const QString &text = cells[size_t(column)];
    const SortKind kind = sortKind(column);
    const bool ascending = m_sortOrder == Qt::AscendingOrder;
    const double key = kind == SortKind::Text ? 0 : sortKey(kind, text);
    // Whether the row goes before that one; equal cells keep the new row after.
    const auto goesBefore = [&](const Row &row) {
        const QString &other = row.cells[size_t(column)];
        if (kind == SortKind::Text) {
            const int c = text.compare(other, Qt::CaseInsensitive);
            return ascending ? c < 0 : c > 0;
        }
        const double otherKey = sortKey(kind, other);
        return ascending ? key < otherKey : key > otherKey;
    };
    int low = 0;
    int high = count() - (skip >= 0 ? 1 : 0);
    while (low < high) {
        const int middle = (low + high) / 2;
        if (goesBefore(m_rows[size_t(skip < 0 || middle < skip ? middle : middle + 1)]))
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

int StationListModel::moveToSortedPlace(int r)
{
    if (!sorting())
        return r;
    const int place = sortedPlace(m_rows[size_t(r)].cells, r);
    if (place == r)
        return r;
    beginMoveRows({}, r, r, {}, place > r ? place + 1 : place);
    Row moving = std::move(m_rows[size_t(r)]);
    m_rows.erase(m_rows.begin() + r);
    m_rows.insert(m_rows.begin() + place, std::move(moving));
    reindex(std::min(r, place), std::max(r, place));
    endMoveRows();
    return place;
}

void StationListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_index.clear();
    endResetModel();
    emit countChanged(0);
}

void StationListModel::sortByColumn(int column, Qt::SortOrder order)
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
    const bool ascending = order == Qt::AscendingOrder;
    const SortKind kind = sortKind(column);
    if (kind == SortKind::Text) {
        const auto text = [this, column](int r) -> const QString & { return m_rows[size_t(r)].cells[size_t(column)]; };
        std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
            const int c = text(a).compare(text(b), Qt::CaseInsensitive);
            return ascending ? c < 0 : c > 0;
        });
    } else {
        std::vector<double> keys(m_rows.size());
        for (size_t i = 0; i < keys.size(); ++i)
            keys[i] = sortKey(kind, m_rows[i].cells[size_t(column)]);
        std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
            return ascending ? keys[size_t(a)] < keys[size_t(b)] : keys[size_t(a)] > keys[size_t(b)];
        });
    }
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

void StationListModel::reindex(int first, int last)
{
    // Only these rows changed places. A callsign whose first row lies before
    // them keeps it; for the others the first row in the range is the first.
    constexpr int kPending = std::numeric_limits<int>::max();
    for (int r = first; r <= last; ++r) {
        const auto it = m_index.find(m_rows[size_t(r)].cells[Station]);
        if (it == m_index.end() || *it >= first)
            m_index.insert(m_rows[size_t(r)].cells[Station], kPending);
    }
    for (int r = first; r <= last; ++r) {
        int &row = m_index[m_rows[size_t(r)].cells[Station]];
        if (row == kPending)
            row = r;
    }
}

void StationListModel::rebuildIndex()
{
    m_index.clear();
    m_index.reserve(qsizetype(m_rows.size()));
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (!m_index.contains(m_rows[i].cells[Station]))
            m_index.insert(m_rows[i].cells[Station], int(i));
}
