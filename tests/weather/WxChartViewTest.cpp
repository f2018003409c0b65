// The chart view alone, where the weather window's tests cannot reach.
#include "weather/WxChartView.h"

#include <QTest>
#include <QValueAxis>
#include <QXYSeries>
#include <gtest/gtest.h>

// While a button is held the view has the mouse wherever it goes, so a
// second button pressed beside the chart reaches it at a place where no
// chart item lies.
TEST(WxChartViewTest, APressWhereNoChartItemLiesIsSafe)
{
    WxChartView view(QStringLiteral("TChartTest"), QStringLiteral("Test"));
    QValueAxis *axis = view.addValueAxis(QStringLiteral("Pressure"), QStringLiteral("mb"), Qt::AlignLeft, 0, 2000);
    view.addSeries(QStringLiteral("Pressure"), Qt::red, axis, 1);
    view.resize(400, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    const QPoint beside(view.viewport()->width() + 30, -20);
    ASSERT_EQ(view.itemAt(beside), nullptr);
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        QTest::mousePress(view.viewport(), button, {}, beside);
        QTest::mouseRelease(view.viewport(), button, {}, beside);
    }
    EXPECT_EQ(view.seriesList().size(), 1);
}
