#include "orbiter/SatelliteTableModel.h"

#include "orbiter/PaintKit.h"

#include "core/Units.h"

#include <QBrush>
#include <QColor>

namespace orbiter {

namespace {

const char *const kHeaders[] = {"Satellite", "Latitude", "Longitude", "Azimuth", "Elevation", "Range",
                                "Doppler", "Next AOS", "Max El", "LOS", "2nd El", "Mutual"};
const char *const kTips[] = {
    "The satellite's name in the element file",
    "Latitude of the point beneath the satellite",
    "Longitude of the point beneath the satellite",
    "Direction from the observer, degrees from north through east",
    "Height above the observer's horizon, degrees; negative below it",
    "Distance from the observer",
    "Received over sent frequency (below 1 while the satellite moves away)",
    "When the next pass begins (now, while it is in view)",
    "Highest elevation of that pass",
    "When that pass ends",
    "Elevation seen from the second observer",
    "Whether both observers see the satellite now",
};

QString degrees(double value, int decimals = 1)
{
    return QStringLiteral("%1\u00b0").arg(value, 0, 'f', decimals);
}

} // namespace

void SatelliteTableModel::setScene(const Scene &scene)
{
    const int columns = scene.second ? Mutual + 1 : SecondElevation;
    const bool reshape = columns != m_columns || scene.satellites.size() != m_scene.satellites.size();
    if (reshape)
        beginResetModel();
    const bool unitChanged = scene.options.miles != m_scene.options.miles;
    m_scene = scene;
    m_columns = columns;
    if (reshape)
        endResetModel();
    else if (!m_scene.satellites.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    if (unitChanged && !reshape)
        emit headerDataChanged(Qt::Horizontal, Range, Range);
}

int SatelliteTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_scene.satellites.size());
}

int SatelliteTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QString SatelliteTableModel::text(const SceneSatellite &sat, int column) const
{
    if (column == Name)
        return sat.name;
    if (!sat.valid)
        return column == Latitude ? (sat.problem.isEmpty() ? QStringLiteral("no position") : sat.problem) : QString();
    const QDateTime &now = m_scene.localTime;
    const std::optional<ScenePass> &pass = sat.up && sat.current ? sat.current : sat.next;
    switch (column) {
    case Latitude:
        return formatLatitude(sat.latitude);
    case Longitude:
        return formatLongitude(sat.longitude);
    case Azimuth:
        return degrees(sat.azimuth);
    case Elevation:
        return degrees(sat.elevation);
    case Range:
        return QString::number(Units::convertDistance(sat.rangeKm, false, m_scene.options.miles), 'f', 0);
    case Doppler:
        return QString::number(sat.dopplerFactor, 'f', 7);
    case Aos:
        if (sat.up)
            return QStringLiteral("in view");
        return pass ? formatWhen(pass->aos, now) : QStringLiteral("none in 7 days");
    case MaxElevation:
        return pass ? degrees(pass->maxElevation, 0) : QString();
    case Los:
        return pass ? formatWhen(pass->los, now) : QString();
    case SecondElevation:
        return degrees(sat.secondElevation);
    case Mutual:
        return sat.mutualNow ? QStringLiteral("yes")
                             : sat.nextMutual ? QStringLiteral("from ") + formatWhen(sat.nextMutual->aos, now)
                                              : QStringLiteral("no");
    }
    return {};
}

QVariant SatelliteTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const SceneSatellite &sat = m_scene.satellites[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return text(sat, index.column());
    case Qt::TextAlignmentRole:
        return index.column() == Name ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                      : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        if (!sat.valid)
            return QBrush(QColor(150, 40, 40));
        if (index.column() == Name)
            return QBrush(satelliteColour(index.row()).darker(190));
        return {};
    case Qt::BackgroundRole:
        if (sat.valid && sat.up)
            return QBrush(QColor(200, 240, 200));
        return {};
    case Qt::ToolTipRole:
        if (!sat.valid && !sat.problem.isEmpty())
            return sat.name + QStringLiteral(": ") + sat.problem;
        if (index.column() == Doppler && sat.valid)
            return QStringLiteral("%1 Hz at 145.800 MHz, %2 Hz at 435.000 MHz")
                .arg((sat.dopplerFactor - 1.0) * 145.8e6, 0, 'f', 0)
                .arg((sat.dopplerFactor - 1.0) * 435.0e6, 0, 'f', 0);
        return {};
    default:
        return {};
    }
}

QVariant SatelliteTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section > Mutual)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole && section == Range)
        return QString::fromLatin1(kHeaders[section]) + u' ' + Units::distanceSymbol(m_scene.options.miles);
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(kHeaders[section]);
    if (role == Qt::ToolTipRole)
        return QString::fromLatin1(kTips[section]);
    return {};
}

} // namespace orbiter
