#pragma once

#include "core/HostApplication.h"
#include "core/HostMap.h"

// Stands in while no host program is attached: knows no station, draws
// nothing, refuses the link. Lets the link panel's test command and the
// windows run before (or without) a host.
class DetachedMap : public HostMap
{
    Q_OBJECT
public:
    using HostMap::HostMap;
    void setPenSetting(qint16) override {}
    void setModeSetting(qint16) override {}
    void setLegSetting(qint16) override {}
    void drawLine(int, int, int, int, qint32, qint16 &) override {}
    void drawCircle(float, float, float, qint32, float, double, float) override {}
    void placeNamedSymbol(const QString &, float, float) override {}
    QSize size() const override { return {}; }
    QImage copyArea(int, int, int, int) override { return {}; }
    void clearDrawings() override {}
};

class DetachedHost : public HostApplication
{
    Q_OBJECT
public:
    using HostApplication::HostApplication;
    bool openLink(const QString &, const QString &, QString *errorText) override;
    void closeLink() override {}
    bool isLinkOpen() const override { return false; }
    bool lookUpStation(HostStationRecord &) override { return false; }
    HostMap *map() override { return &m_map; }
    void refreshMap() override {}
    QStringList placedObjects() override { return {}; }
    void removePlacedObject(const QString &) override {}
    int placeObject(const PlacedObject &) override { return int(PlaceObjectStatus::CannotFind); }
    qint16 stationListSize() override { return 0; }
    QString stationListLine(int) override { return {}; }
    QImage symbolPicture(const QString &, const QString &) override { return {}; }
    DistanceBearing distanceAndBearing(double, double, double, double, bool) override { return {}; }

private:
    DetachedMap m_map;
};
