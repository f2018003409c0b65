#pragma once

#include "core/HostApplication.h"
#include "core/HostMap.h"

#include <QHash>
#include <QStringList>

// A host that records every call, in order, as one readable line each
// ("drawLine(1,2,3,4,255)") and answers from tables the test fills in.
class FakeHostMap : public HostMap
{
    Q_OBJECT
public:
    QStringList calls;
    QSize mapSize{640, 480};

    void setPenSetting(qint16 value) override;
    void setModeSetting(qint16 value) override;
    void setLegSetting(qint16 value) override;
    void drawLine(int x1, int y1, int x2, int y2, qint32 colour, qint16 &extra) override;
    void drawCircle(float longitude, float latitude, float radiusKm, qint32 colour, float a,
                    double b, float c) override;
    void placeNamedSymbol(const QString &name, float longitude, float latitude) override;
    QSize size() const override { return mapSize; }
    QImage copyArea(int x, int y, int width, int height) override;
    void clearDrawings() override;
};

class FakeHostApplication : public HostApplication
{
    Q_OBJECT
public:
    FakeHostApplication();

    QStringList calls;
    QHash<QString, HostStationRecord> stations;  // what lookUpStation knows
    QHash<QString, HostTelemetry> telemetry;     // what stationTelemetry answers
    QStringList objects;                          // placed objects by name
    QStringList stationLines;
    int placeAnswer = 0;
    QList<PlacedObject> placedLog;                // every object asked to be placed
    bool linkAnswer = true;
    FakeHostMap fakeMap;

    bool openLink(const QString &applicationAndTopic, const QString &item, QString *errorText) override;
    void closeLink() override;
    bool isLinkOpen() const override { return m_linkOpen; }
    bool lookUpStation(HostStationRecord &record) override;
    HostMap *map() override { return &fakeMap; }
    void refreshMap() override;
    QStringList placedObjects() override;
    void removePlacedObject(const QString &name) override;
    int placeObject(const PlacedObject &object) override;
    qint16 stationListSize() override;
    QString stationListLine(int index) override;
    QImage symbolPicture(const QString &symbolTable, const QString &symbolCode) override;
    HostTelemetry stationTelemetry(const QString &callsign) override { return telemetry.value(callsign); }
    DistanceBearing distanceAndBearing(double observerLatitude, double observerLongitude,
                                       double stationLatitude, double stationLongitude,
                                       bool kilometres) override;

    // Delivers one frame text as the hot link would.
    void hear(const QString &text) { emit frameReceived(text); }

private:
    bool m_linkOpen = false;
};
