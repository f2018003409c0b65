#include <gtest/gtest.h>

#include <algorithm>

#include <QBuffer>
#include <QImage>
#include <QPdfWriter>
#include <QFontMetrics>
#include <QPainter>

#include "stations/StationListModel.h"
#include "stations/StationListPrint.h"

using Col = StationListModel::Column;

namespace {

StationListModel::Cells row(const QString &callsign, const QString &status = {})
{
    StationListModel::Cells cells;
    cells[Col::Station] = callsign;
    cells[Col::Type] = QStringLiteral("Fixed");
    cells[Col::Path] = QStringLiteral("N0GATE*,WIDE2-1 Port=1 ");
    cells[Col::Status] = status;
    cells[Col::Time] = QStringLiteral("2026-12-06 12:29:00");
    return cells;
}

// The ink in one horizontal strip of a page.
int inkIn(const QImage &page, int top, int bottom)
{
    int ink = 0;
    for (int y = std::max(0, top); y < std::min(page.height(), bottom); ++y)
        for (int x = 0; x < page.width(); ++x)
            ink += qGray(page.pixel(x, y)) < 128;
    return ink;
}

} // namespace

TEST(StationListPrint, ATableTooWideForThePageFitsAndLongRowsSpreadOverPages)
{
    StationListModel model;
    model.appendRow(row(QStringLiteral("N0CALL"), QString(400, u'x')));
    for (int i = 0; i < 99; ++i)
        model.appendRow(row(QStringLiteral("G%1").arg(i)));
    QImage page(600, 800, QImage::Format_RGB32);
    page.fill(Qt::white);
    QFont font;
    font.setPointSize(10);
    StationListPrint table(model, QStringLiteral("Station List (100 Stations)"), QStringLiteral("now"), font);
    // The page is narrower than the picture, so anything drawn past it would show.
    table.layOut(page, QRectF(0, 0, 500, 800));
    EXPECT_GE(table.pageCount(), 2);

    QPainter painter(&page);
    table.paintPage(painter, 0);
    painter.end();
    // Nothing is drawn past the page's right edge: the status gave up its width.
    int rightmost = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = page.width() - 1; x > rightmost; --x)
            if (qGray(page.pixel(x, y)) < 128)
                rightmost = x;
    EXPECT_LT(rightmost, 500);
    EXPECT_GT(inkIn(page, 0, 60), 0) << "title and headings";
    EXPECT_GT(inkIn(page, 760, 800), 0) << "page number";

    // The last page holds only the rows that are left.
    QImage last(600, 800, QImage::Format_RGB32);
    last.fill(Qt::white);
    QPainter lastPainter(&last);
    table.paintPage(lastPainter, table.pageCount() - 1);  // the same layout, page after page
    lastPainter.end();
    EXPECT_LT(inkIn(last, 60, 760), inkIn(page, 60, 760));
}

TEST(StationListPrint, AnEmptyListIsOnePageOfHeadings)
{
    StationListModel model;
    QImage page(600, 800, QImage::Format_RGB32);
    StationListPrint table(model, QStringLiteral("Station List"), QString(), QFont());
    table.layOut(page, QRectF(0, 0, 600, 800));
    EXPECT_EQ(table.pageCount(), 1);
}

TEST(StationListPrint, ALongStatusWrapsOntoMoreLinesInsteadOfBeingCut)
{
    // The lowest ink of the rows on the first page (above the page number).
    auto lowestRow = [](const QString &status) {
        StationListModel model;
        model.appendRow(row(QStringLiteral("N0CALL"), status));
        for (int i = 0; i < 9; ++i)
            model.appendRow(row(QStringLiteral("G%1").arg(i)));
        QImage page(600, 800, QImage::Format_RGB32);
        page.fill(Qt::white);
        StationListPrint table(model, QStringLiteral("Station List"), QString(), QFont());
        table.layOut(page, QRectF(0, 0, 500, 800));
        QPainter painter(&page);
        table.paintPage(painter, 0);
        painter.end();
        int lowest = 0;
        for (int y = 0; y < 740; ++y)
            if (inkIn(page, y, y + 1) > 0)
                lowest = y;
        return lowest;
    };
    const QString words = QStringLiteral("Monitoring 144.800 and 432.500 from the club hut on the hill ").repeated(6);
    const int shortStatus = lowestRow(QStringLiteral("Monitoring"));
    EXPECT_GT(lowestRow(words), shortStatus + 2 * QFontMetrics(QFont()).height())
        << "the rows under a long status move down by the lines it wraps onto";
}

// A long print tells how far it is, may be stopped, and prints the rows as
// they were when it began while the list goes on changing.
TEST(StationListPrint, ALongPrintReportsProgressStopsWhenToldAndKeepsItsRows)
{
    for (const int stopAt : {-1, 1, 150}) {
        SCOPED_TRACE(stopAt);
        StationListModel model;
        for (int i = 0; i < 3000; ++i)
            model.appendRow(row(QStringLiteral("G%1").arg(i)));
        StationListPrint table(model, QStringLiteral("Station List"), QString(), QFont());
        model.clear();  // frames arriving while the pages are made
        QList<int> told;
        table.setProgress([&told, stopAt](int permille) {
            told << permille;
            return stopAt < 0 || told.size() < stopAt;
        });
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        QPdfWriter writer(&pdf);
        QString error;
        EXPECT_TRUE(table.print(writer, &error)) << error.toStdString();
        ASSERT_FALSE(told.isEmpty());
        EXPECT_TRUE(std::is_sorted(told.cbegin(), told.cend()));
        EXPECT_EQ(table.cancelled(), stopAt > 0);
        if (stopAt < 0) {
            EXPECT_GT(table.pageCount(), 20) << "every row copied, none lost to the cleared list";
            EXPECT_GE(told.size(), 2 * (3000 / 256) + table.pageCount()) << "rows measured, rows wrapped, pages";
            EXPECT_LT(told.last(), 1000);
        } else {
            EXPECT_EQ(told.size(), stopAt) << "nothing more done once stopped";
        }
    }
}
