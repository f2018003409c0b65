// A station list under a busy feed: the view repaints for the model at most
// once per interval, catches up when the burst ends, and answers at once
// after a quiet spell.
#include "stations/CalmTableView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

class CalmTableViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        model.setColumnCount(3);
        for (int r = 0; r < 5; ++r)
            model.appendRow({new QStandardItem(QStringLiteral("G0AAA-%1").arg(r)), new QStandardItem("0"),
                             new QStandardItem("x")});
        view.setModel(&model);
        view.resize(400, 200);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        view.viewport()->installEventFilter(&counter);
        QTest::qWait(CalmTableView::IntervalMs + 50);  // quiet before each case
        counter.paints = 0;
    }

    // Paints a burst may cost: one at once, one per interval it lasted, and
    // the catch-up at its end.
    static int allowedPaints(const QElapsedTimer &burst)
    {
        return 2 + int(burst.elapsed() / CalmTableView::IntervalMs);
    }

    QStandardItemModel model;
    CalmTableView view;
    PaintCounter counter;
};

TEST_F(CalmTableViewTest, ABurstOfChangesRepaintsOnceAtOnceThenOncePerInterval_AndShowsTheLastValue)
{
    QElapsedTimer burst;
    burst.start();
    for (int i = 1; i <= 300; ++i) {
        model.item(i % 5, 1)->setText(QString::number(i));
        QCoreApplication::processEvents();  // as the feed's reads let the loop turn
    }
    const int allowed = allowedPaints(burst);
    EXPECT_GE(counter.paints, 1) << "the first change shows at once";
    QTest::qWait(CalmTableView::IntervalMs * 2);
    EXPECT_LE(counter.paints, allowed);
    EXPECT_GE(view.deferredRepaints(), 1) << "the end of the burst is caught up";

    // What the user sees afterwards is the last value.
    const int paintsBefore = counter.paints;
    const QImage shown = view.viewport()->grab().toImage();
    EXPECT_GT(counter.paints, paintsBefore);
    EXPECT_EQ(model.item(300 % 5, 1)->text(), "300");
    EXPECT_FALSE(shown.isNull());
}

TEST_F(CalmTableViewTest, ABurstOfNewRowsLaysOutOncePerInterval_AndTheScrollRangeCatchesUp)
{
    QElapsedTimer burst;
    burst.start();
    for (int i = 0; i < 300; ++i) {
        model.appendRow({new QStandardItem(QStringLiteral("M0NEW-%1").arg(i)), new QStandardItem("1"),
                         new QStandardItem("y")});
        QCoreApplication::processEvents();
    }
    const int allowed = allowedPaints(burst);
    QTest::qWait(CalmTableView::IntervalMs * 2);
    EXPECT_LE(counter.paints, allowed);
    EXPECT_EQ(view.model()->rowCount(), 305);
    // Every row is reachable by scrolling once the layout caught up.
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    QCoreApplication::processEvents();
    EXPECT_EQ(view.rowAt(view.viewport()->height() - 2), 304);
}

TEST_F(CalmTableViewTest, AfterAQuietSpellAChangeRepaintsAtOnce)
{
    const int before = view.immediateRepaints();
    model.item(0, 1)->setText("quiet");
    QCoreApplication::processEvents();
    EXPECT_EQ(view.immediateRepaints(), before + 1);
    EXPECT_GE(counter.paints, 1);
    EXPECT_EQ(view.deferredRepaints(), 0);
}

TEST_F(CalmTableViewTest, SortingWhileRowsArriveStillSortsWithinAnInterval)
{
    view.setSortingEnabled(true);
    for (int i = 0; i < 20; ++i)
        model.appendRow({new QStandardItem(QStringLiteral("A%1").arg(99 - i)), new QStandardItem("2"),
                         new QStandardItem("z")});
    view.sortByColumn(0, Qt::AscendingOrder);
    QTest::qWait(CalmTableView::IntervalMs * 2);
    EXPECT_EQ(view.model()->index(0, 0).data().toString(), "A80");
    EXPECT_EQ(view.rowAt(1), 0);
}

} // namespace
