#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>

#include "core/HostStationRecord.h"
#include "core/HostTelemetry.h"
#include "core/PlacedObject.h"

class HostMap;

// The APRS host program Kestrel attaches to, by the roles Kestrel relies on.
// The frame link and the automation events both arrive through this object.
class HostApplication : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~HostApplication() override = default;

    struct DistanceBearing
    {
        double distance = 0;
        double bearing = 0;
    };

    // Opens the hot link on which every heard frame arrives as frameReceived.
    // Returns false and sets errorText when the host does not answer.
    virtual bool openLink(const QString &applicationAndTopic, const QString &item,
                          QString *errorText) = 0;
    virtual void closeLink() = 0;
    virtual bool isLinkOpen() const = 0;

    // Fills the record whose callsign is set; false when the host does not know it.
    virtual bool lookUpStation(HostStationRecord &record) = 0;
    virtual HostMap *map() = 0;
    virtual void refreshMap() = 0;

    virtual QStringList placedObjects() = 0;
    virtual void removePlacedObject(const QString &name) = 0;
    virtual int placeObject(const PlacedObject &object) = 0;

    virtual qint16 stationListSize() = 0;
    virtual QString stationListLine(int index) = 0;

    // The station's latest telemetry; empty when the host holds none (or
    // keeps no telemetry at all, as not every host does).
    virtual HostTelemetry stationTelemetry(const QString &callsign)
    {
        Q_UNUSED(callsign);
        return {};
    }

    virtual QImage symbolPicture(const QString &symbolTable, const QString &symbolCode) = 0;

    // The host's own map window, when it has one: the user may close it as a
    // view and bring it back from Kestrel.
    virtual bool hasMapWindow() const { return false; }
    virtual void showMapWindow() {}

    // Windows in which the user sets the host's own station and its feeds up,
    // for a host that has them.
    virtual bool hasSetupWindows() const { return false; }
    virtual void showStationSetup() {}
    virtual void showFeedsSetup() {}
    // The host's two-way messages, when it has them: a window of its own and
    // a count of the messages the user has not read.
    virtual bool hasMessages() const { return false; }
    virtual void showMessagesWindow() {}
    virtual int unreadMessages() const { return 0; }

    // The unit of the distance that comes with each DX spot, which is the
    // host's own setting and need not be Kestrel's: miles when true, else kilometres.
    virtual bool spotDistancesInMiles() const { return false; }

    // Positions in degrees; kilometres when the flag is set, else miles.
    virtual DistanceBearing distanceAndBearing(double observerLatitude, double observerLongitude,
                                               double stationLatitude, double stationLongitude,
                                               bool kilometres) = 0;

signals:
    // The text of one heard frame, as the hot link delivers it.
    void frameReceived(const QString &text);

    void NotifyDXSpot(const QString &strDxSpot, const QString &strCallsign, const QString &strFreq,
                      qint16 intLat, qint16 intLong, qint16 intBearing, qint16 intDistance);
    void NotifyBeacon(const QString &strCallsign, float sngLat, float sngLong);
    void UIView32IsClosing();
    // The home station moved or changed its callsign (the user set it, or a
    // GPS moved it): UIVIEW32.INI holds the new one where the user set it.
    void homeStationChanged(const QString &callsign, double latitude, double longitude);
    void unreadMessagesChanged(int count);
    // A message to the home station has just arrived (not a repeat).
    void messageArrived(const QString &from, const QString &text);
};
