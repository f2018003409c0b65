// What a new user meets in the first quarter hour: the host's map window,
// sorting, saving and opening lists, tiling, fonts, the row menu and printing.
#include "LiveProgramFixture.h"

#include "host/HostMapWindow.h"
#include "stations/StationListModel.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QToolBar>

using Col = StationListModel::Column;

namespace {

const QString kDigi = QStringLiteral("G3KDC-1>APKS01,WIDE2-1:!5152.20N/00129.40W#Witney fill-in digi PHG5130");
const QString kVia = QStringLiteral("M0KDB>APKS01,G3KDC-1*,WIDE2-1:!5142.30N/00109.90W-QRV 2m/70cm");

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST_F(LiveProgramTest, ClosingTheHostMapLeavesKestrelRunning_HostMapBringsItBack)
{
    frmMain &m = start({kDigi});
    HostMapWindow *map = host()->window();
    ASSERT_TRUE(map->isVisible());
    EXPECT_TRUE(m.tool("ID_HostMap")->isEnabled());
    EXPECT_FALSE(map->close());
    settle();
    EXPECT_FALSE(map->isVisible());
    EXPECT_TRUE(m.isVisible());
    EXPECT_FALSE(shared().hostClosing);
    EXPECT_TRUE(prompts.shown.isEmpty());
    play();  // the host goes on hearing and delivering
    EXPECT_EQ(rowOf("G3KDC-1"), 0);

    EXPECT_TRUE(m.windowMenu()->actions().contains(m.tool("ID_HostMap")));
    m.tool("ID_HostMap")->trigger();
    EXPECT_TRUE(map->isVisible());
    const std::unique_ptr<QMenu> toolbarMenu(m.createPopupMenu());
    EXPECT_TRUE(toolbarMenu->actions().contains(m.tool("ID_HostMap")));
}

TEST_F(LiveProgramTest, QuittingTheHostAsksFirst_KestrelFollowsAndAutoSaveKeepsTheList)
{
    store.write(QStringLiteral("Kestrel"), QStringLiteral("Shutdown"), QStringLiteral("Auto Save"), QStringLiteral("True"));
    frmMain &m = start({kDigi, kVia});
    play();
    prompts.answers.enqueue(Prompts::Answer::Yes);
    host()->window()->quitAction()->trigger();
    settle();
    EXPECT_FALSE(m.isVisible());
    ASSERT_EQ(prompts.shown.size(), 1) << "only the host's own question";
    EXPECT_EQ(prompts.shown[0].text, HostMapWindow::QuitQuestion);
    const QByteArray saved = readFile(dirs.data() + QStringLiteral("/Saved Lists/06Dec2026.kel"));
    EXPECT_TRUE(saved.startsWith("G3KDC-1|Fixed|Yes|")) << saved.constData();
    EXPECT_TRUE(saved.contains("\r\nM0KDB|Fixed|No|"));
}

TEST_F(LiveProgramTest, TheHostMapOpensClearOfTheMainMenusAndComesBackWhereItWasLeft)
{
    frmMain &m = start({});
    HostMapWindow *map = host()->window();
    ASSERT_TRUE(map->isVisible());
    const QRect menus(m.mapToGlobal(QPoint(0, 0)),
                      QSize(m.width(), m.findChild<QToolBar *>(QStringLiteral("tbToolBar2"))->geometry().bottom()));
    EXPECT_FALSE(map->frameGeometry().intersects(menus));

    map->move(map->x() - 30, map->y() - 20);
    map->resize(360, 280);
    const QRect left = map->geometry();
    map->close();
    quit();
    start({});
    EXPECT_EQ(host()->window()->geometry(), left);
}
