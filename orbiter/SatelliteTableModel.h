#pragma once

#include "orbiter/Scene.h"

#include <QAbstractTableModel>

namespace orbiter {

// The text view's table: one row per satellite of the scene. With a second
// observer in use two more columns show its elevation and whether both see
// the satellite now.
class SatelliteTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Name, Latitude, Longitude, Azimuth, Elevation, Range, Doppler, Aos, MaxElevation, Los,
                  SecondElevation, Mutual };

    using QAbstractTableModel::QAbstractTableModel;

    void setScene(const Scene &scene);
    const Scene &scene() const { return m_scene; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QString text(const SceneSatellite &sat, int column) const;

    Scene m_scene;
    int m_columns = SecondElevation;
};

} // namespace orbiter
