#include "HostFolder.h"

#include "host/EmbeddedHost.h"
#include "host/map/EmbeddedHostMap.h"
#include "host/map/GeoMath.h"
#include "host/map/HostMapWindow.h"
#include "host/map/MapBackground.h"
#include "host/map/MapDrawings.h"
#include "host/map/MapProjection.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <memory>

namespace {

std::unique_ptr<EmbeddedHost> makeHost(const HostFolder &folder)
{
    EmbeddedHost::Options options;
    options.showWindow = false;
    options.startFeeds = false;
    return std::make_unique<EmbeddedHost>(folder.path(), options);
}

bool near(QRgb pixel, QColor colour)
{
    return std::abs(qRed(pixel) - colour.red()) < 60 && std::abs(qGreen(pixel) - colour.green()) < 60
           && std::abs(qBlue(pixel) - colour.blue()) < 60;
}

// Any pixel of that colour within a few pixels of the point.
bool colourNear(const QImage &image, QPointF at, QColor colour, int reach = 2)
{
    for (int dx = -reach; dx <= reach; ++dx)
        for (int dy = -reach; dy <= reach; ++dy) {
            const QPoint p = at.toPoint() + QPoint(dx, dy);
            if (image.rect().contains(p) && near(image.pixel(p), colour))
                return true;
        }
    return false;
}

// The map once every tile it asked for has come.
QImage settledImage(EmbeddedHostMap *map)
{
    map->renderImage();
    EXPECT_TRUE(QTest::qWaitFor([map] { return map->tiles()->waiting() == 0; }, 5000));
    return map->renderImage();
}

TEST(MapProjection, HomeInTheMiddleAndRoundTrips)
{
    MapProjection projection;
    projection.setSize({800, 600});
    projection.setHome(51.5, -0.125);
    EXPECT_EQ(projection.toPixel(51.5, -0.125), QPointF(400, 300));
    double lat = 0, lon = 0;
    projection.toDegrees(QPointF(123, 456), &lat, &lon);
    const QPointF back = projection.toPixel(lat, lon);
    EXPECT_NEAR(back.x(), 123, 1e-9);
    EXPECT_NEAR(back.y(), 456, 1e-9);
    // North is up, east is right.
    EXPECT_LT(projection.toPixel(52, -0.125).y(), 300);
    EXPECT_GT(projection.toPixel(51.5, 1).x(), 400);

    // Zooming keeps the point under the cursor where it was.
    projection.toDegrees(QPointF(100, 100), &lat, &lon);
    projection.zoomAt(QPointF(100, 100), 3);
    const QPointF still = projection.toPixel(lat, lon);
    EXPECT_NEAR(still.x(), 100, 1e-6);
    EXPECT_NEAR(still.y(), 100, 1e-6);
    projection.panBy(QPointF(50, -20));
    EXPECT_NEAR(projection.toPixel(lat, lon).x(), 150, 1e-6);
    EXPECT_NEAR(projection.toPixel(lat, lon).y(), 80, 1e-6);
}

TEST(HostMap, LinesAndCirclesAreDrawnWhereAndHowTheyWereAsked)
{
    HostFolder folder;
    auto host = makeHost(folder);
    HostMap *map = host->map();
    EXPECT_EQ(map->size(), QSize(800, 600));
    auto *hostMap = host->hostMap();
    const MapProjection &projection = hostMap->projection();

    map->setPenSetting(3);
    map->setModeSetting(13);
    qint16 extra = 0;
    // From home (-7.5', 3090') to one degree north-east, in red (0x0000FF).
    map->drawLine(-8, 3090, 52, 3150, 255, extra);
    map->setPenSetting(2);
    map->setLegSetting(3);
    // A blue RNG-style circle of 50 km about home.
    map->drawCircle(-7.5f, 3090.0f, 50.0f, 0xFF0000, 0, 6.2831840515, 1.0f);
    ASSERT_EQ(hostMap->drawings().size(), 2);
    EXPECT_EQ(hostMap->drawings()[0].pen, 3);
    EXPECT_EQ(hostMap->drawings()[0].mode, 13);
    EXPECT_EQ(hostMap->drawings()[1].pen, 2);
    EXPECT_EQ(hostMap->drawings()[1].leg, 3);
    EXPECT_DOUBLE_EQ(hostMap->drawings()[1].b, 6.2831840515);

    const QImage image = map->copyArea(0, 0, 800, 600);
    ASSERT_EQ(image.size(), QSize(800, 600));
    // The line's midpoint, projected independently.
    const QPointF a = projection.toPixel(3090 / 60.0, -8 / 60.0);
    const QPointF b = projection.toPixel(3150 / 60.0, 52 / 60.0);
    EXPECT_TRUE(colourNear(image, (a + b) / 2, Qt::red));
    // The circle passes 50 km due north and due east of home, nowhere near 25 km.
    const QPointF north = geo::destination(51.5, -0.125, 0, 50);
    const QPointF east = geo::destination(51.5, -0.125, 90, 50);
    const QPointF inside = geo::destination(51.5, -0.125, 45, 25);
    EXPECT_TRUE(colourNear(image, projection.toPixel(north.y(), north.x()), Qt::blue));
    EXPECT_TRUE(colourNear(image, projection.toPixel(east.y(), east.x()), Qt::blue));
    EXPECT_FALSE(colourNear(image, projection.toPixel(inside.y(), inside.x()), Qt::blue));
    // The pixel radius follows the scale halfway up (Mercator grows northwards).
    EXPECT_NEAR(projection.toPixel(north.y(), north.x()).y(), 300 - 50 * projection.pixelsPerKm(51.5 + 0.225), 1.0);

    map->clearDrawings();
    EXPECT_TRUE(hostMap->drawings().isEmpty());
    EXPECT_FALSE(colourNear(map->copyArea(0, 0, 800, 600), (a + b) / 2, Qt::red));
}

TEST(HostMap, CopyAreaIsClippedToTheMap)
{
    HostFolder folder;
    auto host = makeHost(folder);
    const QImage whole = host->map()->copyArea(0, 0, 800, 600);
    const QImage part = host->map()->copyArea(100, 50, 200, 100);
    ASSERT_EQ(part.size(), QSize(200, 100));
    EXPECT_EQ(part, whole.copy(100, 50, 200, 100));
    EXPECT_EQ(host->map()->copyArea(700, 500, 300, 300).size(), QSize(100, 100));
    EXPECT_TRUE(host->map()->copyArea(900, 900, 10, 10).isNull());
}

TEST(HostMap, StationsObjectsAndNamedSymbolsAreShown)
{
    HostFolder folder;
    auto host = makeHost(folder);
    const QImage empty = host->map()->copyArea(0, 0, 800, 600);
    host->hearLine("G4CAR-9>APRS:!5145.00N/00030.00E>");
    const QPointF car = host->hostMap()->projection().toPixel(51.75, 0.5);
    const QImage withCar = host->map()->copyArea(0, 0, 800, 600);
    EXPECT_NE(withCar.copy(QRect(car.toPoint() - QPoint(10, 10), QSize(20, 20))),
              empty.copy(QRect(car.toPoint() - QPoint(10, 10), QSize(20, 20))));

    host->map()->placeNamedSymbol("VK2XYZ", -0.5f * 60, 51.0f * 60);
    EXPECT_TRUE(host->hostMap()->namedSymbols().contains("VK2XYZ"));
    PlacedObject object;
    object.name = QStringLiteral("SAT");
    object.latitude = 51.2;
    object.longitude = 0.2;
    host->placeObject(object);
    const QPointF sat = host->hostMap()->projection().toPixel(51.2, 0.2);
    const QImage withAll = host->map()->copyArea(0, 0, 800, 600);
    EXPECT_NE(withAll.copy(QRect(sat.toPoint() - QPoint(10, 10), QSize(20, 20))),
              empty.copy(QRect(sat.toPoint() - QPoint(10, 10), QSize(20, 20))));
}

TEST(HostMap, RefreshClearsDrawingsAndReportsRedrawn)
{
    HostFolder folder;
    auto host = makeHost(folder);
    QSignalSpy redrawn(host->map(), &HostMap::MapRedrawn);
    QSignalSpy changed(host->map(), &HostMap::MapHasChanged);
    qint16 extra = 0;
    host->map()->drawLine(0, 0, 60, 60, 0, extra);
    host->refreshMap();
    EXPECT_TRUE(host->hostMap()->drawings().isEmpty());
    EXPECT_TRUE(redrawn.wait(1000));
    EXPECT_EQ(redrawn.count(), 1);
    EXPECT_EQ(changed.count(), 0);
}

TEST(HostMap, PanningAndZoomingReportMapHasChanged)
{
    HostFolder folder;
    auto host = makeHost(folder);
    HostMapWindow *window = host->window();
    window->show();
    HostMapView *view = window->view();
    QSignalSpy changed(host->map(), &HostMap::MapHasChanged);
    const double lonBefore = host->hostMap()->projection().centreLongitude();

    qint16 extra = 0;
    host->map()->drawLine(0, 0, 60, 60, 0, extra);
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(300, 300));
    QTest::mouseMove(view, QPoint(350, 300));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(350, 300));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_LT(host->hostMap()->projection().centreLongitude(), lonBefore) << "dragging right shows the west";
    EXPECT_TRUE(host->hostMap()->drawings().isEmpty());

    const int zoomBefore = host->hostMap()->projection().zoom();
    QTest::keyClick(view, Qt::Key_Plus);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(host->hostMap()->projection().zoom(), zoomBefore + 1);

    // A click without a drag changes nothing.
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(changed.count(), 2);

    // The wheel zooms a level a notch, keeping the place under the cursor;
    // a touchpad's half notches add up to one.
    MapProjection &projection = host->hostMap()->projection();
    double lat = 0, lon = 0;
    projection.toDegrees(QPointF(200, 150), &lat, &lon);
    auto wheel = [view](int delta) {
        QWheelEvent event(QPointF(200, 150), view->mapToGlobal(QPointF(200, 150)), {}, {0, delta}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view, &event);
    };
    wheel(60);
    EXPECT_EQ(projection.zoom(), zoomBefore + 1);
    wheel(60);
    EXPECT_EQ(projection.zoom(), zoomBefore + 2);
    EXPECT_EQ(changed.count(), 3);
    EXPECT_NEAR(projection.toPixel(lat, lon).x(), 200, 1e-6);
    EXPECT_NEAR(projection.toPixel(lat, lon).y(), 150, 1e-6);
    wheel(-240);
    EXPECT_EQ(projection.zoom(), zoomBefore);
}

TEST(HostMap, StatusBarShowsEveryFeed)
{
    HostFolder folder;
    folder.write("KestrelHost.ini", "[Host]\r\nBeaconInterval=0\r\n[Feed1]\r\nType=replay\r\nFile=t.txt\r\n"
                                    "[Feed2]\r\nType=kiss\r\nHost=127.0.0.1\r\nPort=1\r\n[Feed3]\r\nType=bogus\r\n");
    folder.write("t.txt", "A>B:>x\r\n");
    auto host = makeHost(folder);
    ASSERT_EQ(host->feeds().size(), 2);
    const QString status = host->window()->statusText();
    EXPECT_TRUE(status.contains(QStringLiteral("Replay t.txt: Stopped"))) << status.toStdString();
    EXPECT_TRUE(status.contains(QStringLiteral("KISS 127.0.0.1:1"))) << status.toStdString();
    EXPECT_TRUE(status.contains(QStringLiteral("Feed3: unknown feed type"))) << status.toStdString();
}

// Points the Earth loader at a folder for the life of the object.
class EarthFolder
{
public:
    explicit EarthFolder(const QImage &earth = {})
    {
        if (!earth.isNull())
            earth.save(m_dir.path() + QStringLiteral("/earth.jpg"), "JPG", 95);
        qputenv("KESTREL_EARTH_DIR", m_dir.path().toLocal8Bit());
    }
    ~EarthFolder() { qunsetenv("KESTREL_EARTH_DIR"); }

private:
    QTemporaryDir m_dir;
};

TEST(HostMap, SamePhgCircleTenThousandTimesLeavesOneCircle)
{
    HostFolder folder;
    auto host = makeHost(folder);
    HostMap *map = host->map();
    QSignalSpy changed(host->hostMap(), &EmbeddedHostMap::contentChanged);
    map->setPenSetting(2);
    map->setModeSetting(13);
    for (int i = 0; i < 10000; ++i)
        map->drawCircle(-7.5f, 3090.0f, 12.79f, 0xFF0000, 1.0f, 6.28, 1.0f);
    EXPECT_EQ(host->hostMap()->drawingCount(), 1);
    EXPECT_EQ(changed.count(), 1) << "an equal drawing changes nothing on screen";

    // Any difference makes it another drawing: colour, radius, centre, style.
    map->drawCircle(-7.5f, 3090.0f, 12.79f, 0x00FF00, 1.0f, 6.28, 1.0f);
    map->drawCircle(-7.5f, 3090.0f, 12.8f, 0xFF0000, 1.0f, 6.28, 1.0f);
    map->drawCircle(-7.0f, 3090.0f, 12.79f, 0xFF0000, 1.0f, 6.28, 1.0f);
    map->setPenSetting(3);
    map->drawCircle(-7.5f, 3090.0f, 12.79f, 0xFF0000, 1.0f, 6.28, 1.0f);
    EXPECT_EQ(host->hostMap()->drawingCount(), 5);
}

TEST(HostMap, DrawingsAreBoundedOldestFirst)
{
    HostFolder folder;
    auto host = makeHost(folder);
    HostMap *map = host->map();
    const int limit = MapDrawings::MaxDrawings;
    qint16 extra = 0;
    // The very first drawing is drawn again late, so it counts as new.
    map->drawLine(0, 0, 1, 1, 0, extra);
    for (int i = 1; i < limit; ++i)
        map->drawCircle(float(i % 600), 3000.0f + float(i / 600), 5.0f, 0xFF0000, 0, 6.28, 1.0f);
    map->drawLine(0, 0, 1, 1, 0, extra);
    ASSERT_EQ(host->hostMap()->drawingCount(), limit);
    map->drawLine(10, 10, 20, 20, 0, extra);
    // Past the bound the oldest tenth goes at once.
    EXPECT_EQ(host->hostMap()->drawingCount(), limit + 1 - limit / 10);
    const QList<EmbeddedHostMap::Drawing> left = host->hostMap()->drawings();
    EXPECT_EQ(left.last().lon1, 10 / 60.0);
    EXPECT_EQ(left[left.size() - 2].kind, EmbeddedHostMap::Drawing::Line) << "redrawn, so kept";
    EXPECT_EQ(left.first().lon1, (limit / 10 + 1) % 600 / 60.0) << "the oldest circles went";
}

TEST(HostMap, RemovedDxSymbolLeavesTheMapAndARedrawDoesNotBringItBack)
{
    EarthFolder plain;
    HostFolder folder;
    auto host = makeHost(folder);
    EmbeddedHostMap *hostMap = host->hostMap();
    const QImage empty = hostMap->renderImage();
    host->map()->placeNamedSymbol("VK2XYZ", -0.5f * 60, 51.3f * 60);
    host->map()->placeNamedSymbol("JA1ABC", 0.3f * 60, 51.7f * 60);
    const QPointF vk = hostMap->projection().toPixel(51.3, -0.5);
    const QRect around(vk.toPoint() - QPoint(12, 12), QSize(24, 24));
    ASSERT_NE(hostMap->renderImage().copy(around), empty.copy(around));
    EXPECT_TRUE(host->placedObjects().contains("VK2XYZ")) << "a named symbol is an object on the map";

    // The DX window expires the spot: removal by name through the host.
    QSignalSpy redrawn(host->map(), &HostMap::MapRedrawn);
    host->removePlacedObject("VK2XYZ");
    EXPECT_FALSE(hostMap->namedSymbols().contains("VK2XYZ"));
    EXPECT_FALSE(host->placedObjects().contains("VK2XYZ"));
    EXPECT_TRUE(hostMap->namedSymbols().contains("JA1ABC"));
    host->refreshMap();
    ASSERT_TRUE(redrawn.wait(1000));
    EXPECT_EQ(hostMap->renderImage().copy(around), empty.copy(around));
    EXPECT_FALSE(hostMap->namedSymbols().contains("VK2XYZ"));

    // Placing it again (a new spot) shows it again; removing an unknown name is harmless.
    host->map()->placeNamedSymbol("VK2XYZ", -0.5f * 60, 51.3f * 60);
    EXPECT_NE(hostMap->renderImage().copy(around), empty.copy(around));
    host->removePlacedObject("NOSUCH");
    EXPECT_EQ(hostMap->namedSymbols().size(), 2);
}

TEST(HostMap, TheEarthLiesUnderTheStations)
{
    // A made-up Earth, ten pixels a degree: the western hemisphere red, the eastern blue.
    QImage earth(3600, 1800, QImage::Format_RGB32);
    earth.fill(QColor(0, 0, 200));
    QPainter(&earth).fillRect(0, 0, 1800, 1800, QColor(200, 0, 0));
    EarthFolder folder(earth);
    HostFolder host;
    auto embedded = makeHost(host);
    EmbeddedHostMap *map = embedded->hostMap();
    EXPECT_TRUE(MapBackground::note().isEmpty());
    // Home is 0.125 degrees west of Greenwich, in the middle of the map.
    const QImage image = settledImage(map);
    const QPointF greenwich = map->projection().toPixel(51.3, 0);
    const QRgb west = image.pixel((greenwich - QPointF(150, 0)).toPoint());
    const QRgb east = image.pixel((greenwich + QPointF(150, 0)).toPoint());
    EXPECT_GT(qRed(west), 150);
    EXPECT_LT(qBlue(west), 140);
    EXPECT_GT(qBlue(east), 150);
    EXPECT_LT(qRed(east), 140);

    // Zoomed right out the whole world shows, and beyond the date line the
    // map goes on with the other side of the Earth.
    map->projection().setZoom(MapProjection::MinZoom);
    map->userChangedView();
    const QImage world = settledImage(map);
    const QPointF farEast = map->projection().toPixel(0, 190);
    if (QRectF(world.rect()).contains(farEast)) {
        EXPECT_GT(qRed(world.pixel(farEast.toPoint())), 150) << "190 E is 170 W";
    }
}

TEST(HostMap, NoEarthImageGivesAGraticuleAndANote)
{
    EarthFolder missing;
    HostFolder folder;
    auto host = makeHost(folder);
    EXPECT_FALSE(MapBackground::note().isEmpty());
    EXPECT_TRUE(MapBackground::note().contains(QStringLiteral("xplanet-images")));
    const QImage image = host->hostMap()->renderImage();
    // The plain ground, and a dark line of text across the top left.
    EXPECT_EQ(QColor(image.pixel(400, 150)), QColor(226, 234, 222));
    int dark = 0;
    for (int x = 8; x < 300; ++x)
        for (int y = 6; y < 26; ++y)
            dark += qGray(image.pixel(x, y)) < 150 ? 1 : 0;
    EXPECT_GT(dark, 50);
}

TEST(HostMap, ABusyFeedRepaintsTheMapOnlyAFewTimesASecond)
{
    HostFolder folder;
    auto host = makeHost(folder);
    host->window()->show();
    HostMapView *view = host->window()->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(host->window()));
    struct PaintCounter : QObject
    {
        int paints = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            paints += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counter;
    view->installEventFilter(&counter);
    QElapsedTimer clock;
    clock.start();
    int n = 0;
    // A new circle every 2 ms for a second, as a busy feed with plotting on.
    while (clock.elapsed() < 1000) {
        host->map()->drawCircle(float(n % 100), 3090.0f + float(n / 100), 5.0f, 0xFF0000, 0, 6.28, 1.0f);
        ++n;
        QTest::qWait(2);
    }
    EXPECT_GT(n, 100);
    EXPECT_GE(counter.paints, 1);
    EXPECT_LE(counter.paints, 1000 / HostMapView::MinRepaintInterval + 2);
    // The user's own moves do not wait.
    const int before = counter.paints;
    QTest::keyClick(view, Qt::Key_Left);
    QTest::qWait(50);
    EXPECT_GT(counter.paints, before);
}

} // namespace
