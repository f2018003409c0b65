#include "capture/cPicScroll.h"
#include "capture/frmCapture.h"
#include "core/SharedState.h"
#include "core/Utilities.h"

#include "FakeHost.h"
#include "ScriptedPorts.h"
#include "TempDirs.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QScrollBar>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

// A map whose every pixel tells where it lies, so a picture shows which
// area of the map it came from.
QRgb mapPixel(int x, int y) { return qRgb((x * 7) & 255, (y * 5) & 255, (x / 37 + y / 41) & 255); }

QImage mapArea(int x, int y, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i)
            image.setPixel(i, j, mapPixel(x + i, y + j));
    return image;
}

class PatternMap : public FakeHostMap
{
public:
    QImage copyArea(int x, int y, int width, int height) override
    {
        FakeHostMap::copyArea(x, y, width, height);
        return mapArea(x, y, width, height);
    }
};

class PatternHost : public FakeHostApplication
{
public:
    HostMap *map() override { return &pattern; }
    PatternMap pattern;
};

void sendMouse(QWidget *widget, QEvent::Type type, QPoint at, Qt::MouseButtons held)
{
    const QPointF local(at);
    QMouseEvent event(type, local, widget->mapToGlobal(local), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void drag(QWidget *picture, QPoint from, QPoint to)
{
    sendMouse(picture, QEvent::MouseButtonPress, from, Qt::LeftButton);
    sendMouse(picture, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
    sendMouse(picture, QEvent::MouseMove, to, Qt::LeftButton);
    sendMouse(picture, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

class CaptureTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        shared() = SharedState{};
        shared().host = &host;
        frmCapture::setWindowOpener([this]() -> QWidget * {
            opened.push_back(std::make_unique<frmCapture>());
            return opened.back().get();
        });
    }
    void TearDown() override
    {
        frmCapture::setWindowOpener({});
        shared() = SharedState{};
    }
    const QStringList &mapCalls() const { return host.pattern.calls; }

    TempDirs dirs;
    ScriptedPrompts prompts;
    PatternHost host;
    std::vector<std::unique_ptr<frmCapture>> opened;
};

} // namespace

TEST_F(CaptureTest, ZeroRectangleGrabsTheWholeMapAsAPictureNotThroughTheClipboard)
{
    host.pattern.mapSize = QSize(640, 480);
    frmCapture window;
    window.show();
    window.GrabImage(0, 0, 0, 0);
    window.resize(300, 200);
    EXPECT_EQ(mapCalls(), QStringList({"copy(0,0,640,480)"}));
    EXPECT_EQ(window.picture(), mapArea(0, 0, 640, 480));
    EXPECT_EQ(window.picInner->size(), QSize(640, 480));
    EXPECT_EQ(window.nWidth, 640);
    EXPECT_EQ(window.nHeight, 480);
    EXPECT_GT(window.HScroll1->maximum(), 0);
    EXPECT_EQ(window.VScroll1->singleStep(), 80);
    EXPECT_EQ(window.HScroll1->singleStep(), 40);
    EXPECT_EQ(window.VScroll1->pageStep(), 480 / 3);
    EXPECT_EQ(window.HScroll1->pageStep(), 640 / 2);

    window.VScroll1->setValue(window.VScroll1->maximum());
    EXPECT_EQ(window.picInner->y(), -(480 - window.picOuter->height()));
}

TEST_F(CaptureTest, DragsInEveryDirectionCopyTheSameAreaAndAPlainClickAsksNothing)
{
    host.pattern.mapSize = QSize(640, 480);
    frmCapture window;
    window.resize(700, 540);
    window.GrabImage(0, 0, 0, 0);

    const struct { QPoint from, to; } drags[] = {
        {{100, 50}, {300, 170}}, {{300, 170}, {100, 50}}, {{300, 50}, {100, 170}}, {{100, 170}, {300, 50}},
    };
    for (const auto &d : drags) {
        prompts.answers.enqueue(Prompts::Answer::Yes);
        drag(window.picInner, d.from, d.to);
        ASSERT_FALSE(opened.empty());
        EXPECT_EQ(mapCalls().last(), "copy(100,50,200,120)");
        EXPECT_EQ(opened.back()->picture(), mapArea(100, 50, 200, 120));
    }
    EXPECT_EQ(opened.size(), 4u);
    EXPECT_EQ(prompts.shown.last().text, "Are you sure you wish to copy this area of the map.");
    EXPECT_EQ(prompts.shown.last().title, "Copy Map");
    EXPECT_EQ(prompts.shown.last().buttons, Prompts::Buttons::YesNo);
    EXPECT_EQ(prompts.shown.last().icon, Prompts::Icon::Question);

    const qsizetype questions = prompts.shown.size();
    drag(window.picInner, {120, 80}, {120, 80});   // a click
    drag(window.picInner, {120, 80}, {220, 80});   // flat: no height
    drag(window.picInner, {120, 80}, {120, 180});  // thin: no width
    EXPECT_EQ(prompts.shown.size(), questions);
    drag(window.picInner, {10, 10}, {50, 50});     // asked, answered No
    EXPECT_EQ(prompts.shown.size(), questions + 1);
    EXPECT_EQ(opened.size(), 4u);
}

TEST_F(CaptureTest, ACaptureOfACaptureCopiesTheAreaSeen)
{
    host.pattern.mapSize = QSize(1000, 800);
    frmCapture first;
    first.resize(500, 400);
    first.GrabImage(300, 200, 400, 300);
    prompts.answers.enqueue(Prompts::Answer::Yes);
    drag(first.picInner, {10, 20}, {60, 90});
    ASSERT_EQ(opened.size(), 1u);
    frmCapture &second = *opened.back();
    EXPECT_EQ(second.nTopx, 310);
    EXPECT_EQ(second.nTopy, 220);
    EXPECT_EQ(mapCalls().last(), "copy(310,220,50,70)");
    EXPECT_EQ(second.picture(), first.picture().copy(10, 20, 50, 70));

    // Once the map has moved, its pixels there are no longer what was seen:
    // the new window takes the area from the picture instead.
    emit host.pattern.MapHasChanged();
    const qsizetype calls = mapCalls().size();
    prompts.answers.enqueue(Prompts::Answer::Yes);
    drag(first.picInner, {100, 100}, {140, 130});
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(mapCalls().size(), calls);
    EXPECT_EQ(opened.back()->picture(), mapArea(400, 300, 40, 30));
    EXPECT_EQ(opened.back()->nTopx, 400);
    EXPECT_TRUE(opened.back()->mapMoved());
}

TEST_F(CaptureTest, TheRubberBandLeavesThePictureAsItWas)
{
    host.pattern.mapSize = QSize(200, 150);
    frmCapture window;
    window.resize(260, 200);
    window.show();
    window.GrabImage(0, 0, 0, 0);
    const QImage before = window.picInner->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(before, window.picture());

    sendMouse(window.picInner, QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton);
    sendMouse(window.picInner, QEvent::MouseMove, {120, 90}, Qt::LeftButton);
    EXPECT_EQ(window.rubberBand(), QRect(QPoint(20, 20), QPoint(120, 90)));
    const QImage during = window.picInner->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_NE(during, before);
    // Drawn inverted over the picture.
    const QRgb under = window.picture().pixel(120, 50);
    EXPECT_EQ(during.pixel(120, 50), qRgb(255 - qRed(under), 255 - qGreen(under), 255 - qBlue(under)));
    sendMouse(window.picInner, QEvent::MouseMove, {60, 40}, Qt::LeftButton);
    sendMouse(window.picInner, QEvent::MouseButtonRelease, {60, 40}, Qt::NoButton);  // No
    EXPECT_TRUE(window.rubberBand().isNull());
    EXPECT_EQ(window.picInner->grab().toImage().convertToFormat(QImage::Format_RGB32), before);
}

TEST_F(CaptureTest, ABitmapSmallerThanTheViewportRestsWithBarsAtZero)
{
    host.pattern.mapSize = QSize(100, 80);
    frmCapture window;
    window.show();
    window.GrabImage(0, 0, 0, 0);
    window.resize(400, 300);
    for (QScrollBar *bar : {window.HScroll1, window.VScroll1}) {
        EXPECT_EQ(bar->maximum(), 0);
        EXPECT_FALSE(bar->isEnabled());
    }
    EXPECT_EQ(window.picInner->pos(), QPoint(0, 0));
    window.resize(50, 40);  // smaller than the picture now: the bars come to life
    EXPECT_GT(window.HScroll1->maximum(), 0);
    EXPECT_TRUE(window.VScroll1->isEnabled());
}

TEST_F(CaptureTest, AMapWiderThanSixteenBitsScrollsToItsEnd)
{
    host.pattern.mapSize = QSize(40000, 30);
    frmCapture window;
    window.show();
    window.GrabImage(0, 0, 0, 0);
    window.resize(600, 120);
    const int travel = 40000 - window.picOuter->width();
    EXPECT_LE(window.HScroll1->maximum(), cPicScroll::MaxBarValue);
    window.HScroll1->setValue(window.HScroll1->maximum());
    EXPECT_EQ(window.picInner->x(), -travel);
    window.HScroll1->setValue(1);
    EXPECT_EQ(window.picInner->x(), -2);  // two pixels a unit
    window.HScroll1->setValue(0);
    EXPECT_EQ(window.picInner->x(), 0);
}

TEST(PicScroll, BarsStayWithinSixteenBitsAndReachTheEnd)
{
    QScrollBar vertical(Qt::Vertical), horizontal(Qt::Horizontal);
    cPicScroll scroll;
    scroll.SetUpScrollBars(&horizontal, &vertical, 100000, 80, 30000, -20, 40, 10);
    EXPECT_EQ(scroll.verticalScale(), 4);
    EXPECT_EQ(vertical.maximum(), 25000);
    EXPECT_EQ(vertical.singleStep(), 20);
    EXPECT_EQ(vertical.pageStep(), 7500);
    EXPECT_EQ(scroll.verticalOffset(25000), 100000);
    EXPECT_EQ(horizontal.maximum(), 0);
    EXPECT_EQ(scroll.horizontalOffset(5), 0);

    // A bar moved to its end keeps the end when the picture shrinks.
    vertical.setValue(25000);
    scroll.SetUpScrollBars(&horizontal, &vertical, 32767, 80, 100, 0, 40, 10);
    EXPECT_EQ(scroll.verticalScale(), 1);
    EXPECT_EQ(vertical.value(), 32767);
    EXPECT_EQ(scroll.verticalOffset(vertical.value()), 32767);
}

TEST_F(CaptureTest, SaveWritesABitmapOrAPngAndSaysWhyWhenItCannot)
{
    host.pattern.mapSize = QSize(64, 48);
    frmCapture window;
    window.GrabImage(0, 0, 0, 0);

    window.SaveScreenCapture();  // cancelled
    EXPECT_EQ(prompts.fileTitles.last(), "Save Capture As");
    EXPECT_EQ(prompts.fileFilters.last(), "BMP File (*.bmp);;All Files (*.*)");
    EXPECT_EQ(prompts.fileFolders.last(), GetDataFolder() + "/Captures");
    EXPECT_TRUE(prompts.shown.isEmpty());

    auto head = [](const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.read(4) : QByteArray();
    };
    prompts.fileAnswers.enqueue(dirs.data() + "/map");
    window.SaveScreenCapture();
    EXPECT_TRUE(head(dirs.data() + "/map.bmp").startsWith("BM"));
    EXPECT_EQ(QImage(dirs.data() + "/map.bmp").convertToFormat(QImage::Format_RGB32), window.picture());
    prompts.fileAnswers.enqueue(dirs.data() + "/map.PNG");
    window.SaveScreenCapture();
    EXPECT_EQ(head(dirs.data() + "/map.PNG"), "\x89PNG");

    prompts.fileAnswers.enqueue(dirs.data() + "/missing/map.bmp");
    window.SaveScreenCapture();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown.last().text.startsWith("Error in ERROR_SaveScreenCapture : "));
}

TEST_F(CaptureTest, WithoutAHostTheGrabSaysSo)
{
    shared().host = nullptr;
    frmCapture window;
    window.GrabImage(0, 0, 0, 0);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown.last().text.startsWith("Error in ERROR_GrabImage : "));
    EXPECT_TRUE(window.picture().isNull());
    drag(window.picInner, {1, 1}, {20, 20});  // nothing to select on
    EXPECT_EQ(prompts.shown.size(), 1);
}
