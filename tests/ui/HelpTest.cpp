// The guide's reader and its window, on a small guide written here.
#include "ui/HelpGuide.h"
#include "ui/frmHelp.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

void write(const QString &path, const QByteArray &text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray page(const char *title, const char *windows, const char *body)
{
    return QByteArray("<html><head><title>") + title + "</title><meta name=\"windows\" content=\"" + windows
           + "\"></head><body><h1>" + title + "</h1>" + body + "</body></html>";
}

class HelpTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString guide = share.path() + QStringLiteral("/guide");
        QDir().mkpath(guide);
        // Listed in this order, whatever the names; notes.html is listed nowhere.
        write(guide + "/index.html", page("Contents", "frmHelp",
                                          "<a href=\"weather.html\">W</a> <a href=\"dx.html#tabs\">D</a>"
                                          " <a href=\"missing.html\">M</a>"));
        write(guide + "/weather.html", page("Weather window", "frmWx frmWxToolbar",
                                            "<p>Charts of temperature and <b>rain</b>. Rain, rain, rain.</p>"));
        write(guide + "/dx.html", page("DX cluster", "frmDx",
                                       "<p id=\"tabs\">One tab per band; rain scatter on 10 GHz.</p>"));
        write(guide + "/notes.html", page("Notes", "", "<p>Nothing of the weather here.</p>"));
        qputenv("KESTREL_SHARE_DIR", share.path().toLocal8Bit());
        ASSERT_TRUE(guide_.load(HelpGuide::shippedFolder()));
    }
    void TearDown() override
    {
        for (QWidget *window : QApplication::topLevelWidgets())
            if (qobject_cast<frmHelp *>(window))
                delete window;
        qunsetenv("KESTREL_SHARE_DIR");
    }

    QTemporaryDir share;
    HelpGuide guide_;
};

QStringList files(const QList<HelpGuide::Hit> &hits)
{
    QStringList out;
    for (const HelpGuide::Hit &hit : hits)
        out << hit.file;
    return out;
}

} // namespace

TEST_F(HelpTest, ThePagesComeInTheContentsOrderWithTheirTitlesAndWindows)
{
    QStringList order;
    for (const HelpGuide::Page &p : guide_.pages())
        order << p.file + u'=' + p.title;
    EXPECT_EQ(order, (QStringList{"index.html=Contents", "weather.html=Weather window", "dx.html=DX cluster",
                                  "notes.html=Notes"}))
        << "a listed page that is missing is left out; an unlisted one comes last";
    EXPECT_EQ(guide_.pageForWindow("frmWxToolbar"), "weather.html");
    EXPECT_EQ(guide_.pageForWindow("frmDx"), "dx.html");
    EXPECT_EQ(guide_.pageForWindow("frmNothing"), "");
    EXPECT_FALSE(guide_.page("weather.html")->text.contains("<b>")) << "searching sees the words, not the markup";

    HelpGuide none;
    EXPECT_FALSE(none.load(share.path() + "/nowhere"));
    EXPECT_TRUE(none.isEmpty());
}

TEST_F(HelpTest, SearchFindsPagesWithEveryWordTheTitleCountingMost)
{
    const struct
    {
        const char *query;
        QStringList found;
    } cases[] = {
        {"rain", {"weather.html", "dx.html"}},  // four in the weather page's text, one in the DX page's
        {"RAIN band", {"dx.html"}},             // letter case ignored; both words needed
        {"weather", {"weather.html", "notes.html"}},  // in a title counts more than in the text
        {"  rain,  ", {"weather.html", "dx.html"}},
        {"snow", {}},
        {"", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(files(guide_.search(c.query)), c.found) << c.query;
    const QList<HelpGuide::Hit> hits = guide_.search("scatter");
    ASSERT_EQ(hits.size(), 1);
    EXPECT_TRUE(hits[0].excerpt.contains("rain scatter on 10 GHz")) << hits[0].excerpt.toStdString();
}

TEST_F(HelpTest, TheWindowListsThePagesAndSearchFiltersThemFromTheKeyboard)
{
    // Opened first at a page (as F1 does): the list marks that page and,
    // taking the focus, does not swap it for the first one.
    frmHelp *help = frmHelp::open("weather.html");
    ASSERT_NE(help, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(help->currentPage(), "weather.html");
    ASSERT_NE(help->lstTopics->currentItem(), nullptr);
    EXPECT_EQ(help->lstTopics->currentItem()->text(), "Weather window");
    EXPECT_EQ(frmHelp::open(), help);
    EXPECT_EQ(help->currentPage(), "index.html");
    EXPECT_EQ(help->lstTopics->count(), 4);
    EXPECT_EQ(help->windowTitle(), frmHelp::Caption);

    frmHelp *same = frmHelp::openSearch();
    EXPECT_EQ(same, help) << "one window for the program";
    QTest::keyClicks(help->txtSearch, "rain");
    ASSERT_EQ(help->lstTopics->count(), 2);
    EXPECT_TRUE(help->lstTopics->item(0)->text().startsWith("Weather window"));
    QTest::keyClick(help->txtSearch, Qt::Key_Return);
    EXPECT_EQ(help->currentPage(), "weather.html") << "Enter opens the best match";
    EXPECT_EQ(help->txtPage->extraSelections().size(), 4) << "every \"rain\" on the page is marked";

    QTest::keyClick(help->txtSearch, Qt::Key_Down);
    QTest::keyClick(help->lstTopics, Qt::Key_Down);
    EXPECT_EQ(help->currentPage(), "dx.html") << "the arrows walk the results";

    help->txtSearch->clear();
    EXPECT_EQ(help->lstTopics->count(), 4) << "an empty search lists every page again";
    EXPECT_EQ(help->lstTopics->currentItem()->text(), "DX cluster") << "with the page shown current";
    help->txtSearch->setText("snow");
    ASSERT_EQ(help->lstTopics->count(), 1);
    EXPECT_FALSE(help->lstTopics->item(0)->flags() & Qt::ItemIsEnabled);

    help->showPage("index.html");
    emit help->txtPage->anchorClicked(QUrl("dx.html#tabs"));
    EXPECT_EQ(help->currentPage(), "dx.html");
    help->txtPage->backward();
    EXPECT_EQ(help->currentPage(), "index.html");
}

TEST_F(HelpTest, F1OpensThePageOfTheWindowItIsPressedIn)
{
    QWidget wx;
    wx.setObjectName("frmWx");
    auto *chart = new QWidget(&wx);  // the focus is deep inside the window
    chart->setObjectName("TChartTemp");
    EXPECT_EQ(frmHelp::pageFor(chart, guide_), "weather.html");
    QWidget stranger;
    EXPECT_EQ(frmHelp::pageFor(&stranger, guide_), "index.html") << "a window without a page: the contents";

    QObject owner;
    frmHelp::installHelpKey(&owner);
    // A modal dialog holds the input: the guide opens in a window of its own over it.
    QDialog dialog;
    dialog.setObjectName("frmDx");
    QString opened;
    bool usable = false;
    QTimer::singleShot(0, [&] {
        QTest::keyClick(&dialog, Qt::Key_F1);
        for (QWidget *window : QApplication::topLevelWidgets())
            if (auto *help = qobject_cast<frmHelp *>(window); help && help->isVisible()) {
                opened = help->currentPage();
                usable = !QApplication::activeModalWidget() || help->parentWidget() == &dialog;
            }
        dialog.reject();
    });
    dialog.exec();
    EXPECT_EQ(opened, "dx.html");
    EXPECT_TRUE(usable);
}
