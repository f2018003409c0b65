#include "ui/frmTp_3D.h"
#include "ui/vtipcolIFace.h"

#include "ScriptedPorts.h"

#include <QApplication>
#include <QCursor>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <functional>

namespace {

// A form with a three-column list of bands, shown.
class RowEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        frmTp_3D::setAborted(false);
        form.setObjectName(QStringLiteral("form"));
        list = new QTreeWidget(&form);
        list->setHeaderLabels({QStringLiteral("Band Name"), QStringLiteral("Lower"), QStringLiteral("Upper")});
        list->setRootIsDecorated(false);
        const char *rows[][3] = {{"160M", "1810", "2000"}, {"80M", "3500", "3800"}, {"40M", "7000", "7100"},
                                 {"20M", "14000", "14350"}};
        for (const auto &row : rows)
            new QTreeWidgetItem(list, {QLatin1String(row[0]), QLatin1String(row[1]), QLatin1String(row[2])});
        auto *layout = new QVBoxLayout(&form);
        layout->addWidget(list);
        form.resize(400, 300);
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    // Opens the editor over a row and runs the given steps while it is open.
    QStringList edit(int row, int columns, const std::function<void(frmTp_3D *)> &steps)
    {
        spawner.onShown = [&steps, this](frmTp_3D *editor) {
            shownGeometry = editor->geometry();
            steps(editor);
            if (editor->isVisible())
                editor->close();  // never leave a test hanging on a modal window
        };
        return spawner.SpawnVTip(list, &form, row, columns);
    }

    // Where the row's cells start on the screen.
    QPoint rowTopLeft(int row) const
    {
        const QModelIndex index = list->model()->index(row, 0);
        const QRect rect = list->visualRect(index);
        int left = list->header()->sectionViewportPosition(list->header()->logicalIndex(0));
        return list->viewport()->mapToGlobal(QPoint(left, rect.top()));
    }

    QWidget form;
    QTreeWidget *list = nullptr;
    vtipcolIFace spawner;
    QRect shownGeometry;
};

} // namespace

TEST_F(RowEditorTest, BoxesFollowTheDisplayOrderAndTextsReturnAtTheirOwnColumn)
{
    // The user dragged "Upper" to the front.
    list->header()->moveSection(2, 0);
    QList<int> tags;
    QStringList shown;
    const QStringList result = edit(2, 3, [&](frmTp_3D *editor) {
        for (QLineEdit *box : editor->txtEd) {
            tags << box->property("column").toInt();
            shown << box->text();
        }
        editor->txtEd[0]->setText(QStringLiteral("3900"));
        editor->txtEd[1]->setText(QStringLiteral("80m"));
        QTest::keyClick(editor->txtEd[1], Qt::Key_Return);
    });
    EXPECT_EQ(tags, (QList<int>{2, 0, 1}));
    EXPECT_EQ(shown, (QStringList{"3800", "80M", "3500"}));
    EXPECT_EQ(result, (QStringList{"80m", "3500", "3900"}));
    EXPECT_FALSE(spawner.USER_ABORTED());
}

TEST_F(RowEditorTest, SitsExactlyOverTheRowMeantTheLastOneIncluded)
{
    for (int row : {1, 4}) {
        edit(row, 3, [](frmTp_3D *) {});
        EXPECT_EQ(shownGeometry.topLeft(), rowTopLeft(row - 1)) << "row " << row;
        EXPECT_EQ(shownGeometry.height(), list->visualRect(list->model()->index(row - 1, 0)).height());
        int widths = 0;
        for (int c = 0; c < 3; ++c)
            widths += list->header()->sectionSize(c);
        EXPECT_EQ(shownGeometry.width(), widths + 3 * frmTp_3D::ButtonWidth);
    }
    // A bigger font makes taller rows; the editor still covers its row.
    QFont big = list->font();
    big.setPointSize(big.pointSize() * 2);
    list->setFont(big);
    QFont boxFont;
    edit(4, 3, [&](frmTp_3D *editor) { boxFont = editor->txtEd[0]->font(); });
    EXPECT_EQ(shownGeometry.topLeft(), rowTopLeft(3));
    EXPECT_EQ(shownGeometry.height(), list->visualRect(list->model()->index(3, 0)).height());
    EXPECT_EQ(boxFont.pointSize(), big.pointSize()) << "the boxes take the list's font";
}

TEST_F(RowEditorTest, ButtonsTooltipsAndTheAbortedFlagAcrossEdits)
{
    QStringList tips;
    QString originalTip;
    edit(1, 3, [&](frmTp_3D *editor) {
        for (QToolButton *button : editor->cmdJ)
            tips << button->toolTip();
        originalTip = editor->txtEd[0]->toolTip();
        editor->txtEd[0]->setText(QStringLiteral("changed"));
        editor->cmdJ[0]->click();
    });
    EXPECT_EQ(tips, (QStringList{"Close, Don't Save", "Close and Save",
                                 "Click and Hold to Undock, Right Click to Dock"}));
    EXPECT_EQ(originalTip, QStringLiteral("Original: 160M"));
    EXPECT_TRUE(spawner.USER_ABORTED());

    // The flag carries over until Enter or "Close and Save" clears it.
    edit(1, 3, [](frmTp_3D *editor) { editor->close(); });
    EXPECT_TRUE(spawner.USER_ABORTED()) << "closing otherwise leaves the flag as it was";
    edit(1, 3, [](frmTp_3D *editor) { QTest::keyClick(editor->txtEd[2], Qt::Key_Enter); });
    EXPECT_FALSE(spawner.USER_ABORTED());
    edit(1, 3, [](frmTp_3D *editor) { QTest::keyClick(editor->txtEd[0], Qt::Key_Escape); });
    EXPECT_TRUE(spawner.USER_ABORTED()) << "Escape does not save";
    edit(1, 3, [](frmTp_3D *editor) { editor->cmdJ[1]->click(); });
    EXPECT_FALSE(spawner.USER_ABORTED());
}

TEST_F(RowEditorTest, FewerColumnsThanTheListEditsOnlyThoseShownFirst)
{
    const QStringList result = edit(3, 2, [](frmTp_3D *editor) {
        ASSERT_EQ(editor->txtEd.size(), 2);
        editor->txtEd[1]->setText(QStringLiteral("7001"));
        editor->cmdJ[1]->click();
    });
    EXPECT_EQ(result, (QStringList{"40M", "7001", "7100"})) << "the third column keeps its text";
}

TEST_F(RowEditorTest, HoverTimerClosesOnlyWhenSwitchedOn)
{
    bool stillOpen = false;
    spawner.TT_HOVER_TIMER = false;
    edit(1, 3, [&](frmTp_3D *editor) {
        QCursor::setPos(editor->geometry().bottomRight() + QPoint(200, 200));
        QTest::qWait(500);
        stillOpen = editor->isVisible();
    });
    EXPECT_TRUE(stillOpen);

    spawner.TT_HOVER_TIMER = true;
    bool closedByItself = false;
    edit(1, 3, [&](frmTp_3D *editor) {
        EXPECT_TRUE(editor->tOutTimer.isActive());
        EXPECT_EQ(editor->tOutTimer.interval(), 200);
        QCursor::setPos(editor->geometry().center());
        editor->tOutTimer_Timer();
        EXPECT_TRUE(editor->isVisible()) << "the pointer is inside";
        QCursor::setPos(editor->geometry().bottomRight() + QPoint(200, 200));
        closedByItself = QTest::qWaitFor([editor] { return !editor->isVisible(); }, 2000);
    });
    EXPECT_TRUE(closedByItself);
}

TEST_F(RowEditorTest, HandleDragsTheWindowAndARightClickDocksItAgain)
{
    QPoint start, dragged, docked;
    edit(2, 3, [&](frmTp_3D *editor) {
        QToolButton *handle = editor->cmdJ[2];
        start = editor->pos();
        const QPoint grip = handle->rect().center();
        QTest::mouseMove(handle, grip);
        QTest::mousePress(handle, Qt::LeftButton, {}, grip);
        QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(40, 30)),
                         QPointF(handle->mapToGlobal(grip + QPoint(40, 30))), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(handle, &move);
        QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(40, 30));
        dragged = editor->pos();
        QTest::mousePress(handle, Qt::RightButton, {}, grip);
        docked = editor->pos();
    });
    EXPECT_EQ(dragged, start + QPoint(40, 30));
    EXPECT_EQ(docked, start);
}

TEST_F(RowEditorTest, FocusSelectsTheWholeText)
{
    bool selected = false;
    edit(1, 3, [&](frmTp_3D *editor) {
        QLineEdit *box = editor->txtEd[1];
        box->setFocus(Qt::TabFocusReason);
        QTest::qWait(20);
        selected = box->selectedText() == box->text();
    });
    EXPECT_TRUE(selected);
}

TEST_F(RowEditorTest, RowOutsideTheListGivesNothing)
{
    EXPECT_TRUE(spawner.SpawnVTip(list, &form, 0, 3).isEmpty());
    EXPECT_TRUE(spawner.SpawnVTip(list, &form, 5, 3).isEmpty());
    EXPECT_TRUE(spawner.SpawnVTip(nullptr, &form, 1, 3).isEmpty());
}
