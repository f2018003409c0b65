#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "QtPrinters.h"
#include "stations/frmIncoming.h"

namespace {

QString frameOf(int n)
{
    return QStringLiteral("N%1CALL>APRS,WIDE1-1:\r\n>status text number %1\r\n").arg(n, 4, 10, QChar('0'));
}

} // namespace

TEST(frmIncoming, NamesAndCaption)
{
    frmIncoming window;
    EXPECT_EQ(window.objectName(), "frmIncoming");
    EXPECT_EQ(window.windowTitle(), "Terminal Window");
    EXPECT_EQ(window.findChild<QPlainTextEdit *>("lstIncoming"), window.lstIncoming);
    EXPECT_TRUE(window.lstIncoming->isReadOnly());
    EXPECT_FALSE(window.isVisible());
}

TEST(frmIncoming, ListFillsTheClientArea)
{
    frmIncoming window;
    window.resize(400, 250);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.lstIncoming->geometry(), window.rect());
    window.resize(600, 120);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.lstIncoming->geometry(), window.rect());
}

// Hidden, the terminal only keeps the text and lays it out when shown; shown,
// it appends and re-lays the text after each cut. Both must show the same.
class frmIncomingBound : public ::testing::TestWithParam<bool>
{
};

TEST_P(frmIncomingBound, TextIsCutToItsLastFiveThousandOnceOverTenThousand)
{
    const bool shownThroughout = GetParam();
    frmIncoming window;
    if (shownThroughout)
        window.show();
    QString expected;
    for (int n = 0; n < 600; ++n) {
        const QString frame = frameOf(n);
        if (expected.size() > frmIncoming::MaxCharacters)
            expected = expected.right(frmIncoming::KeepCharacters);
        expected += frame;
        window.RxData(frame);
        ASSERT_LE(window.text().size(), frmIncoming::MaxCharacters + frame.size());
    }
    EXPECT_EQ(window.text(), expected);
    window.show();
    // What is shown is that text with one line break per line end.
    QString shown = expected;
    shown.replace("\r\n", "\n");
    EXPECT_EQ(window.lstIncoming->toPlainText(), shown);
    EXPECT_TRUE(window.lstIncoming->textCursor().atEnd());
}

INSTANTIATE_TEST_SUITE_P(HiddenOrShown, frmIncomingBound, ::testing::Bool());

TEST(frmIncoming, FramesHeardWhileHiddenAppearWhenItsSubwindowIsShown)
{
    QMdiArea area;
    area.show();
    // Added to a shown area, the subwindow stays hidden until shown, as the terminal is at load.
    auto *window = new frmIncoming;
    QMdiSubWindow *sub = area.addSubWindow(window);
    window->RxData("A>B:\r\none\r\n");
    EXPECT_TRUE(window->lstIncoming->toPlainText().isEmpty());
    sub->show();
    EXPECT_EQ(window->lstIncoming->toPlainText(), "A>B:\none\n");
    sub->hide();
    window->RxData("C>D:\r\ntwo\r\n");
    sub->show();
    EXPECT_EQ(window->lstIncoming->toPlainText(), "A>B:\none\nC>D:\ntwo\n");
}

TEST(frmIncoming, TenThousandExactlyIsNotCut)
{
    frmIncoming window;
    window.RxData(QString(frmIncoming::MaxCharacters, QChar('x')));
    window.RxData("y");
    EXPECT_EQ(window.text().size(), frmIncoming::MaxCharacters + 1);
    window.RxData("z");
    EXPECT_EQ(window.text(), QString(frmIncoming::KeepCharacters - 1, QChar('x')) + "yz");
}

TEST(frmIncoming, LineEndsAsReceivedAreShownAsLines)
{
    frmIncoming window;
    window.show();
    window.RxData("A>B:\nlf only\n");
    window.RxData("C>D:\rcr only\r");
    window.RxData(QStringLiteral("E>F:\r\nnul") + QChar(0) + "here\r");
    window.RxData("\nsplit crlf\r\n");
    EXPECT_EQ(window.lstIncoming->toPlainText(),
              "A>B:\nlf only\nC>D:\ncr only\nE>F:\nnulhere\nsplit crlf\n");
    EXPECT_EQ(window.text().count(QChar(0)), 1);
}

TEST(frmIncoming, CaretStaysAtTheEndAndTheNewestFrameIsInView)
{
    frmIncoming window;
    window.resize(300, 120);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (int n = 0; n < 300; ++n)
        window.RxData(frameOf(n));
    QCoreApplication::processEvents();
    const QTextCursor caret = window.lstIncoming->textCursor();
    EXPECT_TRUE(caret.atEnd());
    const QScrollBar *bar = window.lstIncoming->verticalScrollBar();
    EXPECT_GT(bar->value(), 0);
    EXPECT_TRUE(window.lstIncoming->viewport()->rect().contains(window.lstIncoming->cursorRect()));
}

TEST(frmIncoming, EventLogKeepsEveryEntryItIsGiven)
{
    frmIncoming window;
    window.UpdateEventLog("Added wx Data from N0CALL", 1, "N0CALL");
    window.UpdateEventLog("PHG ignored from N0CALL", 2, "N0CALL");
    window.show();
    ASSERT_EQ(window.eventLog().size(), 2);
    EXPECT_EQ(window.eventLog().at(1), (FrameEvent{2, "PHG ignored from N0CALL", "N0CALL"}));
    EXPECT_TRUE(window.lstIncoming->toPlainText().isEmpty());

    for (int n = 0; n < frmIncoming::KeptEvents + 5; ++n)
        window.UpdateEventLog(QString::number(n), 1, "X");
    EXPECT_EQ(window.eventLog().size(), frmIncoming::KeptEvents);
    EXPECT_EQ(window.eventLog().last().text, QString::number(frmIncoming::KeptEvents + 4));
}
