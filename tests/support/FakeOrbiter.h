#pragma once

#include "satellites/OrbiterControl.h"

#include <QHash>
#include <QStringList>

// A tracking control that records every call, in order, as "name(args)".
class FakeOrbiter : public OrbiterControl
{
public:
    QStringList calls;
    qint16 count = 0;
    // What the reads answer, per current entry.
    struct Answer
    {
        float longitude = 0;
        float latitude = 0;
        qint32 elevation = 0;
        QDateTime nextPass;
        QString name;
        float further = 0;
        QString problem;  // why there is no position; empty when there is one
    };
    QHash<int, Answer> answers;
    int current = 0;
    qint32 style = 0;
    bool iconsOn = false;

    void removeAllSatellites() override;
    void addSatelliteEntry() override;
    void setCurrentEntry(qint16 entry) override;
    void loadElementSet(const QString &name, const QString &line1, const QString &line2, qint16 entry, qint32 reserved) override;
    void setIcons(bool on) override;
    bool icons() const override;
    qint16 satelliteCount() const override;
    void setComputationTime(qint16 century, qint16 year, qint16 month, qint16 day, qint16 hour, qint16 minute, qint16 second) override;
    void computePosition() override;
    void computePass() override;
    float subSatelliteLongitude() const override;
    float subSatelliteLatitude() const override;
    qint32 elevation() const override;
    QDateTime nextPassTime() const override;
    QString satelliteName() const override;
    float furtherValue() const override;
    QString positionProblem() const override;
    void setDisplayStyle(qint32 style) override;
    qint32 displayStyle() const override;
    void setFolders(const QString &dataFolder, const QString &imageFolder) override;
    void setDisplayOn(bool on) override;
    void setObserverName(const QString &name) override;
    void setObserverLatitude(double degrees) override;
    void setObserverLongitude(double degrees) override;
    void setObserverHeight(double height) override;
    void setTimeZoneAdjust(qint16 adjust) override;
    void setTimeZoneName(const QString &name) override;
    void setDaylight(bool on) override;
    void setDaylightOffset(int hours) override;
    void setSecondLatitude(double degrees) override;
    void setSecondLongitude(double degrees) override;
    void setSecondHeight(double height) override;
    void setSecondName(const QString &name) override;
    void setSecondInUse(bool on) override;
    void applySettings() override;
    void setPlotLines(bool lines) override;
    void setShowMoon(bool on) override;
    void setShowSun(bool on) override;
    void setOrbitCount(int orbits) override;
    void setPlotInterval(int seconds) override;
};
