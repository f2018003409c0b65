#pragma once

#include "core/HostMap.h"
#include "core/PlacedObject.h"
#include "host/map/MapBackground.h"
#include "host/map/MapDrawings.h"
#include "host/map/MapProjection.h"
#include "host/tiles/TileLayer.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QStringList>
#include <vector>

class QPainter;
class StationDatabase;

// The host's map: map tiles, stations from the database, objects placed
// through the host, named symbols, and the lines and circles drawn on it.
// Drawings last until the map is redrawn, panned, zoomed or cleared, as on
// the host it stands in for (and are bounded, see MapDrawings).
class EmbeddedHostMap : public HostMap
{
    Q_OBJECT
public:
    using Drawing = MapDrawings::Drawing;
    struct NamedSymbol
    {
        double latitude = 0, longitude = 0;  // degrees
    };

    EmbeddedHostMap(const StationDatabase *database, QObject *parent = nullptr);

    void setHome(const QString &callsign, double latitude, double longitude);
    void setPlacedObjects(const QList<PlacedObject> *objects) { m_placed = objects; }

    // HostMap
    void setPenSetting(qint16 value) override { m_pen = value; }
    void setModeSetting(qint16 value) override { m_mode = value; }
    void setLegSetting(qint16 value) override { m_leg = value; }
    void drawLine(int x1, int y1, int x2, int y2, qint32 colour, qint16 &extra) override;
    void drawCircle(float longitude, float latitude, float radiusKm, qint32 colour, float a, double b,
                    float c) override;
    void placeNamedSymbol(const QString &name, float longitude, float latitude) override;
    QSize size() const override { return m_projection.size(); }
    QImage copyArea(int x, int y, int width, int height) override;
    void clearDrawings() override;

    // Clears the drawings, repaints and reports MapRedrawn (queued, as an
    // event from another program would arrive).
    void redraw();
    // The user panned or zoomed: drawings go, MapHasChanged follows.
    void userChangedView();

    // Takes a named symbol off the map for good (a redraw does not bring
    // it back); false when there was none of that name.
    bool removeNamedSymbol(const QString &name);
    QStringList namedSymbolNames() const { return m_namedOrder; }

    void setSize(QSize size);
    MapProjection &projection() { return m_projection; }
    // The pictures under the map and where they come from.
    TileLayer *tiles() const { return m_tiles; }
    QList<Drawing> drawings() const { return m_drawings.list(); }
    int drawingCount() const { return m_drawings.size(); }
    const QHash<QString, NamedSymbol> &namedSymbols() const { return m_named; }

    // Paints the whole map. The ground (tiles and graticule) and the drawings
    // are kept as pictures between paints, so a repaint costs about the
    // stations alone.
    void render(QPainter &painter);
    QImage renderImage();

    static QColor colourFromValue(qint32 value);

signals:
    // Something on the map changed; the window repaints.
    void contentChanged();

private:
    void renderStations(QPainter &p) const;
    void renderScaleBar(QPainter &p) const;
    void drawLabelledSymbol(QPainter &p, QPointF at, QChar table, QChar code, const QString &label,
                            const QColor &labelColour, QList<QRectF> *occupied) const;

    // Where each station of the database stands in the unit square, kept
    // between paints (by database row, checked against its position), and
    // where it falls in the view being painted.
    struct Placed
    {
        float latitude = 0, longitude = 0;  // minutes, as the row held them
        QPointF unit;
    };
    const QPointF *placeStations() const;

    const StationDatabase *m_database;
    mutable std::vector<Placed> m_placedUnits;
    mutable std::vector<QPointF> m_stationPixels;
    const QList<PlacedObject> *m_placed = nullptr;
    MapProjection m_projection;
    QString m_homeCall;
    double m_homeLat = 0, m_homeLon = 0;
    qint16 m_pen = 1, m_mode = 13, m_leg = 0;
    MapDrawings m_drawings;
    TileLayer *m_tiles;  // a child
    MapBackground m_background;
    QHash<QString, NamedSymbol> m_named;
    QStringList m_namedOrder;
};
