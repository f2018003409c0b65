// The context menu of a station list row, on the program's own windows.
#include "LiveProgramFixture.h"

#include "stations/StationListModel.h"
#include "stations/frmStationInfo.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QMenu>
#include <QTimer>
#include <QUrl>

using Col = StationListModel::Column;

namespace {

const QString kDigi = QStringLiteral("G3KDC-1>APKS01,WIDE2-1:!5152.20N/00129.40W#Witney fill-in digi PHG5130");
const QString kVia = QStringLiteral("M0KDB>APKS01,G3KDC-1*,WIDE2-1:!5142.30N/00109.90W-QRV 2m/70cm");

// Stands in for the desktop's file viewer.
class FileViewer : public QObject
{
    Q_OBJECT
public:
    FileViewer() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~FileViewer() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

QStringList texts(const QMenu &menu)
{
    QStringList list;
    for (const QAction *action : menu.actions())
        if (!action->isSeparator())
            list << action->text().remove(u'&');
    return list;
}

QAction *item(const QMenu &menu, const char *name)
{
    return menu.findChild<QAction *>(QString::fromLatin1(name));
}

} // namespace

TEST_F(LiveProgramTest, ARowsMenuShowsItsStationPlotsItsPathLogsItAndCopiesItsCallsign)
{
    FileViewer viewer;
    start({kDigi, kVia});
    play();
    frmDocument *list = mainList();
    const int row = rowOf("M0KDB");
    std::unique_ptr<QMenu> menu(list->rowMenu(row));
    EXPECT_EQ(texts(*menu), QStringList({"Station Information", "Plot Path", "Log to File...", "Open Log File",
                                         "Copy Callsign"}));
    EXPECT_EQ(list->selectedCallsign(), "M0KDB");
    EXPECT_FALSE(item(*menu, "actOpenLog")->isEnabled()) << "not logging yet";

    item(*menu, "actCopyCallsign")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "M0KDB");

    item(*menu, "actPlotPath")->trigger();
    EXPECT_EQ(host()->hostMap()->drawings().size(), 2);

    QString caption;
    QTimer::singleShot(0, [&caption] {
        auto *info = qobject_cast<frmStationInfo *>(QApplication::activeModalWidget());
        ASSERT_NE(info, nullptr);
        caption = info->windowTitle();
        info->accept();
    });
    item(*menu, "actStationInfo")->trigger();
    EXPECT_EQ(caption, "Station Information for M0KDB");

    const QString log = dirs.data() + QStringLiteral("/LogFiles/m0kdb");
    prompts.fileAnswers.enqueue(log);
    ASSERT_TRUE(item(*menu, "actLog")->isCheckable());
    item(*menu, "actLog")->trigger();
    EXPECT_TRUE(list->model().row(row).checked);
    EXPECT_EQ(cell("M0KDB", Col::LogFile), log + QStringLiteral(".txt"));

    menu.reset(list->rowMenu(row));
    EXPECT_TRUE(item(*menu, "actLog")->isChecked());
    ASSERT_TRUE(item(*menu, "actOpenLog")->isEnabled());
    item(*menu, "actOpenLog")->trigger();
    ASSERT_EQ(viewer.opened.size(), 1);
    EXPECT_EQ(viewer.opened[0].toLocalFile(), log + QStringLiteral(".txt"));
    item(*menu, "actLog")->trigger();  // logging off again
    EXPECT_EQ(cell("M0KDB", Col::LogFile), "");
}

#include "LiveRowMenuTest.moc"
