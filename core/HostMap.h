#pragma once

#include <QColor>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

// The host program's map: Kestrel draws paths, circles and DX lines on it and
// copies areas of it. Coordinates are in minutes of arc (degrees x 60).
class HostMap : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~HostMap() override = default;

    // The three drawing settings apply to the draw calls that follow.
    virtual void setPenSetting(qint16 value) = 0;
    virtual void setModeSetting(qint16 value) = 0;
    virtual void setLegSetting(qint16 value) = 0;

    // x is a longitude and y a latitude, in whole minutes. colour is 0x00BBGGRR.
    virtual void drawLine(int x1, int y1, int x2, int y2, qint32 colour, qint16 &extra) = 0;
    virtual void drawCircle(float longitude, float latitude, float radiusKm, qint32 colour,
                            float a, double b, float c) = 0;
    virtual void placeNamedSymbol(const QString &name, float longitude, float latitude) = 0;

    virtual QSize size() const = 0;
    virtual QImage copyArea(int x, int y, int width, int height) = 0;
    virtual void clearDrawings() = 0;

signals:
    void MapHasChanged();
    void MapRedrawn();
};
