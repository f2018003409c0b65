#pragma once

#include "host/map/MapProjection.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <map>

class QPainter;

// The lines and circles drawn on the host map, in the order they came.
// A client that plots every station's circle on every frame would otherwise
// bury the map (and the user-interface thread) under copies: a drawing equal
// to one already there replaces it, and past MaxDrawings the oldest tenth
// goes.
class MapDrawings
{
public:
    static constexpr int MaxDrawings = 5000;

    struct Drawing
    {
        enum Kind { Line, Circle } kind = Line;
        double lat1 = 0, lon1 = 0, lat2 = 0, lon2 = 0;  // degrees
        double radiusKm = 0;
        QColor colour;
        qint16 pen = 1, mode = 13, leg = 0;  // the drawing settings as given
        float a = 0, c = 0;
        double b = 0;

        bool operator==(const Drawing &other) const;
    };

    // False when an equal drawing was already there (nothing new to see).
    bool add(const Drawing &drawing);
    void clear();
    int size() const { return int(m_bySerial.size()); }
    bool isEmpty() const { return m_bySerial.empty(); }
    // Oldest first.
    QList<Drawing> list() const;

    // Paints every drawing. Circles are traced as geodesic rings.
    void paint(QPainter &painter, const MapProjection &projection) const;

    // A transparent picture of the drawings for this view, kept between
    // paints: new drawings are added to it, anything else redraws it.
    const QImage &layer(const MapProjection &projection, qreal devicePixelRatio);

private:
    // stamps: when given, small circles are copied from kept pictures of
    // rings, a hundred times quicker than stroking each anew.
    void paintOne(QPainter &painter, const MapProjection &projection, const Drawing &d,
                  QHash<quint64, QImage> *stamps = nullptr) const;
    void evictOldest();

    struct Stored
    {
        Drawing drawing;
        bool inLayer = false;  // painted into the layer under an older serial
    };
    std::map<quint64, Stored> m_bySerial;  // insertion order
    QHash<Drawing, quint64> m_serialOf;
    quint64 m_nextSerial = 1;

    QImage m_layer;
    QHash<quint64, QImage> m_stamps;
    quint64 m_layerUpTo = 0;     // serials below this are in the layer
    bool m_layerStale = true;    // something left: the layer is redrawn
    MapProjection m_layerView;   // the view the layer was drawn for
};

size_t qHash(const MapDrawings::Drawing &d, size_t seed = 0);
