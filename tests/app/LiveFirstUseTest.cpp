// What a new user meets in the first quarter hour: the host's map window,
// sorting, saving and opening lists, tiling, fonts, the row menu and printing.
#include "LiveProgramFixture.h"

#include "host/map/HostMapWindow.h"
#include "stations/StationListModel.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QTableView>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
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

TEST_F(LiveProgramTest, DistAndHrdSortByNumber_TimeByTime_TextWithoutRegardToCase)
{
    // A saved list, partly from the Windows program (its own time form), merged into the main list.
    const QString saved = dirs.data() + QStringLiteral("/Saved Lists/mixed.kel");
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("A1|Fixed|Yes|0|Received Direct|51.30.00N|000.07.50W|4|x|2026-12-06 09:00:00|\r\n"
               "b2|Fixed|Yes|1|Received Direct|51.30.00N|000.07.50W|11|x|06/12/2026 10:30:00|\r\n"
               "C3|Fixed|Yes|10592|Received Direct|51.30.00N|000.07.50W|344|x|2026-12-05 23:59:59|\r\n"
               "d4|Fixed|Yes|11|Received Direct|51.30.00N|000.07.50W|1|x|2026-12-06 12:00:00|\r\n"
               "E5|Fixed|Yes|3314|Received Direct|51.30.00N|000.07.50W|10592|x|2026-12-06 08:15:00|\r\n"
               "F6|Yes|344|Received Direct|51.30.00N|000.07.50W|0|x|05/12/2026 22:00:00|\r\n");
    file.close();
    frmMain &m = start({});
    prompts.fileAnswers.enqueue(saved);
    prompts.answers.enqueue(Prompts::Answer::Yes);
    m.mnuFileOpen_Click();
    frmDocument *list = mainList();
    ASSERT_EQ(list->model().count(), 6);
    QHeaderView *header = list->view()->horizontalHeader();
    auto column = [list](int c) {
        QStringList cells;
        for (int r = 0; r < list->model().count(); ++r)
            cells << list->model().cell(r, c);
        return cells;
    };
    header->sectionClicked(Col::Dist);
    EXPECT_EQ(column(Col::Dist), QStringList({"0", "1", "11", "344", "3314", "10592"}));
    header->sectionClicked(Col::Dist);
    EXPECT_EQ(column(Col::Dist), QStringList({"10592", "3314", "344", "11", "1", "0"}));
    header->sectionClicked(Col::Hrd);  // every click turns the order round
    EXPECT_EQ(column(Col::Hrd), QStringList({"0", "1", "4", "11", "344", "10592"}));
    header->sectionClicked(Col::Time);
    EXPECT_EQ(column(Col::Station), QStringList({"d4", "b2", "A1", "E5", "C3", "F6"}));
    header->sectionClicked(Col::Station);
    EXPECT_EQ(column(Col::Station), QStringList({"A1", "b2", "C3", "d4", "E5", "F6"}));
    header->sectionClicked(Col::Station);
    EXPECT_EQ(column(Col::Station), QStringList({"F6", "E5", "d4", "C3", "b2", "A1"}));

    // Sorting stays on: heard stations go to their sorted place.
    header->sectionClicked(Col::Dist);
    ASSERT_EQ(column(Col::Dist).first(), "0");
    host()->hearLine(kDigi);  // about 17 miles from home
    settle();
    EXPECT_EQ(column(Col::Station).indexOf("G3KDC-1"), 3);
}

TEST_F(LiveProgramTest, AListSavedWithoutAnExtensionGetsOneAndOpens_AFileKestrelCannotReadSaysSo)
{
    frmMain &m = start({kDigi, kVia});
    play();
    const QString folder = dirs.data() + QStringLiteral("/Saved Lists");
    activate(mainList());
    prompts.fileAnswers.enqueue(folder + QStringLiteral("/mylist"));
    m.tool("ID_Save")->trigger();
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/mylist")));
    ASSERT_TRUE(QFile::exists(folder + QStringLiteral("/mylist.kel")));

    prompts.fileAnswers.enqueue(folder + QStringLiteral("/mylist.kel"));
    prompts.answers.enqueue(Prompts::Answer::No);
    m.mnuFileOpen_Click();
    ASSERT_EQ(m.activeChild()->windowTitle(), "Station List mylist.kel");
    EXPECT_EQ(dynamic_cast<frmDocument *>(m.activeChild())->model().count(), 2);

    // A file of a kind Kestrel does not open, and a list it cannot read.
    const int windows = int(m.mdiArea()->subWindowList().size());
    QFile notes(folder + QStringLiteral("/notes.txt"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.close();
    prompts.shown.clear();
    prompts.fileAnswers.enqueue(notes.fileName());
    m.mnuFileOpen_Click();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("notes.txt"))) << prompts.shown[0].text.toStdString();
    QDir().mkpath(folder + QStringLiteral("/broken.kel"));
    prompts.fileAnswers.enqueue(folder + QStringLiteral("/broken.kel"));
    m.mnuFileOpen_Click();
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_TRUE(prompts.shown[1].text.startsWith(QStringLiteral("Error in ERROR_mnuFileOpen_Click : ")));
    EXPECT_TRUE(prompts.shown[1].text.contains(QStringLiteral("broken.kel")));
    EXPECT_EQ(m.mdiArea()->subWindowList().size(), windows) << "no empty window for a file that cannot be read";
}

namespace {

// The shown, not minimised child windows, ordered by where they stand.
QList<QRect> shownFrames(frmMain &m, bool byColumn)
{
    QList<QRect> frames;
    for (QMdiSubWindow *sub : m.mdiArea()->subWindowList())
        if (sub->isVisible() && !sub->isMinimized())
            frames << sub->geometry();
    std::sort(frames.begin(), frames.end(), [byColumn](const QRect &a, const QRect &b) {
        return byColumn ? a.x() < b.x() : a.y() < b.y();
    });
    return frames;
}

} // namespace

TEST_F(LiveProgramTest, EachTilingTilesItsOwnWay_CascadeAndNewWindowsGetAUsefulSize)
{
    const QString saved = dirs.data() + QStringLiteral("/Saved Lists/two.kel");
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("G3KDC-1|Fixed|Yes|63|Received Direct|51.52.20N|001.29.40W|1||2026-12-06 12:00:00|\r\n");
    file.close();
    frmMain &m = start({});
    m.resize(1000, 720);
    settle();
    const QSize area = m.mdiArea()->viewport()->size();

    prompts.fileAnswers.enqueue(saved);
    prompts.answers.enqueue(Prompts::Answer::No);
    m.mnuFileOpen_Click();
    const QRect opened = frameOf(m.activeChild())->geometry();
    EXPECT_GE(opened.width(), area.width() * 2 / 3);
    EXPECT_GE(opened.height(), area.height() * 2 / 3);
    m.tool("ID_Inbound")->trigger();
    const QRect terminal = frameOf(m.terminal())->geometry();
    activate(mainList());
    EXPECT_GE(terminal.width(), area.width() * 2 / 3);
    EXPECT_GE(terminal.height(), area.height() * 2 / 3);

    m.tool("ID_TileHorizontally")->trigger();
    QList<QRect> bands = shownFrames(m, false);
    ASSERT_EQ(bands.size(), 3);
    int y = 0;
    for (const QRect &band : bands) {
        EXPECT_EQ(band.x(), 0);
        EXPECT_EQ(band.width(), area.width());
        EXPECT_EQ(band.y(), y);
        EXPECT_NEAR(band.height(), area.height() / 3, 1);
        y += band.height();
    }
    EXPECT_EQ(y, area.height());

    m.tool("ID_Tilevertically")->trigger();
    QList<QRect> columns = shownFrames(m, true);
    ASSERT_EQ(columns.size(), 3);
    int x = 0;
    for (const QRect &c : columns) {
        EXPECT_EQ(c.y(), 0);
        EXPECT_EQ(c.height(), area.height());
        EXPECT_EQ(c.x(), x);
        x += c.width();
    }
    EXPECT_EQ(x, area.width());

    m.tool("ID_Cascade")->trigger();
    // Each window lies over the one before it, whichever was active.
    QList<QRect> stacked;
    for (QMdiSubWindow *sub : m.mdiArea()->subWindowList(QMdiArea::StackingOrder))
        if (sub->isVisible())
            stacked << sub->geometry();
    EXPECT_EQ(stacked, shownFrames(m, false));
    QList<QRect> cascaded = shownFrames(m, false);
    ASSERT_EQ(cascaded.size(), 3);
    for (int i = 0; i < cascaded.size(); ++i) {
        EXPECT_GE(cascaded[i].width(), area.width() * 2 / 3);
        EXPECT_GE(cascaded[i].height(), area.height() * 2 / 3);
        EXPECT_TRUE(QRect(QPoint(), area).contains(cascaded[i])) << i;
        if (i > 0) {
            EXPECT_GT(cascaded[i].x(), cascaded[i - 1].x());
            EXPECT_GT(cascaded[i].y(), cascaded[i - 1].y());
        }
    }
}

TEST_F(LiveProgramTest, ColumnsFollowTheFontAndTheFontIsKeptAcrossRuns)
{
    frmMain &m = start({kDigi, kVia});
    play();
    activate(mainList());
    m.combo("ID_FontSize")->setEditText(QStringLiteral("14"));
    m.combo("ID_Font")->setCurrentText(QStringLiteral("Courier New"));
    QTableView *view = mainList()->view();
    EXPECT_EQ(view->font().pointSize(), 14);
    EXPECT_EQ(view->font().family(), "Courier New");
    // Every cell shows whole: no column is narrower than its contents.
    const QAbstractItemView *asView = view;
    for (int c = Col::Station; c <= Col::Time; ++c)
        EXPECT_GE(view->columnWidth(c), asView->sizeHintForColumn(c)) << c;
    EXPECT_GE(view->columnWidth(Col::Time), view->fontMetrics().horizontalAdvance(cell("M0KDB", Col::Time)));
    EXPECT_GE(view->columnWidth(Col::Path), view->fontMetrics().horizontalAdvance(cell("M0KDB", Col::Path)));

    quit();
    EXPECT_EQ(store.value(QStringLiteral("Kestrel"), QStringLiteral("Station List"), QStringLiteral("Font")), "Courier New");
    EXPECT_EQ(store.value(QStringLiteral("Kestrel"), QStringLiteral("Station List"), QStringLiteral("Font Size")), "14");
    frmMain &again = start({});
    EXPECT_EQ(mainList()->view()->font().pointSize(), 14);
    EXPECT_EQ(mainList()->view()->font().family(), "Courier New");
    EXPECT_EQ(again.combo("ID_FontSize")->currentText(), "14");
    EXPECT_EQ(again.combo("ID_Font")->currentText(), "Courier New");
}

namespace {

// The text of a PDF, pages separated by form feeds.
QString pdfText(const QString &pdf)
{
    QProcess extract;
    extract.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!extract.waitForFinished(20000))
        return {};
    return QString::fromUtf8(extract.readAllStandardOutput());
}

} // namespace

TEST_F(LiveProgramTest, PrintingAListPrintsItsRowsAsATableWithTheHeadingsOnEveryPage)
{
    QStringList traffic;
    for (int i = 0; i < 130; ++i) {
        const QString call = QStringLiteral("G%1AB").arg(i, 3, 10, QLatin1Char('0'));
        traffic << call + QStringLiteral(">APKS01,G3KDC-1*,WIDE2-1:!51%1.00N/001%2.00W-").arg(10 + i % 50).arg(10 + i % 40);
        if (i % 6 == 0)
            traffic << call + QStringLiteral(">APKS01,G3KDC-1*,WIDE2-1:>Station number %1").arg(i);
    }
    // Wider than its column can be on the page: it wraps rather than loses its end.
    const QString longStatus = QStringLiteral(
        "Portable on Wytham Hill with the big yagi until the battery gives out, then home by the long road "
        "past the reservoir and back on the air next Sunday morning");
    traffic << QStringLiteral("G001AB>APKS01,G3KDC-1*,WIDE2-1:>") + longStatus;
    frmMain &m = start(traffic);
    play();
    ASSERT_EQ(mainList()->model().count(), 130);
    activate(mainList());
    const QString pdf = dirs.data() + QStringLiteral("/list.pdf");
    prompts.printAnswer = true;
    prompts.printFile = pdf;
    m.tool("ID_Print")->trigger();
    ASSERT_TRUE(QFile::exists(pdf));
    keepFile(QStringLiteral("printed-list.pdf"), pdf);

    const QString text = pdfText(pdf);
    const QStringList pages = text.split(u'\f', Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 2) << text.left(400).toStdString();
    for (int p = 0; p < pages.size(); ++p) {
        const QString &page = pages[p];
        EXPECT_TRUE(page.contains(QStringLiteral("Station List (130 Stations)"))) << p;
        EXPECT_TRUE(page.contains(QRegularExpression(QStringLiteral("Station +Type +Direct +Dist +Path"))))
            << page.left(300).toStdString();
        EXPECT_TRUE(page.contains(QStringLiteral("Page %1 of %2").arg(p + 1).arg(pages.size())));
    }
    for (int i = 0; i < 130; i += 13)
        EXPECT_TRUE(text.contains(QStringLiteral("G%1AB").arg(i, 3, 10, QLatin1Char('0')))) << i;
    // One line per row: a row's cells stand on the line of its callsign.
    EXPECT_TRUE(text.contains(QRegularExpression(
        QStringLiteral("G042AB +Fixed +No +\\d+ +G3KDC-1\\*,WIDE2-1 Port=1 +51\\.52\\.00N +001\\.12\\.00W +2 +"
                       "Station number 42 +\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d"))))
        << pages[0].left(1200).toStdString();
    EXPECT_FALSE(text.contains(QChar(0x2026))) << "nothing is cut short";
    QString words = text;
    words.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
    for (const QString &word : longStatus.split(u' '))
        EXPECT_TRUE(words.contains(word)) << word.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("G001AB .*Portable on"))));
}
