// The chart view alone: presses and moves of the mouse anywhere on a chart
// whose points, markers, ranges and size keep changing, as a busy day does.
// Its worth is under the sanitizers, which see a press reach a chart item
// that is already gone.
#include "weather/WxChartView.h"

#include <QApplication>
#include <QChart>
#include <QRandomGenerator>
#include <QTest>
#include <QValueAxis>
#include <QXYSeries>
#include <gtest/gtest.h>

namespace {

QList<QPointF> somePoints(QRandomGenerator &random, double low, double high)
{
    // Across the 60 points that switch a line's markers off and back.
    const int count = random.bounded(0, 130);
    QList<QPointF> points;
    for (int i = 0; i < count; ++i)
        points.append({double(i) * 86'400'000.0 / 130, low + random.generateDouble() * (high - low)});
    return points;
}

} // namespace

TEST(WxChartViewTest, PressingAnywhereStaysSafeWhilePointsZoomAndSizeChange)
{
    WxChartView view(QStringLiteral("TChartTest"), QStringLiteral("Test"));
    QValueAxis *left = view.addValueAxis(QStringLiteral("Temperature"), QStringLiteral("°C"), Qt::AlignLeft, -60, 60);
    QValueAxis *right = view.addValueAxis(QStringLiteral("Humidity"), QStringLiteral("%"), Qt::AlignRight, 0, 100);
    QXYSeries *line = view.addSeries(QStringLiteral("Temperature"), Qt::red, left, 1);
    QXYSeries *dashed = view.addSeries(QStringLiteral("Gust"), Qt::red, left, 0, false, Qt::DashLine);
    QXYSeries *dots = view.addSeries(QStringLiteral("Humidity"), Qt::blue, right, 0, true);
    view.resize(640, 420);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

    QRandomGenerator random(20261208);
    for (int round = 0; round < 100; ++round) {
        // Several changes in one turn of the event loop, as a burst of reports brings.
        for (int change = random.bounded(1, 6); change > 0; --change) {
            switch (random.bounded(10)) {
            case 0: view.zoomIn(); break;
            case 1: view.zoomOut(); break;
            case 2: view.scrollBy(random.bounded(-200, 200), random.bounded(-200, 200)); break;
            case 3: view.resetView(); break;
            case 4: view.setValueRange(left, random.bounded(2) == 0, -10, 30); break;
            case 5: view.resize(200 + random.bounded(900), 150 + random.bounded(700)); break;
            case 6: view.clearPoints(); break;
            case 7: view.setPoints(line, somePoints(random, -20, 35)); break;
            case 8: view.setPoints(dashed, somePoints(random, -20, 35)); break;
            case 9: view.setPoints(dots, somePoints(random, 0, 100)); break;
            }
        }
        QApplication::processEvents();
        view.repaint();
        for (int press = 0; press < 4; ++press) {
            const QPoint at(random.bounded(view.viewport()->width()), random.bounded(view.viewport()->height()));
            QTest::mouseMove(view.viewport(), at);
            QTest::mousePress(view.viewport(), Qt::LeftButton, {}, at);
            QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, at);
        }
    }
    EXPECT_EQ(view.seriesList().size(), 3);
}
