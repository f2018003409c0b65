// The DX Cluster tab's band list: the band table in, the row editor, Reset
// Bands, and the table back out on Apply.
#include "OptionsFixture.h"

#include "ui/frmTp_3D.h"

#include <QHeaderView>
#include <QTest>
#include <QPointer>
#include <QTimer>
#include <QToolButton>
#include <QStyle>
#include <QStyleOptionViewItem>

#include <functional>

namespace {

QList<BandDetail> fourBands()
{
    return {{1810, 2000, QStringLiteral("160M")},
            {3500, 3800, QStringLiteral("80M")},
            {7000, 7100, QStringLiteral("40M")},
            {14000, 14350, QStringLiteral("20M")}};
}

} // namespace

class OptionsBandsTest : public OptionsTest
{
protected:
    // Runs the steps on the row editor once it is open (it opens modally, so
    // a timer looks for it), then makes sure it closes.
    void whileEditorOpen(std::function<void(frmTp_3D *)> steps)
    {
        editorSeen = false;
        delete poll;  // an earlier look that found nothing
        poll = new QTimer(dialog.get());
        poll->setInterval(5);
        QObject::connect(poll, &QTimer::timeout, dialog.get(), [this, steps] {
            auto *editor = dialog->findChild<frmTp_3D *>();
            if (!editor || !editor->isVisible())
                return;
            poll->stop();
            editorSeen = true;
            steps(editor);
            if (editor->isVisible())
                editor->close();
        });
        poll->start();
    }

    // A click on the band row's name, as the user makes it; the editor opens
    // once the list has finished with the click.
    void clickRow(int row, QPoint offset = {})
    {
        QTreeWidget *list = dialog->lstBands;
        const QRect rect = list->visualItemRect(list->topLevelItem(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, offset.isNull() ? rect.center() : rect.topLeft() + offset);
        QTest::qWait(100);
    }

    bool editorSeen = false;
    QPointer<QTimer> poll;
};

TEST_F(OptionsBandsTest, ListShowsTheTableAndApplyReplacesIt)
{
    bandTable().setBands(fourBands());
    bandTable().setEnabled(2, false);
    frmOptions &d = open();
    EXPECT_EQ(rows(d.lstBands), (QStringList{"160M|1810|2000|on", "80M|3500|3800|on", "40M|7000|7100|off",
                                             "20M|14000|14350|on"}));
    QStringList headers;
    for (int c = 0; c < d.lstBands->columnCount(); ++c)
        headers << d.lstBands->headerItem()->text(c);
    EXPECT_EQ(headers, (QStringList{"Band Name", "Lower", "Upper"}));

    d.lstBands->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    d.lstBands->topLevelItem(2)->setCheckState(0, Qt::Checked);
    EXPECT_TRUE(d.cmdApply->isEnabled());
    ASSERT_TRUE(d.Apply());
    ASSERT_EQ(bandTable().count(), 4);
    EXPECT_FALSE(bandTable().IsBandEnabled(QStringLiteral("160M")));
    EXPECT_TRUE(bandTable().IsBandEnabled(QStringLiteral("40M")));

    frmOptions &again = open();
    EXPECT_EQ(again.lstBands->topLevelItemCount(), 4);
    EXPECT_EQ(again.lstBands->topLevelItem(0)->checkState(0), Qt::Unchecked);
}

TEST_F(OptionsBandsTest, ClickingABandWithEditingOnOpensTheEditorOverItsRow)
{
    bandTable().setBands(fourBands());
    frmOptions &d = open();
    d.tabOptions->setCurrentIndex(frmOptions::DxCluster);

    whileEditorOpen([](frmTp_3D *) {});
    clickRow(1);
    EXPECT_FALSE(editorSeen) << "editing is off";

    d.chkAllowEdit->click();
    QRect editorRect;
    QStringList shown;
    whileEditorOpen([&](frmTp_3D *editor) {
        editorRect = editor->geometry();
        for (QLineEdit *box : editor->txtEd)
            shown << box->text();
        editor->txtEd[0]->setText(QStringLiteral("80m CW"));
        editor->txtEd[2]->setText(QStringLiteral("3600"));
        QTest::keyClick(editor->txtEd[2], Qt::Key_Return);
    });
    clickRow(1);
    ASSERT_TRUE(editorSeen);
    EXPECT_EQ(shown, (QStringList{"80M", "3500", "3800"}));
    const QRect row = d.lstBands->visualItemRect(d.lstBands->topLevelItem(1));
    EXPECT_EQ(editorRect.top(), d.lstBands->viewport()->mapToGlobal(row.topLeft()).y());
    EXPECT_EQ(editorRect.height(), row.height());
    EXPECT_EQ(rows(d.lstBands)[1], QStringLiteral("80m CW|3500|3600|on"));
    EXPECT_TRUE(d.cmdApply->isEnabled());

    ASSERT_TRUE(d.Apply());
    EXPECT_EQ(bandTable().bands()[1], (BandDetail{3500, 3600, QStringLiteral("80m CW"), true}));
}

TEST_F(OptionsBandsTest, ReorderedColumnsStillEditTheirOwnField)
{
    bandTable().setBands(fourBands());
    frmOptions &d = open();
    d.chkAllowEdit->setChecked(true);
    d.lstBands->header()->moveSection(2, 0);  // Upper, Band Name, Lower
    QStringList shown;
    whileEditorOpen([&](frmTp_3D *editor) {
        for (QLineEdit *box : editor->txtEd)
            shown << box->text();
        editor->txtEd[0]->setText(QStringLiteral("14070"));
        editor->txtEd[2]->setText(QStringLiteral("14001"));
        editor->cmdJ[1]->click();
    });
    d.editBand(d.lstBands->topLevelItem(3));
    EXPECT_EQ(shown, (QStringList{"14350", "20M", "14000"}));
    EXPECT_EQ(rows(d.lstBands)[3], QStringLiteral("20M|14001|14070|on"));
}

TEST_F(OptionsBandsTest, AbortedOrBadEditsLeaveTheBandAsItWas)
{
    bandTable().setBands(fourBands());
    frmOptions &d = open();
    d.chkAllowEdit->setChecked(true);
    d.cmdApply->setEnabled(false);

    whileEditorOpen([](frmTp_3D *editor) {
        editor->txtEd[0]->setText(QStringLiteral("gone"));
        editor->cmdJ[0]->click();
    });
    d.editBand(d.lstBands->topLevelItem(0));
    EXPECT_EQ(rows(d.lstBands)[0], QStringLiteral("160M|1810|2000|on"));
    EXPECT_FALSE(d.cmdApply->isEnabled());

    whileEditorOpen([](frmTp_3D *editor) {
        editor->txtEd[1]->setText(QStringLiteral("1.8 MHz"));
        editor->cmdJ[1]->click();
    });
    d.editBand(d.lstBands->topLevelItem(0));
    EXPECT_EQ(rows(d.lstBands)[0], QStringLiteral("160M|1810|2000|on"));
    EXPECT_EQ(prompts.texts(),
              QStringList{"The lower band edge must be a whole number of kHz; the band was left as it was."});
    EXPECT_EQ(bandTable().bands(), fourBands()) << "nothing applied";
}

TEST_F(OptionsBandsTest, ClickOnTheTickBoxTicksWithoutEditing)
{
    bandTable().setBands(fourBands());
    frmOptions &d = open();
    d.chkAllowEdit->setChecked(true);
    d.tabOptions->setCurrentIndex(frmOptions::DxCluster);
    QTreeWidget *list = d.lstBands;
    const QRect row = list->visualItemRect(list->topLevelItem(2));
    // Find the box the way a user does: where a click ticks it.
    int x = 0;
    for (; x < 40; ++x) {
        const QRect rect = d.bandCheckRect(list->topLevelItem(2));
        if (rect.contains(row.left() + x, row.center().y()))
            break;
    }
    ASSERT_LT(x, 40);
    whileEditorOpen([](frmTp_3D *) {});
    clickRow(2, QPoint(x + 2, row.height() / 2));
    EXPECT_EQ(list->topLevelItem(2)->checkState(0), Qt::Unchecked) << "the click landed on the box";
    EXPECT_FALSE(editorSeen);
}

TEST_F(OptionsBandsTest, ResetBandsAsksThenGoesBackToTheBuiltInTable)
{
    const QString file = BandTable::defaultPath();
    QDir().mkpath(QFileInfo(file).path());
    writeFile(file, "1|2|Mine\r\n");
    bandTable().setBands({{1, 2, QStringLiteral("Mine")}});
    frmOptions &d = open();

    prompts.answers.enqueue(Prompts::Answer::No);
    d.cmdReset->click();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, QStringLiteral("This will reset the band data back to the Kestrel defaults. "
                                                     "Are you sure you wish to do this."));
    EXPECT_EQ(prompts.shown[0].title, QStringLiteral("Reset Band Data"));
    EXPECT_EQ(prompts.shown[0].buttons, Prompts::Buttons::YesNo);
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Question);
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(d.lstBands->topLevelItemCount(), 1);

    prompts.answers.enqueue(Prompts::Answer::Yes);
    d.cmdReset->click();
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(bandTable().bands(), BandTable::builtIn());
    EXPECT_EQ(d.lstBands->topLevelItemCount(), 20);
    EXPECT_EQ(d.lstBands->topLevelItem(19)->text(0), QStringLiteral("6mm"));
}
