// What the knob looks like beyond the plain drawing: a fine-position change
// that leaves the face alone, the smooth drawing, and the disabled knob.
#include "knob/CTwirlCtrl.h"
#include "TwirlTestSupport.h"

#include <gtest/gtest.h>

#include <QRegion>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

using namespace twirl;
using namespace twirltest;

namespace {

QImage onScreen(CTwirlCtrl &k)
{
    return k.screen()->grabWindow(k.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

int differingPixels(const QImage &a, const QImage &b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    }
    return n;
}

bool isGrey(QRgb c)
{
    return qRed(c) == qGreen(c) && qGreen(c) == qBlue(c);
}

} // namespace

TEST(TwirlLook, AFinePositionChangeRepaintsTheMarkAndNotTheFace)
{
    // A long mark in a narrow ring reaches the rim, and a long caption
    // reaches into the ring: neither may bring the face (and a tick snap) back.
    CTwirlCtrl k;
    k.resize(160, 160);
    k.setTickCount(12);
    k.setTickSnapping(true);
    k.setFineAdjust(true);
    k.setFineAdjustWidth(22);
    k.setFineAdjustLineLength(10);
    k.setIndicatorLineWidth(3);
    k.setText(QStringLiteral("A rather long caption"));
    k.setMax(99);
    k.setValue(40);
    k.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&k));
    QApplication::processEvents();
    const Layout l = k.knobLayout();
    const QRegion face(QRect(l.knob.left, l.knob.top, l.knob.width(), l.knob.height()),
                       QRegion::Ellipse);

    QSignalSpy snaps(&k, &CTwirlCtrl::TickSnap);
    PaintRecorder paints;
    k.installEventFilter(&paints);
    for (int a : {0, 45, 90, 93, 180, 269, 270, 300, 359}) {
        k.setFineAdjustPosition(a);
        EXPECT_EQ(snaps.count(), 0) << a;
    }
    ASSERT_FALSE(paints.rects.empty());
    for (const QRect &r : paints.rects)
        EXPECT_FALSE(face.intersects(r)) << r.x() << "," << r.y() << " " << r.width();
    QApplication::processEvents();
    EXPECT_EQ(differingPixels(onScreen(k), render(k)), 0);

    // Turning the knob itself still draws the face, snapped, and says so.
    k.setValue(60);
    EXPECT_GE(snaps.count(), 1);
}

TEST(TwirlLook, AntialiasedDrawsTheSameShapesSmooth)
{
    CTwirlCtrl k;
    k.resize(100, 100);
    k.setIndicatorStyle(CTwirlCtrl::isLine);
    k.setIndicatorColor(Qt::green);
    k.setBackColor(Qt::white);
    EXPECT_FALSE(k.Antialiased());
    const auto colours = [](const QImage &img) {
        QSet<QRgb> set;
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x)
                set.insert(img.pixel(x, y));
        }
        return set.size();
    };
    QImage img = render(k);
    // White, black rim, grey face, green indicator: nothing in between.
    EXPECT_EQ(colours(img), 4);
    k.setAntialiased(true);
    EXPECT_TRUE(k.isModified());
    img = render(k);
    EXPECT_GT(colours(img), 12);
    // The same geometry: the indicator still points up from the centre, and
    // the rim still meets the edges.
    EXPECT_EQ(at(img, 50, 30), QColor(Qt::green));
    EXPECT_EQ(at(img, 50, 70), QColor(128, 128, 128));
    EXPECT_LT(qGray(img.pixel(50, 0)), 160);
    EXPECT_EQ(at(img, 2, 2), QColor(Qt::white));
}

TEST(TwirlLook, ADisabledKnobIsGreyedAndComesBackInColour)
{
    for (bool smooth : {false, true}) {
        CTwirlCtrl k;
        k.resize(120, 120);
        k.setAntialiased(smooth);
        k.setTickCount(8);
        k.setTickColor(Qt::blue);
        k.setFineAdjust(true);
        k.setFineAdjustColor(QColor(200, 160, 40));
        k.setKnobColor(QColor(170, 60, 50));
        k.setIndicatorStyle(CTwirlCtrl::isPointer);
        k.setIndicatorColor(Qt::yellow);
        k.setText(QStringLiteral("Off"));
        k.setForeColor(Qt::cyan);
        k.setBackColor(Qt::white);
        const QImage colour = render(k);
        k.setEnabled(false);
        const QImage grey = render(k);
        int coloured = 0;
        for (int y = 0; y < grey.height(); ++y) {
            for (int x = 0; x < grey.width(); ++x)
                coloured += !isGrey(grey.pixel(x, y));
        }
        EXPECT_EQ(coloured, 0) << smooth;
        // Still a knob to look at: face and indicator apart, lighter than before.
        const Layout l = k.knobLayout();
        const QRgb face = grey.pixel(l.centre.x(), l.centre.y() + l.knobRadius / 2 + 4);
        const QRgb pointer = grey.pixel(l.centre.x(), l.centre.y() - l.knobRadius + 8);
        EXPECT_NE(face, pointer) << smooth;
        EXPECT_GT(qGray(face), qGray(colour.pixel(l.centre.x(), l.centre.y() + l.knobRadius / 2 + 4)));
        k.setEnabled(true);
        EXPECT_EQ(differingPixels(render(k), colour), 0) << smooth;
    }
}
