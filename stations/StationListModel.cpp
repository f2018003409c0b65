#include "stations/StationListModel.h"

#include "core/Units.h"

#include "stations/EmergencyAlerts.h"
#include "stations/FrameDecoder.h"

#include <QColor>

#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kUnreadable = -std::numeric_limits<double>::infinity();

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// A number cell; text that is no number sorts before every number. "nan"
// reads as a number but compares with none, which would leave the sort with
// no order to keep.
double numberKey(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && !std::isnan(value) ? value : kUnreadable;
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
    // A station in emergency is red in every list until it is acknowledged.
    connect(&EmergencyAlerts::instance(), &EmergencyAlerts::alarmChanged, this, [this](const QString &callsign) {
        const int r = find(callsign);
        if (r >= 0)
            rowChanged(r);
    });
}

const QStringList &StationListModel::headers()
{
    static const QStringList names{
        QStringLiteral("Station"), QStringLiteral("Type"), QStringLiteral("Direct"),
        QStringLiteral("Dist"), QStringLiteral("Path"), QStringLiteral("Lattitude"),
        QStringLiteral("Longitude"), QStringLiteral("Hrd"), QStringLiteral("Status"),
        QStringLiteral("Time"), QStringLiteral("Log File"), QStringLiteral("Height")};
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
    const Row &r = row(index.row());
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
    case Qt::BackgroundRole:
        if (EmergencyAlerts::instance().isAlarmed(r.cells[Station]))
            return QColor(Qt::red);
        break;
    case Qt::ForegroundRole:
        if (EmergencyAlerts::instance().isAlarmed(r.cells[Station]))
            return QColor(Qt::white);
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
    for (const std::unique_ptr<Slot> &slot : m_rows) {
        if (slot->row.distanceKm >= 0)
            slot->row.cells[Dist] = distanceText(slot->row.distanceKm);
        if (!std::isnan(slot->row.heightFeet))
            slot->row.cells[Height] = heightText(slot->row.heightFeet);
    }
    emit headerDataChanged(Qt::Horizontal, Dist, Dist);
    if (!m_rows.empty()) {
        emit dataChanged(index(0, Dist), index(count() - 1, Dist));
        emit dataChanged(index(0, Height), index(count() - 1, Height));
    }
}

QString StationListModel::heightText(double feet) const
{
    return QString::number(std::llround(Units::heightFromFeet(feet, m_miles))) + QLatin1Char(' ')
           + Units::heightSymbol(m_miles);
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
    if (row(index.row()).checked == checked)
        return true;
    setChecked(index.row(), checked);
    emit checkToggled(index.row(), checked);
    return true;
}

void StationListModel::numberPlaces() const
{
    for (size_t i = size_t(m_placesRightBelow); i < m_rows.size(); ++i)
        m_rows[i]->place = int(i);
    m_placesRightBelow = count();
}

int StationListModel::placeOf(const Slot *slot) const
{
    if (slot->place >= m_placesRightBelow)
        numberPlaces();
    return slot->place;
}

int StationListModel::find(const QString &callsign) const
{
    int first = -1;
    for (auto it = m_index.constFind(callsign); it != m_index.cend() && it.key() == callsign; ++it) {
        const int place = placeOf(it.value());
        if (first < 0 || place < first)
            first = place;
    }
    return first;
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
    auto slot = std::make_unique<Slot>();
    slot->row.cells = cells;
    slot->place = r;
    m_index.insert(cells[Station], slot.get());
    m_rows.insert(m_rows.begin() + r, std::move(slot));
    // A row added at the end leaves every place as it was.
    if (r == count() - 1 && m_placesRightBelow == r)
        m_placesRightBelow = count();
    else
        placesMovedFrom(r);
    endInsertRows();
    emit countChanged(count());
    return r;
}

void StationListModel::appendRows(std::vector<Cells> rows)
{
    if (rows.empty())
        return;
    const int first = count();
    beginInsertRows({}, first, first + int(rows.size()) - 1);
    m_rows.reserve(m_rows.size() + rows.size());
    for (Cells &cells : rows) {
        auto slot = std::make_unique<Slot>();
        slot->row.cells = std::move(cells);
        slot->place = count();
        m_index.insert(slot->row.cells[Station], slot.get());
        m_rows.push_back(std::move(slot));
    }
    if (m_placesRightBelow == first)
        m_placesRightBelow = count();
    endInsertRows();
    // The sort keeps equal rows in their order, so the new rows land after
    // the equal ones already there, as one by one they would.
    if (sorting())
        sortByColumn(m_sortColumn, m_sortOrder);
    emit countChanged(count());
}

void StationListModel::rowChanged(int r)
{
    emit dataChanged(index(r, 0), index(r, ColumnCount - 1));
}

void StationListModel::setCell(int r, int column, const QString &text)
{
    Slot *slot = m_rows[size_t(r)].get();
    if (column == Station && slot->row.cells[Station] != text) {
        m_index.remove(slot->row.cells[Station], slot);
        m_index.insert(text, slot);
    }
    slot->row.cells[size_t(column)] = text;
    emit dataChanged(index(r, column), index(r, column));
}

void StationListModel::setChecked(int r, bool checked)
{
    editRow(r).checked = checked;
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
        if (goesBefore(row(skip < 0 || middle < skip ? middle : middle + 1)))
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
    const int place = sortedPlace(row(r).cells, r);
    if (place == r)
        return r;
    beginMoveRows({}, r, r, {}, place > r ? place + 1 : place);
    const auto at = [this](int i) { return m_rows.begin() + i; };
    if (place < r)
        std::rotate(at(place), at(r), at(r + 1));
    else
        std::rotate(at(r), at(r + 1), at(place + 1));
    placesMovedFrom(std::min(r, place));
    endMoveRows();
    return place;
}

void StationListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_index.clear();
    m_placesRightBelow = 0;
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
    const bool ascending = order == Qt::AscendingOrder;
    const SortKind kind = sortKind(column);
    const auto text = [this, column](size_t row) -> const QString & { return m_rows[row]->row.cells[size_t(column)]; };
    // Sorted as (key, old place) pairs in one flat array: equal keys keep
    // their order, and no comparison chases a row's pointer or folds case
    // again, which with tens of thousands of rows was most of the time.
    std::vector<int> sorted(m_rows.size());
    const auto sortPairs = [&](auto &keys, auto compare) {
        std::sort(keys.begin(), keys.end(), [&](const auto &a, const auto &b) {
            const int c = compare(a.first, b.first);
            return c != 0 ? (ascending ? c < 0 : c > 0) : a.second < b.second;
        });
        for (size_t i = 0; i < keys.size(); ++i)
            sorted[i] = keys[i].second;
    };
    if (kind == SortKind::Text) {
        std::vector<std::pair<QString, int>> keys;
        keys.reserve(m_rows.size());
        for (size_t i = 0; i < m_rows.size(); ++i)
            keys.emplace_back(text(i).toCaseFolded(), int(i));
        sortPairs(keys, [](const QString &a, const QString &b) { return a.compare(b); });
    } else {
        std::vector<std::pair<double, int>> keys;
        keys.reserve(m_rows.size());
        for (size_t i = 0; i < m_rows.size(); ++i)
            keys.emplace_back(sortKey(kind, text(i)), int(i));
        sortPairs(keys, [](double a, double b) { return a < b ? -1 : (b < a ? 1 : 0); });
    }
    std::vector<std::unique_ptr<Slot>> rows(m_rows.size());
    std::vector<int> newPlace(m_rows.size());
    for (size_t i = 0; i < sorted.size(); ++i) {
        rows[i] = std::move(m_rows[size_t(sorted[i])]);
        newPlace[size_t(sorted[i])] = int(i);
    }
    m_rows = std::move(rows);
    m_placesRightBelow = 0;
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &old : before)
        after << index(newPlace[size_t(old.row())], old.column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
